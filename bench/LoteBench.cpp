// The bulk functions against SQLite, on the benchmark chart's 65,500 accounts as a CSV file:
// import through FuncaoGenerica against SQLite loading the same file into an indexed table in one
// transaction; export against SQLite writing the table out; the check against one generation of
// the index. Both sides read and write the CSV with the client's own code.
#include <benchmark/benchmark.h>

#include <cstring>

#include "EmpresaBench.h"
#include "ObjetoBench.h"
#include "SqliteBench.h"
#include "df/planoalt/FuncoesGenericas.h"
#include "platform/Bstr.h"
#include "platform/Texto.h"
#include "tools/zazazu/Csv.h"
#include "tools/zazazu/Lote.h"

namespace {

constexpr const char* kEmpresa = "EMPRELOTE";
constexpr const char* kMascara = "9.9.99.999.9999";

struct Lote {
    HRESULT hr = S_OK;
    std::string dir = bench::DiretorioEmpresa(kEmpresa);
    bench::ObjetoPlano objeto;
    std::string csv = dir + "plano.csv";
    LONG planoPronto = 0; // imported once, for the export and the check

    Lote()
    {
        bench::EsvaziaDiretorio(dir);
        objeto = bench::ObjetoInicializado(kEmpresa);
        // The plan's limit of accounts: every title of the benchmark chart, and analytic accounts
        // up to the limit.
        const auto& contas = bench::Plano().contas;
        size_t analiticas = bench::kContasBench;
        for (const auto& c : contas)
            analiticas -= (c.status & 1) ? 1 : 0;
        std::vector<zazazu::LinhaCsv> linhas;
        for (const auto& c : contas) {
            if (!(c.status & 1) && analiticas-- == 0) {
                ++analiticas;
                continue;
            }
            zazazu::LinhaCsv& l = linhas.emplace_back();
            l.classificacao = c.classificacao;
            l.codigo = c.codigo;
            l.nome = c.nome;
            l.tipo = (c.status & 1) ? 'T' : 'A';
        }
        if (!objeto || !zazazu::EscreveCsv(csv, linhas)) {
            hr = kFalha;
            return;
        }
        std::vector<uint8_t> saida;
        if ((hr = NovoPlano(planoPronto)) == S_OK)
            hr = Importa(saida);
    }

    // A new empty plan with the chart's masks, selected.
    HRESULT NovoPlano(LONG& plano)
    {
        REG_DADOS_PLANO_ALT_PS dados{};
        std::strcpy(dados.cNomePlano, "Lote");
        if (HRESULT r = objeto->GravaPlano(0, dados, &plano); r != S_OK)
            return r;
        REG_MASCARA_ALT_PS mascaras{};
        for (int d = 1; d <= 9; ++d)
            std::memcpy(mascaras.Mascara[d], kMascara, std::strlen(kMascara));
        if (HRESULT r = objeto->SetMascara(plano, mascaras); r != S_OK)
            return r;
        return objeto->SetPlano(plano);
    }

    HRESULT Funcao(uint32_t numero, const std::vector<uint8_t>& entrada, std::vector<uint8_t>& saida)
    {
        _REG_DF_FUNCAO_GENERICAPS in{uint32_t(entrada.size()), {}, const_cast<uint8_t*>(entrada.data()), 0};
        _REG_DF_FUNCAO_GENERICAPS* out = nullptr;
        const HRESULT r = objeto->FuncaoGenerica(numero, in, &out);
        saida.clear();
        if (out) {
            saida.assign(out->pListaBytes, out->pListaBytes + out->ulQtdBytes);
            plataforma::LiberaTarefa(out->pListaBytes);
            plataforma::LiberaTarefa(out);
        }
        return r;
    }

    // The file read and imported into the selected plan; every account must go in.
    HRESULT Importa(std::vector<uint8_t>& saida)
    {
        std::vector<zazazu::LinhaCsv> linhas;
        std::vector<zazazu::RecusaCsv> recusas;
        zazazu::LeCsv(csv, linhas, recusas);
        if (!recusas.empty())
            return kFalha;
        const HRESULT r = Funcao(kFuncaoImportaContas, zazazu::BlocoImportacao(linhas, 0), saida);
        if (r != S_OK)
            return r;
        return zazazu::LeDoBloco<CabecalhoResultadoImportacao>(saida, 0).ulGravadas == bench::kContasBench ? S_OK : kFalha;
    }
};

Lote& Preparado()
{
    static Lote lote;
    return lote;
}

void ImportacaoCsv(benchmark::State& estado)
{
    Lote& l = Preparado();
    bench::Exige(l.hr == S_OK, estado, "set-up");
    std::vector<uint8_t> saida;
    for (auto _ : estado) {
        estado.PauseTiming();
        LONG plano = 0;
        const HRESULT novo = l.NovoPlano(plano);
        estado.ResumeTiming();
        bench::Exige(novo == S_OK && l.Importa(saida) == S_OK, estado, "import");
    }
    l.objeto->SetPlano(l.planoPronto);
    estado.SetItemsProcessed(int64_t(estado.iterations()) * bench::kContasBench);
}
BENCHMARK(ImportacaoCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

// The table SQLite fills, with the indexes that answer what the import checks: classification
// order and unique own codes.
bool CarregaSqlite(bench::BancoSqlite& banco, const std::vector<zazazu::LinhaCsv>& linhas)
{
    if (!banco.Executa("BEGIN") ||
        !banco.Executa("CREATE TABLE conta(posicao INTEGER PRIMARY KEY, classificacao TEXT, codigo TEXT, "
                       "tipo TEXT, nome TEXT, caracteristica INTEGER)") ||
        !banco.Executa("CREATE INDEX conta_classificacao ON conta(classificacao)") ||
        !banco.Executa("CREATE UNIQUE INDEX conta_codigo ON conta(codigo)"))
        return false;
    bench::Comando insere(banco.db, "INSERT INTO conta VALUES(?,?,?,?,?,?)");
    int posicao = 0;
    for (const zazazu::LinhaCsv& l : linhas) {
        sqlite3_bind_int(insere.st, 1, ++posicao);
        sqlite3_bind_text(insere.st, 2, l.classificacao.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(insere.st, 3, l.codigo.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(insere.st, 4, &l.tipo, 1, SQLITE_STATIC);
        sqlite3_bind_text(insere.st, 5, l.nome.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_int(insere.st, 6, l.caracteristica);
        if (sqlite3_step(insere.st) != SQLITE_DONE)
            return false;
        sqlite3_reset(insere.st);
    }
    return banco.Executa("COMMIT");
}

void SqliteImportacaoCsv(benchmark::State& estado)
{
    Lote& l = Preparado();
    for (auto _ : estado) {
        estado.PauseTiming();
        auto banco = std::make_unique<bench::BancoSqlite>(l.dir + "lote.db");
        estado.ResumeTiming();
        std::vector<zazazu::LinhaCsv> linhas;
        std::vector<zazazu::RecusaCsv> recusas;
        zazazu::LeCsv(l.csv, linhas, recusas);
        bench::Exige(recusas.empty() && CarregaSqlite(*banco, linhas), estado, "SQLite load");
        estado.PauseTiming();
        banco.reset();
        estado.ResumeTiming();
    }
    estado.SetItemsProcessed(int64_t(estado.iterations()) * bench::kContasBench);
}
BENCHMARK(SqliteImportacaoCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

void ExportacaoCsv(benchmark::State& estado)
{
    Lote& l = Preparado();
    bench::Exige(l.hr == S_OK && l.objeto->SetPlano(l.planoPronto) == S_OK, estado, "set-up");
    std::vector<uint8_t> saida;
    for (auto _ : estado) {
        std::vector<zazazu::LinhaCsv> linhas;
        uint32_t vinculos = 0;
        bench::Exige(l.Funcao(kFuncaoExportaContas, {}, saida) == S_OK && zazazu::LinhasExportadas(saida, linhas, vinculos) &&
                         linhas.size() == bench::kContasBench && zazazu::EscreveCsv(l.dir + "exportado.csv", linhas),
                     estado, "export");
    }
    estado.SetItemsProcessed(int64_t(estado.iterations()) * bench::kContasBench);
}
BENCHMARK(ExportacaoCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

void SqliteExportacaoCsv(benchmark::State& estado)
{
    Lote& l = Preparado();
    bench::BancoSqlite banco(l.dir + "exporta.db");
    std::vector<zazazu::LinhaCsv> lidas;
    std::vector<zazazu::RecusaCsv> recusas;
    zazazu::LeCsv(l.csv, lidas, recusas);
    bench::Exige(CarregaSqlite(banco, lidas), estado, "SQLite load");
    for (auto _ : estado) {
        std::vector<zazazu::LinhaCsv> linhas;
        bench::Comando seleciona(banco.db, "SELECT classificacao, codigo, tipo, nome, caracteristica FROM conta "
                                           "ORDER BY posicao");
        while (sqlite3_step(seleciona.st) == SQLITE_ROW) {
            zazazu::LinhaCsv& x = linhas.emplace_back();
            x.classificacao = reinterpret_cast<const char*>(sqlite3_column_text(seleciona.st, 0));
            x.codigo = reinterpret_cast<const char*>(sqlite3_column_text(seleciona.st, 1));
            x.tipo = reinterpret_cast<const char*>(sqlite3_column_text(seleciona.st, 2))[0];
            x.nome = reinterpret_cast<const char*>(sqlite3_column_text(seleciona.st, 3));
            x.caracteristica = uint16_t(sqlite3_column_int(seleciona.st, 4));
        }
        bench::Exige(linhas.size() == bench::kContasBench && zazazu::EscreveCsv(l.dir + "sqlite.csv", linhas), estado,
                     "SQLite export");
    }
    estado.SetItemsProcessed(int64_t(estado.iterations()) * bench::kContasBench);
}
BENCHMARK(SqliteExportacaoCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

void VerificacaoPlano(benchmark::State& estado)
{
    Lote& l = Preparado();
    bench::Exige(l.hr == S_OK && l.objeto->SetPlano(l.planoPronto) == S_OK, estado, "set-up");
    std::vector<uint8_t> saida;
    for (auto _ : estado)
        bench::Exige(l.Funcao(kFuncaoVerificaPlano, {}, saida) == S_OK &&
                         zazazu::LeDoBloco<CabecalhoVerificacao>(saida, 0).ulQtd == 0,
                     estado, "check");
    estado.SetItemsProcessed(int64_t(estado.iterations()) * bench::kContasBench);
}
BENCHMARK(VerificacaoPlano)->Unit(benchmark::kMillisecond)->UseRealTime();

// One generation of the same plan's index, as the check's yardstick.
void GeraClassificacaoDoPlano(benchmark::State& estado)
{
    Lote& l = Preparado();
    CClassificacao plano;
    const std::string arquivo = "DFPLA" + std::string(l.planoPronto < 10 ? "00" : "0") + std::to_string(l.planoPronto) + ".DAT";
    const std::string indice = "DFIND" + arquivo.substr(5);
    bench::Exige(l.hr == S_OK &&
                     plano.Inicializa(plataforma::AnsiParaOle(kEmpresa).c_str(), 7, plataforma::AnsiParaOle("DF").c_str(),
                                      plataforma::AnsiParaOle(arquivo).c_str(), 96,
                                      plataforma::AnsiParaOle(indice).c_str(), 50) == S_OK,
                 estado, "Inicializa");
    for (auto _ : estado)
        bench::Exige(plano.GeraClassificacao() == S_OK, estado, "GeraClassificacao");
    estado.SetItemsProcessed(int64_t(estado.iterations()) * bench::kContasBench);
}
BENCHMARK(GeraClassificacaoDoPlano)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
