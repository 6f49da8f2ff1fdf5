// Index generation and bulk load of the benchmark chart, against SQLite doing the same work
// on the same rows in the same run.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "PlanoBench.h"
#include "df/tqlibex/TQArqEx.h"
#include "platform/Arquivo.h"

namespace {

void Exige(bool condicao, benchmark::State& estado, const char* oque)
{
    if (!condicao)
        estado.SkipWithError(oque);
}

// A database file beside the chart, with the chart's rows (no index yet). Neither side
// flushes to the disk: synchronous off.
struct BancoSqlite {
    sqlite3* db = nullptr;
    std::string caminho = bench::Plano().dir + "conta.db";
    BancoSqlite()
    {
        plataforma::ApagaArquivo(caminho.c_str());
        sqlite3_open(caminho.c_str(), &db);
        Executa("PRAGMA synchronous=OFF");
    }
    ~BancoSqlite()
    {
        sqlite3_close(db);
        plataforma::ApagaArquivo(caminho.c_str());
        plataforma::ApagaArquivo((caminho + "-journal").c_str());
    }
    bool Executa(const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }
    bool CriaTabela()
    {
        return Executa("CREATE TABLE conta(posicao INTEGER PRIMARY KEY, classificacao TEXT, tipo TEXT, "
                       "codigo TEXT, nome TEXT, status INTEGER)");
    }
    bool Insere()
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, "INSERT INTO conta VALUES(?,?,?,?,?,?)", -1, &st, nullptr) != SQLITE_OK)
            return false;
        bool ok = true;
        const auto& contas = bench::Plano().contas;
        for (size_t i = 0; i < contas.size() && ok; ++i) {
            const auto& c = contas[i];
            const char tipo[2] = {TipoDoStatus(c.status), 0};
            sqlite3_bind_int64(st, 1, int64_t(i + 1));
            sqlite3_bind_text(st, 2, c.classificacao.c_str(), int(c.classificacao.size()), SQLITE_STATIC);
            sqlite3_bind_text(st, 3, tipo, 1, SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 4, c.codigo.c_str(), int(c.codigo.size()), SQLITE_STATIC);
            sqlite3_bind_text(st, 5, c.nome.c_str(), int(c.nome.size()), SQLITE_STATIC);
            sqlite3_bind_int(st, 6, c.status);
            ok = sqlite3_step(st) == SQLITE_DONE;
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        return ok;
    }
};

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
