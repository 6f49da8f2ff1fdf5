#include <cstdio>

#include "platform/Processo.h"

#ifdef _WIN32
#define popen _popen
#define pclose _pclose
#endif

namespace plataforma {

std::string SaidaDoComando(const std::string& comando)
{
    FILE* saida = popen(comando.c_str(), "r");
    if (!saida)
        return {};
    std::string texto;
    char bloco[512];
    for (size_t n; (n = std::fread(bloco, 1, sizeof bloco, saida)) > 0;)
        texto.append(bloco, n);
    pclose(saida);
    return texto;
}

} // namespace plataforma
