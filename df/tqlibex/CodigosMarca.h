// The status that tells a taker which kind of work holds a mark it waited for.
#pragma once

#include <cstdint>

enum class EsquemaMarca {
    Objeto,      // mark object (CTQArqMarca)
    ArqAtual,    // older record file, current scheme
    ArqAnterior, // older record file, older scheme
};

uint32_t CodigoMarcaOcupada(EsquemaMarca esquema, unsigned tipo);
