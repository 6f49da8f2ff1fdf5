// Registration of the class. Per user, under HKEY_CURRENT_USER\Software\Classes: no
// administrator is needed, and the per-user entry wins over a machine-wide one in HKCR.
#include <string>

#include "platform/Bstr.h"
#include "platform/Processo.h"
#include "platform/Registro.h"
#include "platform/Texto.h"
#include "suite/comum/Exporta.h"
#include "suite/comum/TQDF_Plano.h"

namespace {

constexpr HRESULT kFalhaRegistroClasse = TQHResult(0x80040201); // SELFREG_E_CLASS
constexpr const char* kNomeClasse = "TQDF.Plano Class";

std::string ChaveClasse()
{
    return "Software\\Classes\\CLSID\\" + plataforma::GuidParaTexto(CLSID_TQDF_Plano);
}

} // namespace

TQ_EXPORTA HRESULT DllRegisterServer()
{
    using plataforma::RaizRegistro;
    const std::string classe = ChaveClasse();
    plataforma::ChaveRegistro k, servidor;
    const std::string modulo = plataforma::CaminhoEsteModulo();
    if (modulo.empty() || k.Cria(RaizRegistro::CurrentUser, classe.c_str()) || k.GravaTexto(nullptr, kNomeClasse) ||
        servidor.Cria(RaizRegistro::CurrentUser, (classe + "\\InprocServer32").c_str()) ||
        servidor.GravaTexto(nullptr, modulo.c_str()) || servidor.GravaTexto("ThreadingModel", "Both"))
        return kFalhaRegistroClasse;
    return S_OK;
}

TQ_EXPORTA HRESULT DllUnregisterServer()
{
    const DWORD erro = plataforma::ApagaChaveRegistro(plataforma::RaizRegistro::CurrentUser, ChaveClasse().c_str());
    // Nothing registered is nothing to remove.
    return erro == 0 || erro == 2 ? S_OK : kFalhaRegistroClasse;
}
