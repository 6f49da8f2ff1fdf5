#include "platform/Diretorio.h"

#include <dirent.h>
#include <errno.h>
#include <string.h>

#include "platform/Erros.h"
#include "platform/Texto.h"
#include "platform/posix/ErroPosix.h"

namespace plataforma {

DWORD ListaDiretorio(const char* diretorio, std::vector<EntradaDiretorio>& entradas)
{
    entradas.clear();
    const std::string nativo = posix::CaminhoNativo(diretorio);
    DIR* d = opendir(nativo.empty() ? "." : nativo.c_str());
    if (!d)
        return errno == ENOENT ? erro::CaminhoNaoEncontrado : posix::ErroDeErrno(errno);
    while (dirent* e = readdir(d)) {
        if (!strcmp(e->d_name, ".") || !strcmp(e->d_name, ".."))
            continue;
        entradas.push_back({Utf8ParaAnsi(e->d_name), e->d_type == DT_DIR});
    }
    closedir(d);
    return 0;
}

} // namespace plataforma
