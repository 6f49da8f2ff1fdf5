// The own-code lookup of ConsultaBench.cpp while the machine is busy: two processes that never
// sleep hold both cores, so every time the lookup gives up the processor it waits behind them.
// A filter on ExisteCodigo runs the quiet and the busy one in the same run.
#include <benchmark/benchmark.h>

#include "ConsultaBench.h"
#include "platform/Processo.h"
#include "platform/Sincronizacao.h"

namespace {

// The spinning children, ended and reaped however the benchmark leaves.
class Ocupantes {
public:
    bool Inicia()
    {
        for (plataforma::ProcessoFilho& filho : m_filhos)
            if (filho.Inicia("/bin/sh", {"-c", "while :; do :; done"}) != 0)
                return false;
        return true;
    }
    ~Ocupantes()
    {
        for (plataforma::ProcessoFilho& filho : m_filhos) {
            filho.Termina();
            filho.Espera(plataforma::kInfinito);
        }
    }

private:
    plataforma::ProcessoFilho m_filhos[2]; // the development machine's two cores
};

void ExisteCodigoMaquinaOcupada(benchmark::State& estado)
{
    Ocupantes ocupantes;
    if (!ocupantes.Inicia()) {
        estado.SkipWithError("ProcessoFilho::Inicia");
        return;
    }
    bench::ExisteCodigoUltimaConta(estado);
}
BENCHMARK(ExisteCodigoMaquinaOcupada)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
