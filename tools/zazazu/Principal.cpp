// zazazu: the alternative charts of accounts from a terminal.
#include <cstdlib>

#include "df/tqlibex/TQPath.h"
#include "tools/zazazu/Comandos.h"

namespace zazazu {

bool Contexto::Recusa(HRESULT hr, const std::string& contexto)
{
    resultado = Imprime().Recusa(hr, contexto);
    return false;
}

bool Contexto::Abre(Servico& s)
{
    if (conexao.empresa.empty())
        return Recusa(TQHResult(0x80070057), "no company: give --company or set ZAZAZU_COMPANY");
    if (const HRESULT hr = s.Abre(conexao); TQFalhou(hr))
        return Recusa(hr, "opening the service for company " + conexao.empresa);
    return true;
}

bool Contexto::Seleciona(Servico& s, long plano)
{
    if (!Abre(s))
        return false;
    if (const HRESULT hr = s->SetPlano(LONG(plano)); TQFalhou(hr))
        return Recusa(hr, "selecting plan " + std::to_string(plano));
    return true;
}

} // namespace zazazu

int main(int argc, char** argv)
{
    using namespace zazazu;
    // The message library and the other suite libraries are beside the module, in "x64".
    CTQPath::DefineInstalacaoSemRegistro(DiretorioModulo());
    Contexto ctx;
    CLI::App app{"zazazu: the alternative charts of accounts of a company's plans"};
    app.require_subcommand(1);
    app.add_flag("--json", ctx.json, "JSON output instead of tables");
    app.add_flag("--server", ctx.conexao.servidor, "through the local server instead of in process");
    app.add_option("-c,--company", ctx.conexao.empresa, "the company")->envname("ZAZAZU_COMPANY");
    app.add_option("-u,--user", ctx.conexao.usuario, "the user number of the session")->capture_default_str();
    RegistraEmpresa(app, ctx);
    RegistraPlano(app, ctx);
    RegistraMascara(app, ctx);
    RegistraConta(app, ctx);
    RegistraVinculo(app, ctx);
    RegistraLote(app, ctx);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int codigo = app.exit(e);
        return codigo == 0 ? kSaidaOk : kSaidaUso;
    }
    return ctx.resultado;
}
