// Call statistics of an object: company -> day -> application -> class -> method -> user.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "df/tqlibex/TQDma.h"

class ITQDF_Profiler;

struct ContadoresChamada {
    uint64_t chamadas = 0;
    uint64_t totalMs = 0;
    uint64_t maiorMs = 0;
    uint64_t menorMs = UINT64_MAX; // all ones until the first call

    void Soma(const ContadoresChamada& outro);
    bool operator==(const ContadoresChamada&) const = default;
};

using PorUsuario = std::map<uint16_t, ContadoresChamada>;
using PorMetodo = std::map<std::string, PorUsuario>;
using PorClasse = std::map<std::string, PorMetodo>;
using PorAplicativo = std::map<std::string, PorClasse>;
using PorDia = std::map<REG_TQDMA, PorAplicativo>;
using ArvoreEstatisticas = std::map<std::string, PorDia>; // by company

// Adds one call of nomeQualificado ("Classe<...>::Metodo" forms) timed by the 100-ns clock.
void TQAdicionaEstatistica(ArvoreEstatisticas& arvore, ITQDF_Profiler* identidade, const char* nomeQualificado,
                           uint64_t inicio100ns, uint64_t fim100ns);
// Calls and totals added, longest the maximum, shortest the minimum.
void TQFundeEstatisticas(ArvoreEstatisticas& destino, const ArvoreEstatisticas& origem);
