// company init | list: the registry entries a company needs, and the companies it holds.
#include <filesystem>

#include "df/tqlibex/TQChaveSuite.h"
#include "platform/Biblioteca.h"
#include "platform/Erros.h"
#include "platform/Registro.h"
#include "platform/Texto.h"
#include "tools/zazazu/Comandos.h"

namespace zazazu {

namespace {

const std::string kChaveEmpresas = std::string(kChaveSuiteBarra) + kSubchaveEmpresas;

// The suite's main-chart server, which the report reads, registered for the current user.
HRESULT RegistraPlanoPrincipal()
{
    plataforma::Biblioteca biblioteca;
    const std::string caminho = DiretorioModulo() + "x64/TQDF_Plano.dll";
    if (!biblioteca.Carrega(caminho.c_str()))
        return kArquivoIlegivel;
    const auto registra = reinterpret_cast<HRESULT (*)()>(biblioteca.Simbolo("DllRegisterServer"));
    return registra ? registra() : kArquivoIlegivel;
}

int Inicia(Contexto& ctx, const std::string& empresa, const std::string& dados)
{
    std::error_code erro;
    std::filesystem::create_directories(dados, erro);
    std::string dir = std::filesystem::absolute(dados, erro).lexically_normal().string();
    if (erro || !std::filesystem::is_directory(dir))
        return ctx.Imprime().Recusa(kArquivoIlegivel, "creating the data directory " + dados);
    if (dir.back() != '/')
        dir += '/';
    plataforma::ChaveRegistro chave;
    const std::string ansi = plataforma::Utf8ParaAnsi(empresa);
    if (const DWORD e = chave.Cria(plataforma::RaizRegistro::LocalMachine, (kChaveEmpresas + "\\" + ansi).c_str()))
        return ctx.Imprime().Recusa(plataforma::HResultDoErro(e), "writing the registry key of " + empresa);
    if (const DWORD e = chave.GravaTexto("DF", plataforma::Utf8ParaAnsi(dir).c_str()))
        return ctx.Imprime().Recusa(plataforma::HResultDoErro(e), "writing the data directory of " + empresa);
    if (const HRESULT hr = RegistraPlanoPrincipal(); TQFalhou(hr))
        return ctx.Imprime().Recusa(hr, "registering the main-chart server");
    if (ctx.json)
        ctx.Imprime().Documento({{"empresa", empresa}, {"dados", dir}});
    else
        ctx.Imprime().Linha("company " + empresa + ": data in " + dir);
    return kSaidaOk;
}

int Lista(Contexto& ctx)
{
    std::vector<std::string> nomes;
    if (const DWORD e = plataforma::SubchavesRegistro(plataforma::RaizRegistro::LocalMachine, kChaveEmpresas.c_str(), nomes);
        e != 0 && e != 2)
        return ctx.Imprime().Recusa(plataforma::HResultDoErro(e), "reading the companies");
    std::vector<std::vector<std::string>> linhas;
    nlohmann::json j = nlohmann::json::array();
    for (const std::string& nome : nomes) {
        plataforma::ChaveRegistro chave;
        std::string dados;
        if (chave.Abre(plataforma::RaizRegistro::LocalMachine, (kChaveEmpresas + "\\" + nome).c_str()) == 0)
            chave.LeTexto("DF", dados);
        linhas.push_back({Utf8(nome), Utf8(dados)});
        j.push_back({{"empresa", Utf8(nome)}, {"dados", Utf8(dados)}});
    }
    if (ctx.json)
        ctx.Imprime().Documento(j);
    else
        ctx.Imprime().Tabela({"COMPANY", "DATA"}, linhas);
    return kSaidaOk;
}

} // namespace

void RegistraEmpresa(CLI::App& app, Contexto& ctx)
{
    auto* empresa = app.add_subcommand("company", "companies: their data directories in the registry");
    empresa->require_subcommand(1);
    auto* init = empresa->add_subcommand("init", "write the registry entries a company needs");
    static std::string nome, dados;
    init->add_option("COMPANY", nome, "the company's identifier")->required();
    init->add_option("--data", dados, "its data directory (created when missing)")->required();
    init->callback([&ctx] { ctx.resultado = Inicia(ctx, nome, dados); });
    empresa->add_subcommand("list", "the companies in the registry")->callback([&ctx] { ctx.resultado = Lista(ctx); });
}

} // namespace zazazu
