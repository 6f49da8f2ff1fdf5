// SQLite beside the benchmark chart: a database file with the chart's rows, for the
// comparisons of the store's benchmarks.
#pragma once

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <string>
#include <utility>

#include "PlanoBench.h"
#include "platform/Arquivo.h"

namespace bench {

inline void Exige(bool condicao, benchmark::State& estado, const char* oque)
{
    if (!condicao)
        estado.SkipWithError(oque);
}

// A statement finalized with its owner, so that the database can close after it. A statement
// that did not prepare is null, and its first step fails.
struct Comando {
    sqlite3_stmt* st = nullptr;
    Comando(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &st, nullptr); }
    ~Comando() { sqlite3_finalize(st); }
    Comando(const Comando&) = delete;
    Comando& operator=(const Comando&) = delete;
};

// A database file (beside the chart unless another is named) that takes the chart's rows (no
// index yet): table conta with posicao (the record number), classificacao, tipo, codigo, nome,
// status. Neither side flushes to the disk: synchronous off.
struct BancoSqlite {
    sqlite3* db = nullptr;
    std::string caminho;
    bool aberto = false;
    BancoSqlite() : BancoSqlite(bench::Plano().dir + "conta.db") {}
    // A new database in that file: whatever was there goes first.
    explicit BancoSqlite(std::string arquivo) : caminho(std::move(arquivo))
    {
        plataforma::ApagaArquivo(caminho.c_str());
        aberto = sqlite3_open(caminho.c_str(), &db) == SQLITE_OK && Executa("PRAGMA synchronous=OFF");
    }
    // The database closed and its file kept, for a close that is timed.
    void Fecha()
    {
        sqlite3_close(db);
        db = nullptr;
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

} // namespace bench
