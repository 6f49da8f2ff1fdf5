// Listing a directory.
#pragma once

#include <string>
#include <vector>

#include "platform/Tipos.h"

namespace plataforma {

struct EntradaDiretorio {
    std::string nome; // ANSI, without the directory
    bool diretorio;
};

// 0 or a system error; "." and ".." are left out.
DWORD ListaDiretorio(const char* diretorio, std::vector<EntradaDiretorio>& entradas);

} // namespace plataforma
