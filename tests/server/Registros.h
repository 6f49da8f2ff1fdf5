// The contract as its clients know it: every field of each record with its offset and size, and
// the slots with their parameters.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "server/Contrato.h"

namespace contrato {

struct Campo {
    std::string nome;
    size_t posicao;
    size_t tamanho;
    bool operator==(const Campo&) const = default;
};

struct Registro {
    std::string nome;
    size_t tamanho;
    std::vector<Campo> campos;
};

const std::vector<Registro>& Registros();

enum class Direcao { Entra, Sai };

struct Parametro {
    std::string nome;
    Direcao direcao;
};

struct Metodo {
    std::string nome;
    std::vector<Parametro> parametros;
};

// The 26 slots in table order: IUnknown, ITQUnknown, ITQDF_PlanoAlt.
const std::vector<Metodo>& Slots();

} // namespace contrato
