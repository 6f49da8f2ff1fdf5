// What the frame adds to a call: the same cheap operation on the business object itself and
// through the interface of an initialized object, the one processor yield the frame makes, and
// the gate of an object that was never initialized. The profiler is off (no "log.ini").
#include <benchmark/benchmark.h>

#include <memory>

#include "ContasSessaoBench.h"
#include "EmpresaBench.h"
#include "ObjetoBench.h"
#include "df/tqlibex/TQProfilerConfig.h"
#include "platform/Tempo.h"

namespace {

constexpr const char* kEmpresa = "EMPFRAME";
constexpr uint32_t kContas = 200;
constexpr LONG kPosicaoLida = 100;
constexpr HRESULT kNaoInicializado = TQHResult(0x81080A04);

// One plan of kContas accounts written through the interface in an emptied company directory;
// the business object of a second session selects the same plan. Made for each run of a
// benchmark and dropped at its end, while the process's statics still live.
struct Objetos {
    HRESULT hr = S_OK;
    bench::ObjetoPlano objeto;
    CBasePlanoAlternativo negocio;

    Objetos()
    {
        bench::EsvaziaDiretorio(bench::DiretorioEmpresa(kEmpresa));
        objeto = bench::ObjetoInicializado(kEmpresa);
        LONG plano = 0;
        hr = objeto ? bench::CriaPlanoSelecionado(objeto.get(), &plano) : kNaoInicializado;
        if (hr == S_OK)
            hr = bench::GravaContas(objeto.get(), bench::ContasSessao(kContas));
        if (hr == S_OK)
            hr = negocio.Inicializa(bench::RegistroSessao(kEmpresa));
        if (hr == S_OK)
            hr = negocio.SetPlano(plano);
    }
};

// The objects, or null after a skip: set-up failed or the profiler would write lines.
std::unique_ptr<Objetos> Preparados(benchmark::State& estado)
{
    auto objetos = std::make_unique<Objetos>();
    TQProfilerConfig::Invalida(); // another benchmark may have read another module's "log.ini"
    const ValoresProfiler config = TQProfilerConfig::Atual();
    if (objetos->hr != S_OK) {
        estado.SkipWithError("set-up of the plan");
        return nullptr;
    }
    if (config.LinhasAtivas() || config.performance || config.memory) {
        estado.SkipWithError("the profiler is on");
        return nullptr;
    }
    return objetos;
}

template <class O>
void Quantidade(benchmark::State& estado, O& objeto)
{
    for (auto _ : estado) {
        ULONG quantidade = 0;
        if (objeto.GetQuantidadeRegistros(&quantidade) != S_OK || quantidade != kContas + 1)
            estado.SkipWithError("GetQuantidadeRegistros");
    }
}

template <class O>
void Leitura(benchmark::State& estado, O& objeto)
{
    for (auto _ : estado) {
        REG_PLANO_ALT_PS conta;
        if (objeto.Le(kPosicaoLida, &conta) != S_OK || conta.cTipo == 0)
            estado.SkipWithError("Le");
    }
}

void QuantidadeDireta(benchmark::State& estado)
{
    if (const auto o = Preparados(estado))
        Quantidade(estado, o->negocio);
}
BENCHMARK(QuantidadeDireta);

void QuantidadePelaInterface(benchmark::State& estado)
{
    if (const auto o = Preparados(estado))
        Quantidade(estado, *o->objeto);
}
BENCHMARK(QuantidadePelaInterface);

void LeDireto(benchmark::State& estado)
{
    if (const auto o = Preparados(estado))
        Leitura(estado, o->negocio);
}
BENCHMARK(LeDireto);

void LePelaInterface(benchmark::State& estado)
{
    if (const auto o = Preparados(estado))
        Leitura(estado, *o->objeto);
}
BENCHMARK(LePelaInterface);

// The yield every wrapper makes before its work.
void CedeSozinho(benchmark::State& estado)
{
    for (auto _ : estado)
        plataforma::Cede();
}
BENCHMARK(CedeSozinho);

void PortaoNaoInicializado(benchmark::State& estado)
{
    const bench::ObjetoPlano objeto = bench::CriaObjeto();
    if (!objeto) {
        estado.SkipWithError("CreateInstance");
        return;
    }
    for (auto _ : estado) {
        ULONG quantidade = 0;
        if (objeto->GetQuantidadeRegistros(&quantidade) != kNaoInicializado)
            estado.SkipWithError("the gate let the call in");
    }
}
BENCHMARK(PortaoNaoInicializado);

} // namespace
