// Lookups of the benchmark chart against SQLite on the same rows in the same run: an account
// found by its own code (a linear scan on both sides), and the whole index listed in order.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstring>
#include <string>
#include <vector>

#include "ConsultaBench.h"
#include "PlanoBench.h"
#include "SqliteBench.h"
#include "platform/Texto.h"

namespace {

using bench::BancoSqlite;
using bench::Exige;

// The database with the chart's rows, loaded in one transaction.
bool Carrega(BancoSqlite& banco)
{
    return banco.Executa("BEGIN") && banco.CriaTabela() && banco.Insere() && banco.Executa("COMMIT");
}

} // namespace

// The last record of the chart file: its own code is found only after every record is read.
void bench::ExisteCodigoUltimaConta(benchmark::State& estado)
{
    const auto& contas = bench::Plano().contas;
    CClassificacao plano;
    Exige(bench::InicializaPlano(plano) == 0, estado, "Inicializa");
    const auto codigo = plataforma::AnsiParaOle(contas.back().codigo);
    for (auto _ : estado) {
        uint32_t posicao = 0;
        if (plano.ExisteCodigo(codigo.c_str(), &posicao, 0) != 0 || posicao != contas.size())
            estado.SkipWithError("ExisteCodigo");
    }
    estado.SetItemsProcessed(int64_t(estado.iterations()) * int64_t(contas.size()));
}

namespace {

using bench::ExisteCodigoUltimaConta;
BENCHMARK(ExisteCodigoUltimaConta)->Unit(benchmark::kMillisecond)->UseRealTime();

void SqliteCodigoSemIndice(benchmark::State& estado)
{
    const auto& contas = bench::Plano().contas;
    BancoSqlite banco;
    Exige(Carrega(banco), estado, "carga");
    sqlite3_stmt* st = nullptr;
    Exige(sqlite3_prepare_v2(banco.db, "SELECT posicao FROM conta WHERE codigo = ?1", -1, &st, nullptr) == SQLITE_OK,
          estado, "prepare");
    const std::string& codigo = contas.back().codigo;
    for (auto _ : estado) {
        sqlite3_bind_text(st, 1, codigo.c_str(), int(codigo.size()), SQLITE_STATIC);
        if (sqlite3_step(st) != SQLITE_ROW || size_t(sqlite3_column_int64(st, 0)) != contas.size())
            estado.SkipWithError("SELECT");
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    estado.SetItemsProcessed(int64_t(estado.iterations()) * int64_t(contas.size()));
}
BENCHMARK(SqliteCodigoSemIndice)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every entry of the index, in its order, copied out as the service asks for them.
void ListagemCompleta(benchmark::State& estado)
{
    const auto& contas = bench::Plano().contas;
    CClassificacao plano;
    Exige(bench::InicializaPlano(plano) == 0, estado, "Inicializa");
    std::vector<REGCON_INDEX> saida(contas.size());
    const auto tipo = plataforma::AnsiParaOle("X");
    for (auto _ : estado) {
        uint32_t quantidade = 0;
        if (plano.GetTamanhoIndex(tipo.c_str(), 0, &quantidade) != 0 || quantidade != contas.size() ||
            plano.GetIndex(quantidade, saida.data(), false) != 0)
            estado.SkipWithError("GetTamanhoIndex/GetIndex");
        benchmark::DoNotOptimize(saida.data());
    }
    estado.SetItemsProcessed(int64_t(estado.iterations()) * int64_t(contas.size()));
}
BENCHMARK(ListagemCompleta)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same rows through an index that covers them, copied into records of the same content.
void SqliteListagemOrdenada(benchmark::State& estado)
{
    const auto& contas = bench::Plano().contas;
    BancoSqlite banco;
    Exige(Carrega(banco) && banco.Executa("CREATE INDEX conta_ordem ON conta(classificacao, tipo)"), estado, "carga");
    sqlite3_stmt* st = nullptr;
    Exige(sqlite3_prepare_v2(banco.db, "SELECT posicao, tipo, classificacao FROM conta ORDER BY classificacao", -1,
                             &st, nullptr) == SQLITE_OK,
          estado, "prepare");
    struct Linha {
        uint32_t posicao;
        char tipo;
        char classificacao[kTamanhoClassificacao + 1];
    };
    std::vector<Linha> saida(contas.size());
    for (auto _ : estado) {
        size_t n = 0;
        while (sqlite3_step(st) == SQLITE_ROW && n < saida.size()) {
            Linha& l = saida[n++];
            l.posicao = uint32_t(sqlite3_column_int64(st, 0));
            l.tipo = char(sqlite3_column_text(st, 1)[0]);
            const int bytes = std::min(sqlite3_column_bytes(st, 2), int(kTamanhoClassificacao));
            std::memcpy(l.classificacao, sqlite3_column_text(st, 2), size_t(bytes));
            l.classificacao[bytes] = '\0';
        }
        sqlite3_reset(st);
        if (n != contas.size())
            estado.SkipWithError("SELECT");
        benchmark::DoNotOptimize(saida.data());
    }
    sqlite3_finalize(st);
    estado.SetItemsProcessed(int64_t(estado.iterations()) * int64_t(contas.size()));
}
BENCHMARK(SqliteListagemOrdenada)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
