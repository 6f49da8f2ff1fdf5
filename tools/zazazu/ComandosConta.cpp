// account list | show | add | edit | find | delete, and link add | remove | list.
#include <cstring>
#include <optional>

#include <fmt/core.h>

#include "df/tqclasses/ClassificacaoCodigos.h"
#include "platform/Texto.h"
#include "tools/zazazu/Comandos.h"

namespace zazazu {

namespace {

struct DadosConta {
    std::optional<std::string> classificacao, codigo, nome, tipo;
    std::optional<uint16_t> caracteristica;
};

nlohmann::json JsonConta(const REG_PLANO_ALT_PS& c)
{
    return {{"posicao", c.lPosicaoConta}, {"classificacao", Campo(c.cClassificacao)},
            {"codigo", Campo(c.cCodigoProprio)}, {"tipo", std::string(1, char(c.cTipo))},
            {"nome", Campo(c.cNome)},           {"caracteristica", c.iCaracteristica}};
}

std::vector<std::string> LinhaConta(const REG_PLANO_ALT_PS& c, int recuo = 0)
{
    const std::string nome = std::string(size_t(recuo) * 2, ' ') + Campo(c.cNome);
    return {std::to_string(c.lPosicaoConta), Campo(c.cClassificacao), Campo(c.cCodigoProprio),
            std::string(1, char(c.cTipo)), c.cTipo == 'T' ? nome + " [T]" : nome};
}

const std::vector<std::string> kCabecalhoConta = {"POS", "CLASSIFICATION", "CODE", "TYPE", "NAME"};

void ImprimeContas(const Contexto& ctx, const std::vector<REG_PLANO_ALT_PS>& contas, bool arvore)
{
    if (ctx.json) {
        nlohmann::json j = nlohmann::json::array();
        for (const auto& c : contas)
            j.push_back(JsonConta(c));
        return ctx.Imprime().Documento(j);
    }
    std::vector<std::vector<std::string>> linhas;
    for (const auto& c : contas) {
        const std::string classificacao = Campo(c.cClassificacao);
        linhas.push_back(LinhaConta(c, arvore ? int(std::count(classificacao.begin(), classificacao.end(), '.')) : 0));
    }
    ctx.Imprime().Tabela(kCabecalhoConta, linhas);
}

// The accounts of the selected plan in index order.
HRESULT ContasEmOrdem(Servico& s, std::vector<REG_PLANO_ALT_PS>& contas)
{
    std::vector<REGCON_INDEX_ALT_PS> indice;
    if (const HRESULT hr = s.Indice(indice); TQFalhou(hr))
        return hr;
    std::vector<LONG> posicoes;
    for (const auto& e : indice)
        posicoes.push_back(LONG(PosicaoDaEntrada(e.Tipo_IndCon)));
    contas.assign(posicoes.size(), REG_PLANO_ALT_PS{});
    return posicoes.empty() ? S_OK : s->BuscaDados(LONG(posicoes.size()), posicoes.data(), contas.data());
}

int Lista(Contexto& ctx, long plano, bool arvore)
{
    Servico s;
    std::vector<REG_PLANO_ALT_PS> contas;
    if (!ctx.Seleciona(s, plano))
        return ctx.resultado;
    if (const HRESULT hr = ContasEmOrdem(s, contas); TQFalhou(hr))
        return ctx.Imprime().Recusa(hr, "listing the accounts");
    ImprimeContas(ctx, contas, arvore);
    return kSaidaOk;
}

int Mostra(Contexto& ctx, long plano, long posicao)
{
    Servico s;
    REG_PLANO_ALT_PS c{};
    if (!ctx.Seleciona(s, plano))
        return ctx.resultado;
    if (const HRESULT hr = s->Le(LONG(posicao), &c); hr != S_OK)
        return ctx.Imprime().Recusa(TQFalhou(hr) ? hr : TQHResult(0x80040000u | uint32_t(hr & 0xFFFF)),
                                    "reading account " + std::to_string(posicao));
    ImprimeContas(ctx, {c}, false);
    return kSaidaOk;
}

bool Preenche(const Contexto& ctx, const DadosConta& d, REG_PLANO_ALT_PS& c, std::string& erro)
{
    const auto copia = [&](const std::optional<std::string>& v, char* campo, size_t maximo, size_t tamanho,
                           const char* nome) {
        if (!v)
            return true;
        const std::string ansi = plataforma::Utf8ParaAnsi(*v);
        if (ansi.size() > maximo || plataforma::AnsiParaUtf8(ansi) != *v) {
            erro = fmt::format("{}: at most {} characters of code page 1252", nome, maximo);
            return false;
        }
        std::memset(campo, 0, tamanho);
        std::memcpy(campo, ansi.data(), ansi.size());
        return true;
    };
    if (!copia(d.classificacao, c.cClassificacao, 28, sizeof c.cClassificacao, "classification") ||
        !copia(d.codigo, c.cCodigoProprio, 10, sizeof c.cCodigoProprio, "code") ||
        !copia(d.nome, c.cNome, 50, sizeof c.cNome, "name"))
        return false;
    if (d.tipo) {
        if (*d.tipo != "T" && *d.tipo != "A") {
            erro = "type: T (title) or A (analytic)";
            return false;
        }
        c.cTipo = uint8_t((*d.tipo)[0]);
    }
    if (d.caracteristica)
        c.iCaracteristica = *d.caracteristica;
    return true;
}

int Grava(Contexto& ctx, long plano, long posicao, const DadosConta& d)
{
    Servico s;
    if (!ctx.Seleciona(s, plano))
        return ctx.resultado;
    REG_PLANO_ALT_PS c{};
    c.cTipo = 'A';
    if (posicao != 0)
        if (const HRESULT hr = s->Le(LONG(posicao), &c); hr != S_OK)
            return ctx.Imprime().Recusa(TQFalhou(hr) ? hr : kArquivoIlegivel, "reading account " + std::to_string(posicao));
    std::string erro;
    if (!Preenche(ctx, d, c, erro))
        return ctx.Imprime().Recusa(TQHResult(0x80070057), erro);
    LONG gravada = 0;
    const HRESULT hr = s->Grava(LONG(posicao), c, &gravada);
    if (hr != S_OK)
        return ctx.Imprime().Recusa(hr, posicao ? "writing account " + std::to_string(posicao) : "adding the account");
    s->Le(gravada, &c);
    ImprimeContas(ctx, {c}, false);
    return kSaidaOk;
}

int Procura(Contexto& ctx, long plano, const std::string& texto)
{
    Servico s;
    if (!ctx.Seleciona(s, plano))
        return ctx.resultado;
    const std::string ansi = plataforma::Utf8ParaAnsi(texto);
    std::vector<REG_PLANO_ALT_PS> achadas;
    LONG posicao = 0;
    REG_PLANO_ALT_PS c{};
    if (const HRESULT hr = s->Existe(Servico::Texto(s, ansi), 1, &posicao, &c); hr == S_OK && posicao != 0)
        achadas.push_back(c);
    std::vector<REG_PLANO_ALT_PS> contas;
    if (const HRESULT hr = ContasEmOrdem(s, contas); TQFalhou(hr))
        return ctx.Imprime().Recusa(hr, "listing the accounts");
    for (const auto& conta : contas)
        if (std::string(conta.cClassificacao, strnlen(conta.cClassificacao, 32)) == ansi && conta.lPosicaoConta != posicao)
            achadas.push_back(conta);
    if (achadas.empty())
        return ctx.Imprime().Recusa(TQHResult(0x800405E0), "no account with code or classification " + texto);
    ImprimeContas(ctx, achadas, false);
    return kSaidaOk;
}

int Exclui(Contexto& ctx, long plano, const std::vector<long>& posicoes)
{
    Servico s;
    if (!ctx.Seleciona(s, plano))
        return ctx.resultado;
    std::vector<LONG> p(posicoes.begin(), posicoes.end());
    if (const HRESULT hr = s->ExcluiContas(int(p.size()), p.data()); TQFalhou(hr))
        return ctx.Imprime().Recusa(hr, "deleting accounts");
    ctx.json ? ctx.Imprime().Documento({{"excluidas", posicoes}})
             : ctx.Imprime().Linha(fmt::format("deleted {} account(s) with the accounts under them", posicoes.size()));
    return kSaidaOk;
}

int Vincula(Contexto& ctx, long plano, long posicao, long principal, uint16_t caracteristica, bool remove)
{
    Servico s;
    if (!ctx.Seleciona(s, plano))
        return ctx.resultado;
    REG_VINCULO_ALT v{};
    v.bExcluir = remove ? 1 : 0;
    v.lPosicaoAlt = LONG(posicao);
    v.lPosicaoPla = LONG(principal);
    v.iCaracteristicaPla = caracteristica;
    if (const HRESULT hr = s->Vinculo(v); TQFalhou(hr))
        return ctx.Imprime().Recusa(hr, remove ? "removing the link" : "adding the link");
    ctx.json ? ctx.Imprime().Documento({{"conta", posicao}, {"principal", principal}, {"removido", remove}})
             : ctx.Imprime().Linha(fmt::format("{} link {} -> main {}", remove ? "removed" : "added", posicao, principal));
    return kSaidaOk;
}

int ListaVinculos(Contexto& ctx, long plano, long posicao)
{
    Servico s;
    if (!ctx.Seleciona(s, plano))
        return ctx.resultado;
    ARRAY_REGCON_INDEX_ALT_PS* lista = nullptr;
    const HRESULT hr = s->BuscaVinculo(LONG(posicao), &lista);
    std::vector<REGCON_INDEX_ALT_PS> vinculos;
    if (lista && lista->pArrayRegConIndex)
        vinculos.assign(lista->pArrayRegConIndex, lista->pArrayRegConIndex + lista->iQtde);
    if (lista) {
        s.Libera(lista->pArrayRegConIndex);
        s.Libera(lista);
    }
    if (TQFalhou(hr))
        return ctx.Imprime().Recusa(hr, "reading the links of account " + std::to_string(posicao));
    nlohmann::json j = nlohmann::json::array();
    std::vector<std::vector<std::string>> linhas;
    for (const auto& v : vinculos) {
        const std::string texto = DesempacotaClassificacao(reinterpret_cast<const uint8_t*>(v.Classificacao));
        j.push_back({{"principal", PosicaoDaEntrada(v.Tipo_IndCon)}, {"classificacao", texto}, {"caracteristica", v.iCaracteristica}});
        linhas.push_back({std::to_string(PosicaoDaEntrada(v.Tipo_IndCon)), texto, std::to_string(v.iCaracteristica)});
    }
    ctx.json ? ctx.Imprime().Documento(j) : ctx.Imprime().Tabela({"MAIN", "CLASSIFICATION", "CHARACTERISTIC"}, linhas);
    return kSaidaOk;
}

void OpcoesConta(CLI::App* c, DadosConta& d)
{
    c->add_option("--class", d.classificacao, "classification, digits under the plan's mask");
    c->add_option("--code", d.codigo, "own code (at most 10 characters)");
    c->add_option("--name", d.nome, "name (at most 50 characters)");
    c->add_option("--type", d.tipo, "T (title) or A (analytic)");
    c->add_option("--char", d.caracteristica, "characteristic");
}

} // namespace

void RegistraConta(CLI::App& app, Contexto& ctx)
{
    auto* conta = app.add_subcommand("account", "the accounts of a plan");
    conta->require_subcommand(1);
    static long plano = 0, posicao = 0;
    static bool arvore = false;
    static std::string texto;
    static std::vector<long> posicoes;
    static DadosConta dados;
    auto* lista = conta->add_subcommand("list", "the plan in index order");
    lista->add_option("N", plano, "the plan")->required()->check(CLI::PositiveNumber);
    lista->add_flag("--tree", arvore, "indented by level");
    lista->callback([&ctx] { ctx.resultado = Lista(ctx, plano, arvore); });
    auto* mostra = conta->add_subcommand("show", "one account");
    mostra->add_option("N", plano, "the plan")->required()->check(CLI::PositiveNumber);
    mostra->add_option("POS", posicao, "its position")->required()->check(CLI::PositiveNumber);
    mostra->callback([&ctx] { ctx.resultado = Mostra(ctx, plano, posicao); });
    auto* inclui = conta->add_subcommand("add", "a new account");
    inclui->add_option("N", plano, "the plan")->required()->check(CLI::PositiveNumber);
    OpcoesConta(inclui, dados);
    inclui->callback([&ctx] {
        if (!dados.classificacao || !dados.nome)
            ctx.resultado = ctx.Imprime().Recusa(TQHResult(0x80070057), "add needs --class and --name");
        else
            ctx.resultado = Grava(ctx, plano, 0, dados);
    });
    auto* altera = conta->add_subcommand("edit", "change an account");
    altera->add_option("N", plano, "the plan")->required()->check(CLI::PositiveNumber);
    altera->add_option("POS", posicao, "its position")->required()->check(CLI::PositiveNumber);
    OpcoesConta(altera, dados);
    altera->callback([&ctx] { ctx.resultado = Grava(ctx, plano, posicao, dados); });
    auto* procura = conta->add_subcommand("find", "an account by own code or classification");
    procura->add_option("N", plano, "the plan")->required()->check(CLI::PositiveNumber);
    procura->add_option("CODE-OR-CLASSIFICATION", texto, "what to find")->required();
    procura->callback([&ctx] { ctx.resultado = Procura(ctx, plano, texto); });
    auto* exclui = conta->add_subcommand("delete", "delete accounts with every account under them");
    exclui->add_option("N", plano, "the plan")->required()->check(CLI::PositiveNumber);
    exclui->add_option("POS", posicoes, "positions")->required()->check(CLI::PositiveNumber);
    exclui->callback([&ctx] { ctx.resultado = Exclui(ctx, plano, posicoes); });
}

void RegistraVinculo(CLI::App& app, Contexto& ctx)
{
    auto* vinculo = app.add_subcommand("link", "links of accounts to the main chart");
    vinculo->require_subcommand(1);
    static long plano = 0, posicao = 0, principal = 0;
    static uint16_t caracteristica = 0;
    for (const bool remove : {false, true}) {
        auto* c = vinculo->add_subcommand(remove ? "remove" : "add", remove ? "remove a link" : "add a link");
        c->add_option("N", plano, "the plan")->required()->check(CLI::PositiveNumber);
        c->add_option("POS", posicao, "the account")->required()->check(CLI::PositiveNumber);
        c->add_option("MAIN", principal, "the main-chart account's position")->required()->check(CLI::PositiveNumber);
        if (!remove)
            c->add_option("--char", caracteristica, "the main-chart account's characteristic");
        c->callback([&ctx, remove] { ctx.resultado = Vincula(ctx, plano, posicao, principal, caracteristica, remove); });
    }
    auto* lista = vinculo->add_subcommand("list", "the links of an account");
    lista->add_option("N", plano, "the plan")->required()->check(CLI::PositiveNumber);
    lista->add_option("POS", posicao, "the account")->required()->check(CLI::PositiveNumber);
    lista->callback([&ctx] { ctx.resultado = ListaVinculos(ctx, plano, posicao); });
}

} // namespace zazazu
