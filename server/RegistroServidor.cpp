#include "server/RegistroServidor.h"

#include "df/tqlibex/TQTrace.h"
#include "server/Registrador.h"

namespace {

constexpr const char* kFonte = "RegistroServidor";

std::string DobraAspas(const std::string& texto)
{
    std::string r;
    for (char c : texto) {
        r += c;
        if (c == '\'')
            r += '\'';
    }
    return r;
}

HRESULT Script(CTQRegistrador& registrador, const TQTextoScript& script, int id, bool registra)
{
    const std::string texto = script(id);
    if (texto.empty()) {
        TQTraceHResult(nullptr, "TQExecutaRegistro", kFonte, "hr", "script(id)", kErroScript);
        return kErroScript;
    }
    return registra ? registrador.Registra(texto) : registrador.Desregistra(texto);
}

} // namespace

HRESULT TQExecutaRegistro(EChaveLinha chave, const std::string& caminhoModulo, const TQTextoScript& script,
                          const TQBibliotecaTipos& bibliotecaTipos)
{
    if (chave == EChaveLinha::Nenhuma)
        return S_OK;
    const bool registra = chave == EChaveLinha::RegServer || chave == EChaveLinha::RegServerPerUser;
    const bool porUsuario = chave == EChaveLinha::RegServerPerUser || chave == EChaveLinha::UnregServerPerUser;
    CTQRegistrador registrador;
    registrador.MapeiaClassesParaUsuario(porUsuario);
    registrador.AdicionaSubstituicao("MODULE", "\"" + DobraAspas(caminhoModulo) + "\"");
    registrador.AdicionaSubstituicao("MODULE_RAW", DobraAspas(caminhoModulo));
    registrador.AdicionaSubstituicao("APPID", kAppIdZazAzu);

    HRESULT hr;
    if (registra) {
        hr = Script(registrador, script, kScriptAppId, true);
        if (TQFalhou(hr))
            return hr;
        hr = Script(registrador, script, kScriptClasse, true);
        if (!TQFalhou(hr) && bibliotecaTipos)
            hr = bibliotecaTipos(true, porUsuario);
        return hr;
    }
    hr = Script(registrador, script, kScriptClasse, false);
    if (!TQFalhou(hr) && bibliotecaTipos)
        hr = bibliotecaTipos(false, porUsuario);
    if (TQFalhou(hr))
        return hr; // the application identifier stays
    return Script(registrador, script, kScriptAppId, false);
}
