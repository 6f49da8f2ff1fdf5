// The status that tells a taker which kind of work holds a mark it waited for.
#pragma once

#include <cstdint>

#include "platform/Tipos.h"

// The codes of the marks that are not the busy code of a type.
namespace statusmarca {
constexpr uint32_t Deixada = 16209; // a mark left behind in the older scheme
constexpr uint32_t Ocupada = 17396; // this object holds a mark already
} // namespace statusmarca

// As a caller reports a mark's answer: a code gets the error bit and FACILITY_ITF around it, a
// system failure (0x80070000 | error) is one already.
constexpr HRESULT HResultDaMarca(uint32_t codigo)
{
    return (codigo & 0x80000000u) ? TQHResult(codigo) : TQHResult(0x80040000u | codigo);
}

enum class EsquemaMarca {
    Objeto,      // mark object (CTQArqMarca)
    ArqAtual,    // older record file, current scheme
    ArqAnterior, // older record file, older scheme
};

uint32_t CodigoMarcaOcupada(EsquemaMarca esquema, unsigned tipo);
