#include "platform/Processo.h"

#include <psapi.h>

#include "platform/Arquivo.h"
#include "platform/win32/Largo.h"

namespace plataforma {

using win32::Estreito;
using win32::Largo;

namespace {

std::string NomeDoModulo(HMODULE modulo)
{
    std::wstring nome(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(modulo, nome.data(), static_cast<DWORD>(nome.size()));
        if (n == 0)
            return {};
        // A full buffer means the name was cut.
        if (n < nome.size()) {
            nome.resize(n);
            return Estreito(nome);
        }
        nome.resize(nome.size() * 2);
    }
}

} // namespace

std::string CaminhoExecutavel()
{
    return NomeDoModulo(nullptr);
}

std::string CaminhoEsteModulo()
{
    HMODULE modulo = nullptr;
    const auto endereco = reinterpret_cast<LPCWSTR>(&CaminhoEsteModulo);
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            endereco, &modulo))
        return {};
    return NomeDoModulo(modulo);
}

uint64_t BytesPrivados()
{
    PROCESS_MEMORY_COUNTERS_EX contadores{};
    contadores.cb = sizeof contadores;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&contadores),
                              sizeof contadores))
        return 0;
    // Windows reports the commit charge in both fields; Wine fills only the older one.
    return contadores.PrivateUsage ? contadores.PrivateUsage : contadores.PagefileUsage;
}

void MemoriaFisica(uint64_t& disponivel, uint64_t& total)
{
    MEMORYSTATUSEX estado{};
    estado.dwLength = sizeof estado;
    if (!GlobalMemoryStatusEx(&estado)) {
        disponivel = total = 0;
        return;
    }
    disponivel = estado.ullAvailPhys;
    total = estado.ullTotalPhys;
}

bool SessaoRemota()
{
    return GetSystemMetrics(SM_REMOTESESSION) != 0;
}

std::string NomeUsuarioSO()
{
    wchar_t nome[257]; // the longest user name and its terminator
    DWORD n = 257;
    if (!GetUserNameW(nome, &n) || n == 0)
        return {};
    return Estreito(std::wstring_view(nome, n - 1));
}

DWORD IdThread()
{
    return GetCurrentThreadId();
}

DWORD IdProcesso()
{
    return GetCurrentProcessId();
}

bool ProcessoVivo(DWORD pid)
{
    HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (h == nullptr)
        return false;
    const bool vivo = WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
    CloseHandle(h);
    return vivo;
}

bool TerminaProcesso(DWORD pid)
{
    HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, pid);
    if (h == nullptr)
        return false;
    const bool ok = TerminateProcess(h, 1) != 0;
    CloseHandle(h);
    return ok;
}

std::string VariavelAmbiente(const char* nome)
{
    const std::wstring n = Largo(nome);
    std::wstring valor;
    DWORD tamanho = GetEnvironmentVariableW(n.c_str(), nullptr, 0);
    while (tamanho > 0) {
        valor.assign(tamanho, L'\0');
        const DWORD usados = GetEnvironmentVariableW(n.c_str(), valor.data(), tamanho);
        // Without room the call answers the size it needs, terminator included.
        if (usados < tamanho) {
            valor.resize(usados);
            return Estreito(valor);
        }
        tamanho = usados;
    }
    return {};
}

bool DefineVariavelAmbiente(const char* nome, const char* valor)
{
    const std::wstring v = Largo(valor);
    return SetEnvironmentVariableW(Largo(nome).c_str(), valor ? v.c_str() : nullptr) != FALSE;
}

bool DefineDiretorioAtual(const char* diretorio)
{
    return diretorio && SetCurrentDirectoryW(Largo(diretorio).c_str()) != FALSE;
}

std::string DiretorioTemporario()
{
    wchar_t caminho[MAX_PATH + 2];
    const DWORD n = GetTempPathW(MAX_PATH + 2, caminho);
    if (n == 0 || n > MAX_PATH + 1)
        return std::string(".") + kSeparador;
    std::string dir = Estreito(std::wstring_view(caminho, n));
    if (dir.back() != kSeparador)
        dir += kSeparador;
    return dir;
}

bool ErroEhTerminal() { return GetFileType(GetStdHandle(STD_ERROR_HANDLE)) == FILE_TYPE_CHAR; }

} // namespace plataforma
