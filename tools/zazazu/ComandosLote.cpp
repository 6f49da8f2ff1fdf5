// import | export (CSV through the bulk functions), check [--repair], report.
#include <algorithm>
#include <cstring>
#include <filesystem>

#include <fmt/core.h>

#include "df/planoalt/FuncoesGenericas.h"
#include "platform/Texto.h"
#include "tools/zazazu/Comandos.h"
#include "tools/zazazu/Csv.h"
#include "tools/zazazu/Lote.h"

namespace zazazu {

namespace {


std::string MotivoHResult(HRESULT hr)
{
    const std::string descricao = DescricaoHResult(hr);
    return fmt::format("{} {}{}", TextoHResult(hr), descricao.empty() ? NomeHResult(hr) : "", descricao);
}

int Importa(Contexto& ctx, long plano, const std::string& arquivo, bool simulacao, bool validas)
{
    std::vector<LinhaCsv> linhas;
    std::vector<RecusaCsv> recusas;
    LeCsv(arquivo, linhas, recusas);
    const size_t lidas = linhas.size() + recusas.size();
    const bool arquivoInteiroRecusado = linhas.empty() && !recusas.empty() && recusas.front().linha <= 1;
    Servico s;
    uint32_t gravadas = 0;
    if (!arquivoInteiroRecusado && (recusas.empty() || validas)) {
        if (!ctx.Seleciona(s, plano))
            return ctx.resultado;
        const std::vector<uint8_t> bloco =
            BlocoImportacao(linhas, (simulacao ? kImportaSimulacao : 0u) | (validas ? kImportaValidas : 0u));
        std::vector<uint8_t> saida;
        if (const HRESULT hr = s.Funcao(kFuncaoImportaContas, bloco, saida); TQFalhou(hr))
            return ctx.Imprime().Recusa(hr, "importing " + arquivo);
        gravadas = LeDoBloco<CabecalhoResultadoImportacao>(saida, 0).ulGravadas;
        for (size_t i = 0; i < linhas.size(); ++i) {
            const auto r = LeDoBloco<ResultadoImportacao>(saida, sizeof(CabecalhoResultadoImportacao) + i * sizeof(ResultadoImportacao));
            if (r.hr != S_OK) {
                recusas.push_back({linhas[i].linha, MotivoHResult(r.hr)});
                continue;
            }
            for (const int32_t principal : r.lPosicao ? linhas[i].vinculos : std::vector<int32_t>{}) {
                REG_VINCULO_ALT v{};
                v.lPosicaoAlt = r.lPosicao;
                v.lPosicaoPla = principal;
                if (const HRESULT hr = s->Vinculo(v); TQFalhou(hr))
                    return ctx.Imprime().Recusa(hr, fmt::format("linking line {} to main account {}", linhas[i].linha, principal));
            }
        }
    }
    std::sort(recusas.begin(), recusas.end(), [](const RecusaCsv& a, const RecusaCsv& b) { return a.linha < b.linha; });
    const size_t aceitas = lidas - recusas.size();
    if (ctx.json) {
        nlohmann::json r = nlohmann::json::array();
        for (const auto& x : recusas)
            r.push_back({{"linha", x.linha}, {"motivo", x.motivo}});
        ctx.Imprime().Documento({{"linhas", lidas}, {"aceitas", aceitas}, {"gravadas", gravadas},
                                 {"simulacao", simulacao}, {"recusadas", r}});
    } else {
        for (const auto& x : recusas)
            fmt::print(stderr, "{}:{}: {}\n", arquivo, x.linha, x.motivo);
        ctx.Imprime().Linha(fmt::format("{}: {} rows, {} accepted, {} refused, {} written{}", arquivo, lidas, aceitas,
                                        recusas.size(), gravadas, simulacao ? " (dry run)" : ""));
    }
    if (!recusas.empty() && !validas) {
        if (!ctx.json)
            ctx.Imprime().Recusa(kCsvRecusado, arquivo);
        return kSaidaRecusa;
    }
    return kSaidaOk;
}

int Exporta(Contexto& ctx, long plano, const std::string& arquivo)
{
    Servico s;
    if (!ctx.Seleciona(s, plano))
        return ctx.resultado;
    std::vector<uint8_t> saida;
    if (const HRESULT hr = s.Funcao(kFuncaoExportaContas, {}, saida); TQFalhou(hr))
        return ctx.Imprime().Recusa(hr, "exporting plan " + std::to_string(plano));
    std::vector<LinhaCsv> linhas;
    uint32_t vinculos = 0;
    if (!LinhasExportadas(saida, linhas, vinculos))
        return ctx.Imprime().Recusa(kBlocoInvalido, "reading the exported block");
    if (!EscreveCsv(arquivo, linhas))
        return ctx.Imprime().Recusa(kArquivoIlegivel, "writing " + arquivo);
    ctx.json ? ctx.Imprime().Documento({{"arquivo", arquivo}, {"contas", linhas.size()}, {"vinculos", vinculos}})
             : ctx.Imprime().Linha(fmt::format("{}: {} accounts, {} links", arquivo, linhas.size(), vinculos));
    return kSaidaOk;
}

const char* NomeAchado(uint32_t tipo)
{
    switch (tipo) {
    case kAchadoIndiceDiferente: return "index differs from the chart";
    case kAchadoCadeiaEmLaco: return "link chain loops";
    case kAchadoVinculoRepetido: return "link record reached twice";
    case kAchadoVinculoAlemDoFim: return "link past the end of the link file";
    case kAchadoSemTitulo: return "title account missing";
    case kAchadoCodigoRepetido: return "own code repeated";
    case kAchadoForaDaMascara: return "classification does not fit the masks";
    case kAchadoArquivoAusente: return "plan file missing";
    }
    return "unknown";
}

int Verifica(Contexto& ctx, long plano, bool reparar)
{
    Servico s;
    if (!ctx.Seleciona(s, plano))
        return ctx.resultado;
    std::vector<uint8_t> saida;
    if (const HRESULT hr = s.Funcao(reparar ? kFuncaoReparaPlano : kFuncaoVerificaPlano, {}, saida); TQFalhou(hr))
        return ctx.Imprime().Recusa(hr, (reparar ? "repairing plan " : "checking plan ") + std::to_string(plano));
    const auto cab = LeDoBloco<CabecalhoVerificacao>(saida, 0);
    nlohmann::json j = nlohmann::json::array();
    std::vector<std::vector<std::string>> linhas;
    for (uint32_t i = 0; i < cab.ulQtd; ++i) {
        const auto a = LeDoBloco<AchadoVerificacao>(saida, sizeof cab + i * sizeof(AchadoVerificacao));
        j.push_back({{"tipo", a.ulTipo}, {"problema", NomeAchado(a.ulTipo)}, {"posicao", a.ulPosicao},
                     {"detalhe", a.ulDetalhe}, {"corrigido", a.ulCorrigido != 0}});
        linhas.push_back({NomeAchado(a.ulTipo), std::to_string(a.ulPosicao), std::to_string(a.ulDetalhe),
                          a.ulCorrigido ? "fixed" : ""});
    }
    if (ctx.json)
        ctx.Imprime().Documento({{"plano", plano}, {"achados", j}, {"corrigidos", cab.ulCorrigidos}});
    else if (linhas.empty())
        ctx.Imprime().Linha(fmt::format("plan {}: no problems found", plano));
    else
        ctx.Imprime().Tabela({"PROBLEM", "POS", "DETAIL", "REPAIR"}, linhas);
    if (cab.ulQtd == cab.ulCorrigidos)
        return kSaidaOk;
    if (!ctx.json)
        ctx.Imprime().Recusa(kPlanoComProblemas, "plan " + std::to_string(plano));
    return kSaidaRecusa;
}

int Relatorio(Contexto& ctx, long plano, const std::string& arquivo, const std::string& nome, const std::string& razao)
{
    Servico s;
    if (!ctx.Abre(s))
        return ctx.resultado;
    const std::string caminho = std::filesystem::absolute(arquivo).string();
    const HRESULT hr = s->GeraRelatorioPlanoAlternativo(
        Servico::Texto(s, plataforma::Utf8ParaAnsi(caminho)), Servico::Texto(s, plataforma::Utf8ParaAnsi(nome)),
        Servico::Texto(s, plataforma::Utf8ParaAnsi(razao)), LONG(plano));
    if (TQFalhou(hr))
        return ctx.Imprime().Recusa(hr, "writing the report " + arquivo);
    ctx.json ? ctx.Imprime().Documento({{"plano", plano}, {"arquivo", caminho}})
             : ctx.Imprime().Linha(fmt::format("plan {}: report in {}", plano, caminho));
    return kSaidaOk;
}

} // namespace

void RegistraLote(CLI::App& app, Contexto& ctx)
{
    static long plano = 0;
    static std::string arquivo, nome = "Plano alternativo", razao;
    static bool simulacao = false, validas = false, reparar = false;
    auto* importa = app.add_subcommand("import", "accounts from a CSV file (UTF-8), all or none");
    importa->add_option("N", plano, "the plan")->required()->check(CLI::PositiveNumber);
    importa->add_option("FILE", arquivo, "classificacao,codigo,tipo,nome,caracteristica,vinculos")->required();
    importa->add_flag("--dry-run", simulacao, "check every row, write nothing");
    importa->add_flag("--skip-invalid", validas, "write the valid rows even when others are refused");
    importa->callback([&ctx] { ctx.resultado = Importa(ctx, plano, arquivo, simulacao, validas); });
    auto* exporta = app.add_subcommand("export", "the plan's accounts and links to a CSV file");
    exporta->add_option("N", plano, "the plan")->required()->check(CLI::PositiveNumber);
    exporta->add_option("FILE", arquivo, "the CSV file")->required();
    exporta->callback([&ctx] { ctx.resultado = Exporta(ctx, plano, arquivo); });
    auto* verifica = app.add_subcommand("check", "check a plan's files (exit 1 when a problem remains)");
    verifica->add_option("N", plano, "the plan")->required()->check(CLI::PositiveNumber);
    verifica->add_flag("--repair", reparar, "regenerate the index and cut looping chains (no account is deleted)");
    verifica->callback([&ctx] { ctx.resultado = Verifica(ctx, plano, reparar); });
    auto* relatorio = app.add_subcommand("report", "the plan as a report: .txt, .csv or .html");
    relatorio->add_option("N", plano, "the plan")->required()->check(CLI::PositiveNumber);
    relatorio->add_option("--out", arquivo, "the report file; its extension chooses the format")->required();
    relatorio->add_option("--name", nome, "the report's name (its columns in Relatorios.ini)")->capture_default_str();
    relatorio->add_option("--title", razao, "the company name on the report");
    relatorio->callback([&ctx] { ctx.resultado = Relatorio(ctx, plano, arquivo, nome, razao); });
}

} // namespace zazazu
