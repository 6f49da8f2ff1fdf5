#include "platform/Versao.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "platform/Processo.h"
#include "platform/win32/Largo.h"

namespace plataforma {

namespace {

std::string VersaoDoArquivo(const wchar_t* nome)
{
    DWORD ignorado = 0;
    const DWORD tamanho = GetFileVersionInfoSizeW(nome, &ignorado);
    if (tamanho == 0)
        return {};
    std::vector<char> bloco(tamanho);
    if (!GetFileVersionInfoW(nome, 0, tamanho, bloco.data()))
        return {};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT tamanhoInfo = 0;
    if (!VerQueryValueW(bloco.data(), L"\\", reinterpret_cast<void**>(&info), &tamanhoInfo) || !info)
        return {};
    char texto[64];
    std::snprintf(texto, sizeof texto, "%u.%u.%u.%u", unsigned(HIWORD(info->dwFileVersionMS)),
                  unsigned(LOWORD(info->dwFileVersionMS)), unsigned(HIWORD(info->dwFileVersionLS)),
                  unsigned(LOWORD(info->dwFileVersionLS)));
    return texto;
}

} // namespace

std::string VersaoExecutavel() { return VersaoDoArquivo(win32::Largo(CaminhoExecutavel().c_str()).c_str()); }

std::string VersaoSistema() { return VersaoDoArquivo(L"kernel32.dll"); }

std::string TextoErroSistema(DWORD erroSistema)
{
    wchar_t texto[256];
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                   nullptr, erroSistema, 0, texto, 255, nullptr);
    std::string ansi = win32::Estreito(std::wstring_view(texto, n));
    while (!ansi.empty() && (ansi.back() == ' ' || ansi.back() == '\r' || ansi.back() == '\n'))
        ansi.pop_back();
    return ansi;
}

} // namespace plataforma
