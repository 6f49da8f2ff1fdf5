// The suite's day value: days since 30 December 1847 (1 January 1848 is 2); 0 is no date.
#pragma once

#include <cstdint>

typedef uint32_t REG_TQDMA;

REG_TQDMA TQDma(int dia, int mes, int ano);
REG_TQDMA TQDmaHoje();
