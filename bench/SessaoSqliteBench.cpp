// The client session of SessaoBench.cpp against SQLite, phase by phase under the same counters:
// a new database file opened; the table and the indexes a user would create; the 5,000 accounts
// inserted one by one, each in its own transaction; the same 1,000 lookups; the mask change as
// one UPDATE of every classification in one transaction; the last account read and the database
// closed. Each session starts from an empty directory.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ContasSessaoBench.h"
#include "EmpresaBench.h"
#include "FasesBench.h"
#include "SqliteBench.h"
#include "df/planoalt/ConversaoMascara.h"

namespace {

using bench::Comando;
using bench::Consulta;
using bench::kNaoAchou;

constexpr const char* kEmpresa = "EMPSESSAOSQL";

HRESULT Resultado(bool ok) { return ok ? S_OK : kNaoAchou; }

std::string Texto(sqlite3_stmt* st, int coluna)
{
    const auto* texto = reinterpret_cast<const char*>(sqlite3_column_text(st, coluna));
    return texto ? std::string(texto, size_t(sqlite3_column_bytes(st, coluna))) : std::string();
}

// The position of the row whose column holds the text; 0 when there is none.
LONG Posicao(Comando& comando, const std::string& texto)
{
    sqlite3_bind_text(comando.st, 1, texto.c_str(), int(texto.size()), SQLITE_STATIC);
    const LONG posicao = sqlite3_step(comando.st) == SQLITE_ROW ? LONG(sqlite3_column_int64(comando.st, 0)) : 0;
    sqlite3_reset(comando.st);
    return posicao;
}

// The classification of the account at the position, read with the whole row.
std::string Classificacao(Comando& comando, LONG posicao)
{
    sqlite3_bind_int64(comando.st, 1, posicao);
    std::string classificacao = sqlite3_step(comando.st) == SQLITE_ROW ? Texto(comando.st, 1) : std::string();
    sqlite3_reset(comando.st);
    return classificacao;
}

constexpr const char* kLePosicao = "SELECT * FROM conta WHERE posicao = ?1";

// Every classification under the new mask, converted as the chart converts them.
bool AlteraMascara(bench::BancoSqlite& banco)
{
    if (!banco.Executa("BEGIN"))
        return false;
    std::vector<std::pair<int64_t, std::string>> contas;
    {
        Comando todas(banco.db, "SELECT posicao, classificacao FROM conta");
        while (sqlite3_step(todas.st) == SQLITE_ROW)
            contas.emplace_back(sqlite3_column_int64(todas.st, 0), Texto(todas.st, 1));
    }
    Comando altera(banco.db, "UPDATE conta SET classificacao = ?2 WHERE posicao = ?1");
    std::string nova;
    bool ok = !contas.empty();
    for (size_t i = 0; i < contas.size() && ok; ++i) {
        ok = ConverteClassificacao(contas[i].second, bench::kMascaraNova, nova);
        sqlite3_bind_int64(altera.st, 1, contas[i].first);
        sqlite3_bind_text(altera.st, 2, nova.c_str(), int(nova.size()), SQLITE_STATIC);
        ok = ok && sqlite3_step(altera.st) == SQLITE_DONE;
        sqlite3_reset(altera.st);
    }
    return banco.Executa(ok ? "COMMIT" : "ROLLBACK") && ok;
}

void SessaoSqlite(benchmark::State& estado)
{
    const std::vector<REG_PLANO_ALT_PS> contas = bench::ContasSessao(bench::kContasDaSessao);
    const bench::ConsultasSessao consultas(contas);
    const std::string dir = bench::DiretorioEmpresa(kEmpresa);
    bench::Fases fases(estado);
    std::optional<bench::BancoSqlite> banco;

    for (auto _ : estado) {
        estado.PauseTiming();
        banco.reset(); // the last session's file goes outside the timing
        bench::EsvaziaDiretorio(dir);
        estado.ResumeTiming();

        const bool ok =
            fases.Mede("inicio_ms",
                       [&] {
                           banco.emplace(dir + "contas.db");
                           return Resultado(banco->aberto);
                       }) &&
            fases.Mede("plano_ms", [&] { return Resultado(bench::CriaTabelaContas(*banco)); }) &&
            fases.Mede("contas_ms", [&] { return Resultado(bench::InsereContas(*banco, contas)); }) &&
            fases.Mede("existe_ms",
                       [&] {
                           Comando porCodigo(banco->db, "SELECT posicao FROM conta WHERE codigo = ?1");
                           for (const Consulta& c : consultas.porCodigo)
                               if (Posicao(porCodigo, c.texto) != c.esperada)
                                   return kNaoAchou;
                           return S_OK;
                       }) &&
            fases.Mede("titulo_ms",
                       [&] {
                           Comando porClassificacao(banco->db, "SELECT posicao FROM conta WHERE classificacao = ?1");
                           for (const Consulta& c : consultas.titulos) {
                               const size_t ponto = c.texto.rfind('.');
                               const std::string titulo = ponto == std::string::npos ? "" : c.texto.substr(0, ponto);
                               if (Posicao(porClassificacao, titulo) != c.esperada)
                                   return kNaoAchou;
                           }
                           return S_OK;
                       }) &&
            fases.Mede("le_ms",
                       [&] {
                           Comando porPosicao(banco->db, kLePosicao);
                           for (const Consulta& c : consultas.leituras)
                               if (Classificacao(porPosicao, c.posicao) != c.texto)
                                   return kNaoAchou;
                           return S_OK;
                       }) &&
            fases.Mede("mascara_ms", [&] { return Resultado(AlteraMascara(*banco)); }) &&
            fases.Mede("fim_ms", [&] {
                // The last account under the new mask, then the client lets go.
                bool achou;
                {
                    Comando porPosicao(banco->db, kLePosicao);
                    achou = Classificacao(porPosicao, LONG(bench::kContasDaSessao)) == bench::kUltimaContaNova;
                }
                banco->Fecha();
                return Resultado(achou);
            });
        if (!ok)
            break;
    }
    fases.Publica();
    banco.reset();
    bench::EsvaziaDiretorio(dir);
}
BENCHMARK(SessaoSqlite)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
