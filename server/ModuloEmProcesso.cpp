// The in-process module's exports: the class object (the string and memory allocators are in
// Exportacoes.cpp). Nothing else is visible outside the module.
#include "df/tqlibex/TQPath.h"
#include "platform/Processo.h"
#include "server/Exportacoes.h"
#include "server/TQDF_PlanoAlt.h"

namespace {

// Loaded by a client without an installer: the suite's libraries are in "x64" beside the module.
const bool g_instalacao = [] {
    CTQPath::DefineInstalacaoSemRegistro(CTQPath::GetDiretorio(plataforma::CaminhoEsteModulo()));
    return true;
}();

} // namespace

ZAZ_EXPORTA HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv)
{
    return ZazObtemObjetoClasse(rclsid, riid, ppv);
}

ZAZ_EXPORTA HRESULT DllCanUnloadNow() { return ZazPodeDescarregar(); }
