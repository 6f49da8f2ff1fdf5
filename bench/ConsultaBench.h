// The lookups of ConsultaBench.cpp that other benchmarks run again under other conditions.
#pragma once

#include <benchmark/benchmark.h>

namespace bench {

// ExisteCodigo of the own code of the benchmark chart's last record.
void ExisteCodigoUltimaConta(benchmark::State& estado);

} // namespace bench
