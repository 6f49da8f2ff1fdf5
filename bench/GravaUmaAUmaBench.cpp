// How one new account at a time costs as the plan grows, when every account carries an own code
// (so each Grava first checks that no other account has it): N accounts written through the
// interface into an empty plan, against the same N inserted into SQLite one autocommit INSERT
// each, with the indexes on the code and the classification.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "ContasSessaoBench.h"
#include "EmpresaBench.h"
#include "ObjetoBench.h"
#include "SqliteBench.h"

namespace {

constexpr const char* kEmpresa = "EMPUMAAUMA";

// One session a size: the largest takes long enough alone.
void Tamanhos(benchmark::internal::Benchmark* b)
{
    b->Arg(1000)->Arg(5000)->Arg(20000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
}

std::vector<REG_PLANO_ALT_PS> Contas(const benchmark::State& estado)
{
    return bench::ContasSessao(uint32_t(estado.range(0)), true);
}

void GravaUmaAUma(benchmark::State& estado)
{
    const std::vector<REG_PLANO_ALT_PS> contas = Contas(estado);
    const std::string dir = bench::DiretorioEmpresa(kEmpresa);
    for (auto _ : estado) {
        estado.PauseTiming();
        bench::EsvaziaDiretorio(dir);
        bench::ObjetoPlano objeto = bench::ObjetoInicializado(kEmpresa);
        LONG plano = 0;
        const bool pronto = objeto && bench::CriaPlanoSelecionado(objeto.get(), &plano) == S_OK;
        estado.ResumeTiming();
        if (!pronto || bench::GravaContas(objeto.get(), contas) != S_OK) {
            estado.SkipWithError(pronto ? "Grava" : "ObjetoInicializado/CriaPlanoSelecionado");
            break;
        }
    }
    bench::EsvaziaDiretorio(dir);
    estado.SetItemsProcessed(int64_t(estado.iterations()) * int64_t(contas.size()));
}
BENCHMARK(GravaUmaAUma)->Apply(Tamanhos);

void SqliteInsereUmaAUma(benchmark::State& estado)
{
    const std::vector<REG_PLANO_ALT_PS> contas = Contas(estado);
    const std::string caminho = bench::DiretorioEmpresa(kEmpresa) + "contas.db";
    for (auto _ : estado) {
        estado.PauseTiming();
        bench::BancoSqlite banco(caminho);
        const bool pronto = banco.aberto && bench::CriaTabelaContas(banco);
        estado.ResumeTiming();
        if (!pronto || !bench::InsereContas(banco, contas)) {
            estado.SkipWithError(pronto ? "INSERT" : "CREATE");
            break;
        }
    }
    estado.SetItemsProcessed(int64_t(estado.iterations()) * int64_t(contas.size()));
}
BENCHMARK(SqliteInsereUmaAUma)->Apply(Tamanhos);

} // namespace
