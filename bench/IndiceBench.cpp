// Index generation and bulk load of the benchmark chart, against SQLite doing the same work
// on the same rows in the same run.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "PlanoBench.h"
#include "SqliteBench.h"
#include "df/tqlibex/TQArqEx.h"
#include "platform/Arquivo.h"

namespace {

using bench::BancoSqlite;
using bench::Exige;

constexpr const char* kCriaIndice = "CREATE INDEX conta_classificacao ON conta(classificacao, tipo, nome)";

void GeraClassificacao(benchmark::State& estado)
{
    CClassificacao plano;
    Exige(bench::InicializaPlano(plano) == 0, estado, "Inicializa");
    for (auto _ : estado)
        if (plano.GeraClassificacao() != 0)
            estado.SkipWithError("GeraClassificacao");
    estado.SetItemsProcessed(int64_t(estado.iterations()) * bench::kContasBench);
}
BENCHMARK(GeraClassificacao)->Unit(benchmark::kMillisecond)->UseRealTime();

void SqliteCreateIndex(benchmark::State& estado)
{
    BancoSqlite banco;
    Exige(banco.CriaTabela() && banco.Insere(), estado, "carga");
    for (auto _ : estado) {
        if (!banco.Executa(kCriaIndice))
            estado.SkipWithError("CREATE INDEX");
        estado.PauseTiming();
        banco.Executa("DROP INDEX conta_classificacao");
        estado.ResumeTiming();
    }
    estado.SetItemsProcessed(int64_t(estado.iterations()) * bench::kContasBench);
}
BENCHMARK(SqliteCreateIndex)->Unit(benchmark::kMillisecond)->UseRealTime();

// Import mode: every account appended to an emptied chart, then the index generated once.
void CargaEmImportacao(benchmark::State& estado)
{
    const auto& contas = bench::Plano().contas;
    std::vector<uint8_t> registros(size_t(bench::kTamanhoRegistroBench) * contas.size());
    for (size_t i = 0; i < contas.size(); ++i)
        bench::MontaRegistro(contas[i], &registros[i * bench::kTamanhoRegistroBench]);
    CClassificacao plano;
    Exige(bench::InicializaPlano(plano) == 0, estado, "Inicializa");
    for (auto _ : estado) {
        estado.PauseTiming();
        {
            plataforma::ArquivoSO a; // only record 0 left
            a.Abre(bench::CaminhoPlano().c_str(), {true, true, true, true, plataforma::Disposicao::CriaSempre});
            const std::vector<char> zero(bench::kTamanhoRegistroBench, 0);
            a.Grava(zero.data(), DWORD(zero.size()));
        }
        plano.SetInvalidaCache();
        estado.ResumeTiming();
        if (plano.SetInicioImportacao(false) != 0)
            estado.SkipWithError("SetInicioImportacao");
        for (size_t i = 0; i < contas.size(); ++i) {
            uint32_t posicao = 0;
            if (plano.Inclui(&posicao, &registros[i * bench::kTamanhoRegistroBench]) != 0) {
                estado.SkipWithError("Inclui");
                break;
            }
        }
        if (plano.SetFimImportacao() != 0)
            estado.SkipWithError("SetFimImportacao");
    }
    bench::RestauraPlano();
    plano.SetInvalidaCache();
    estado.SetItemsProcessed(int64_t(estado.iterations()) * bench::kContasBench);
}
BENCHMARK(CargaEmImportacao)->Unit(benchmark::kMillisecond)->UseRealTime();

void SqliteCargaComIndice(benchmark::State& estado)
{
    bench::Plano();
    for (auto _ : estado) {
        estado.PauseTiming();
        auto banco = std::make_unique<BancoSqlite>();
        estado.ResumeTiming();
        if (!banco->Executa("BEGIN") || !banco->CriaTabela() || !banco->Insere() || !banco->Executa(kCriaIndice) ||
            !banco->Executa("COMMIT"))
            estado.SkipWithError("carga");
        estado.PauseTiming();
        banco.reset();
        estado.ResumeTiming();
    }
    estado.SetItemsProcessed(int64_t(estado.iterations()) * bench::kContasBench);
}
BENCHMARK(SqliteCargaComIndice)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
