// plan list | create | rename | delete | show, and mask show | set | change.
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include <fmt/core.h>

#include "platform/Processo.h"
#include "platform/Texto.h"
#include "tools/zazazu/Comandos.h"

namespace zazazu {

namespace {

// Ten masks; a mask given as "D=MASK" goes to first digit D, a bare one to all ten.
bool AplicaMascaras(const std::vector<std::string>& dadas, char (*mascaras)[28], size_t tamanho, std::string& erro)
{
    for (const std::string& m : dadas) {
        const bool comDigito = m.size() > 2 && m[1] == '=' && m[0] >= '0' && m[0] <= '9';
        const std::string texto = comDigito ? m.substr(2) : m;
        if (texto.empty() || texto.size() > tamanho || texto.find_first_not_of("9.") != std::string::npos ||
            texto.front() == '.' || texto.back() == '.') {
            erro = "a mask is 9s and dots, at most " + std::to_string(tamanho) + " characters: " + m;
            return false;
        }
        for (int d = 0; d < 10; ++d)
            if (!comDigito || d == m[0] - '0') {
                std::memset(mascaras[d], 0, 28);
                std::memcpy(mascaras[d], texto.data(), texto.size());
            }
    }
    return true;
}

nlohmann::json JsonMascaras(const REG_MASCARA_ALT_PS& m)
{
    nlohmann::json j = nlohmann::json::object();
    for (int d = 0; d < 10; ++d)
        if (m.Mascara[d][0])
            j[std::to_string(d)] = std::string(m.Mascara[d], strnlen(m.Mascara[d], 28));
    return j;
}

void ImprimeMascaras(const Contexto& ctx, long plano, const REG_MASCARA_ALT_PS& m)
{
    if (ctx.json)
        return ctx.Imprime().Documento({{"plano", plano}, {"mascaras", JsonMascaras(m)}});
    std::vector<std::vector<std::string>> linhas;
    for (int d = 0; d < 10; ++d)
        if (m.Mascara[d][0])
            linhas.push_back({std::to_string(d), std::string(m.Mascara[d], strnlen(m.Mascara[d], 28))});
    ctx.Imprime().Tabela({"DIGIT", "MASK"}, linhas);
}

int Lista(Contexto& ctx)
{
    Servico s;
    std::vector<REG_DADOS_PLANO_ALT_PS> planos;
    if (!ctx.Abre(s))
        return ctx.resultado;
    if (const HRESULT hr = s.Planos(planos); TQFalhou(hr))
        return ctx.Imprime().Recusa(hr, "listing the plans");
    nlohmann::json j = nlohmann::json::array();
    std::vector<std::vector<std::string>> linhas;
    for (const auto& p : planos) {
        j.push_back({{"plano", p.lPosicaoPlano}, {"nome", Campo(p.cNomePlano)}});
        linhas.push_back({std::to_string(p.lPosicaoPlano), Campo(p.cNomePlano)});
    }
    ctx.json ? ctx.Imprime().Documento(j) : ctx.Imprime().Tabela({"PLAN", "NAME"}, linhas);
    return kSaidaOk;
}

int Grava(Contexto& ctx, long plano, const std::string& nome)
{
    Servico s;
    if (!ctx.Abre(s))
        return ctx.resultado;
    REG_DADOS_PLANO_ALT_PS d{};
    const std::string ansi = plataforma::Utf8ParaAnsi(nome);
    if (ansi.empty() || ansi.size() > 49 || plataforma::AnsiParaUtf8(ansi) != nome)
        return ctx.Imprime().Recusa(TQHResult(0x80070057), "a plan name is 1 to 49 characters of code page 1252");
    std::vector<REG_DADOS_PLANO_ALT_PS> planos;
    if (plano != 0 && !TQFalhou(s.Planos(planos)))
        for (const auto& p : planos)
            if (p.lPosicaoPlano == plano)
                d = p; // the flags stay as they are
    std::memset(d.cNomePlano, 0, sizeof d.cNomePlano);
    std::memcpy(d.cNomePlano, ansi.data(), ansi.size());
    LONG posicao = 0;
    if (const HRESULT hr = s->GravaPlano(LONG(plano), d, &posicao); TQFalhou(hr))
        return ctx.Imprime().Recusa(hr, plano ? "renaming plan " + std::to_string(plano) : "creating the plan");
    ctx.json ? ctx.Imprime().Documento({{"plano", posicao}, {"nome", nome}})
             : ctx.Imprime().Linha(fmt::format("plan {}: {}", posicao, nome));
    return kSaidaOk;
}

int Exclui(Contexto& ctx, std::vector<long> planos)
{
    Servico s;
    if (!ctx.Abre(s))
        return ctx.resultado;
    std::vector<LONG> posicoes(planos.begin(), planos.end());
    ARRAY_REG_EXCLUI_PLANO_ALT_PS r{};
    r.iQtd = uint32_t(posicoes.size());
    r.pPosicoes = posicoes.data();
    if (const HRESULT hr = s->ExcluiPlanos(r); TQFalhou(hr))
        return ctx.Imprime().Recusa(hr, "deleting plans");
    ctx.json ? ctx.Imprime().Documento({{"excluidos", planos}})
             : ctx.Imprime().Linha(fmt::format("deleted {} plan(s)", planos.size()));
    return kSaidaOk;
}

int Mostra(Contexto& ctx, long plano)
{
    Servico s;
    if (!ctx.Seleciona(s, plano))
        return ctx.resultado;
    std::vector<REG_DADOS_PLANO_ALT_PS> planos;
    std::string nome;
    if (!TQFalhou(s.Planos(planos)))
        for (const auto& p : planos)
            if (p.lPosicaoPlano == plano)
                nome = Campo(p.cNomePlano);
    REG_MASCARA_ALT_PS m{};
    if (const HRESULT hr = s->BuscaMascara(LONG(plano), &m); TQFalhou(hr))
        return ctx.Imprime().Recusa(hr, "reading the masks");
    std::vector<REGCON_INDEX_ALT_PS> indice;
    if (const HRESULT hr = s.Indice(indice); TQFalhou(hr))
        return ctx.Imprime().Recusa(hr, "reading the index");
    size_t titulos = 0;
    for (const auto& e : indice)
        titulos += EntradaDeTitulo(e.Tipo_IndCon);
    if (ctx.json)
        return ctx.Imprime().Documento({{"plano", plano}, {"nome", nome}, {"contas", indice.size()}, {"titulos", titulos},
                                        {"mascaras", JsonMascaras(m)}}),
               kSaidaOk;
    ctx.Imprime().Linha(fmt::format("plan {}: {}\naccounts: {} ({} titles)", plano, nome, indice.size(), titulos));
    ImprimeMascaras(ctx, plano, m);
    return kSaidaOk;
}

int MascaraMostra(Contexto& ctx, long plano)
{
    Servico s;
    if (!ctx.Abre(s))
        return ctx.resultado;
    REG_MASCARA_ALT_PS m{};
    if (const HRESULT hr = s->BuscaMascara(LONG(plano), &m); TQFalhou(hr))
        return ctx.Imprime().Recusa(hr, "reading the masks of plan " + std::to_string(plano));
    ImprimeMascaras(ctx, plano, m);
    return kSaidaOk;
}

int MascaraDefine(Contexto& ctx, long plano, const std::vector<std::string>& dadas)
{
    Servico s;
    if (!ctx.Abre(s))
        return ctx.resultado;
    REG_MASCARA_ALT_PS m{};
    s->BuscaMascara(LONG(plano), &m);
    std::string erro;
    if (!AplicaMascaras(dadas, m.Mascara, 28, erro))
        return ctx.Imprime().Recusa(TQHResult(0x80070057), erro);
    if (const HRESULT hr = s->SetMascara(LONG(plano), m); TQFalhou(hr))
        return ctx.Imprime().Recusa(hr, "setting the masks of plan " + std::to_string(plano));
    ImprimeMascaras(ctx, plano, m);
    return kSaidaOk;
}

int MascaraMuda(Contexto& ctx, long plano, const std::vector<std::string>& dadas)
{
    Servico s;
    if (!ctx.Seleciona(s, plano))
        return ctx.resultado;
    REG_MASCARA_ALT_PS atual{};
    if (const HRESULT hr = s->BuscaMascara(LONG(plano), &atual); TQFalhou(hr))
        return ctx.Imprime().Recusa(hr, "reading the masks of plan " + std::to_string(plano));
    REG_MASCARA_ALT_PS nova = atual;
    std::string erro;
    if (!AplicaMascaras(dadas, nova.Mascara, 28, erro))
        return ctx.Imprime().Recusa(TQHResult(0x80070057), erro);
    _MASCARA_PLANO_ALT mudanca{};
    for (int d = 0; d < 10; ++d) {
        std::memcpy(mudanca.Velha[d], atual.Mascara[d], 28);
        std::memcpy(mudanca.Nova[d], nova.Mascara[d], 28);
    }
    ULONG contas = 0;
    s->GetQuantidadeRegistros(&contas);
    // One call rewrites every account: on a terminal, a line that says it is still at work.
    std::atomic<bool> fim{false};
    std::thread progresso;
    if (contas > 5000 && !ctx.json && plataforma::ErroEhTerminal())
        progresso = std::thread([&] {
            const auto inicio = std::chrono::steady_clock::now();
            while (!fim) {
                const auto s = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
                fmt::print(stderr, "\rchanging the masks of {} accounts... {:.0f} s", contas - 1, s);
                std::this_thread::sleep_for(std::chrono::milliseconds(250));
            }
            fmt::print(stderr, "\r\033[K");
        });
    const HRESULT hr = s->AlteraMascara(&mudanca);
    fim = true;
    if (progresso.joinable())
        progresso.join();
    if (TQFalhou(hr))
        return ctx.Imprime().Recusa(hr, "changing the masks of plan " + std::to_string(plano));
    if (hr != S_OK)
        return ctx.Imprime().Recusa(hr, "the masks of plan " + std::to_string(plano) + " were not changed");
    ImprimeMascaras(ctx, plano, nova);
    return kSaidaOk;
}

} // namespace

void RegistraPlano(CLI::App& app, Contexto& ctx)
{
    auto* plano = app.add_subcommand("plan", "the company's plans");
    plano->require_subcommand(1);
    static long numero = 0;
    static std::string nome;
    static std::vector<long> numeros;
    plano->add_subcommand("list", "the plans of the catalogue")->callback([&ctx] { ctx.resultado = Lista(ctx); });
    auto* cria = plano->add_subcommand("create", "a new plan");
    cria->add_option("NAME", nome, "its name")->required();
    cria->callback([&ctx] { ctx.resultado = Grava(ctx, 0, nome); });
    auto* renomeia = plano->add_subcommand("rename", "a plan's new name");
    renomeia->add_option("N", numero, "the plan")->required()->check(CLI::PositiveNumber);
    renomeia->add_option("NAME", nome, "its new name")->required();
    renomeia->callback([&ctx] { ctx.resultado = Grava(ctx, numero, nome); });
    auto* exclui = plano->add_subcommand("delete", "delete plans, their accounts emptied");
    exclui->add_option("N", numeros, "the plans")->required()->check(CLI::PositiveNumber);
    exclui->callback([&ctx] { ctx.resultado = Exclui(ctx, numeros); });
    auto* mostra = plano->add_subcommand("show", "a plan: name, accounts and masks");
    mostra->add_option("N", numero, "the plan")->required()->check(CLI::PositiveNumber);
    mostra->callback([&ctx] { ctx.resultado = Mostra(ctx, numero); });
}

void RegistraMascara(CLI::App& app, Contexto& ctx)
{
    auto* mascara = app.add_subcommand("mask", "a plan's classification masks (D=MASK for first digit D, "
                                               "a bare MASK for all ten)");
    mascara->require_subcommand(1);
    static long numero = 0;
    static std::vector<std::string> dadas;
    auto* mostra = mascara->add_subcommand("show", "the masks of a plan");
    mostra->add_option("N", numero, "the plan")->required()->check(CLI::PositiveNumber);
    mostra->callback([&ctx] { ctx.resultado = MascaraMostra(ctx, numero); });
    auto* define = mascara->add_subcommand("set", "set masks (the accounts are not rewritten)");
    define->add_option("N", numero, "the plan")->required()->check(CLI::PositiveNumber);
    define->add_option("MASK", dadas, "masks such as 9.9.99 or 1=9.99.999")->required();
    define->callback([&ctx] { ctx.resultado = MascaraDefine(ctx, numero, dadas); });
    auto* muda = mascara->add_subcommand("change", "change masks, every account rewritten under them");
    muda->add_option("N", numero, "the plan")->required()->check(CLI::PositiveNumber);
    muda->add_option("MASK", dadas, "masks such as 9.9.99 or 1=9.99.999")->required();
    muda->callback([&ctx] { ctx.resultado = MascaraMuda(ctx, numero, dadas); });
}

} // namespace zazazu
