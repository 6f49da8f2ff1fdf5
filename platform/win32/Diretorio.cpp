#include "platform/Diretorio.h"

#include "platform/Arquivo.h"
#include "platform/win32/Largo.h"

namespace plataforma {

DWORD ListaDiretorio(const char* diretorio, std::vector<EntradaDiretorio>& entradas)
{
    entradas.clear();
    std::string padrao = diretorio ? diretorio : "";
    if (!padrao.empty() && padrao.back() != kSeparador && padrao.back() != '/')
        padrao += kSeparador;
    padrao += '*';
    WIN32_FIND_DATAW dados;
    HANDLE busca = FindFirstFileW(win32::Largo(padrao.c_str()).c_str(), &dados);
    if (busca == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError();
        // An existing but empty directory is no error.
        return e == ERROR_FILE_NOT_FOUND ? 0 : e;
    }
    do {
        const std::wstring_view nome = dados.cFileName;
        if (nome == L"." || nome == L"..")
            continue;
        entradas.push_back({win32::Estreito(nome), (dados.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(busca, &dados));
    const DWORD e = GetLastError();
    FindClose(busca);
    return e == ERROR_NO_MORE_FILES ? 0 : e;
}

} // namespace plataforma
