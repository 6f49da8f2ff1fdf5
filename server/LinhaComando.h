// The registration switches of a local server's command line.
#pragma once

#include <string>

enum class EChaveLinha { Nenhuma, RegServer, UnregServer, RegServerPerUser, UnregServerPerUser };

// The switch that decides, in the arguments after the program's name: each token starting with
// '-' or '/' is compared, in any case and up to the next blank or tab, with the four words; the
// first match decides. Nenhuma (run the server) for anything else.
EChaveLinha TQAnalisaLinhaComando(const std::string& argumentos);
