// The in-process module's exports: the class object, and the string and memory allocators a
// client of this module frees our blocks with. Nothing else is visible outside the module.
#include <cstddef>
#include <string>

#include "df/tqlibex/TQPath.h"
#include "platform/Processo.h"
#include "platform/Texto.h"
#include "server/TQDF_PlanoAlt.h"

#define ZAZ_EXPORTA extern "C" __attribute__((visibility("default")))

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

ZAZ_EXPORTA BSTR SysAllocString(const OLECHAR* texto)
{
    if (texto == nullptr)
        return nullptr;
    return plataforma::AlocaBstr(texto, uint32_t(std::char_traits<OLECHAR>::length(texto)));
}

ZAZ_EXPORTA BSTR SysAllocStringLen(const OLECHAR* texto, uint32_t caracteres)
{
    return plataforma::AlocaBstr(texto, caracteres);
}

ZAZ_EXPORTA void SysFreeString(BSTR texto) { plataforma::LiberaBstr(texto); }

ZAZ_EXPORTA uint32_t SysStringLen(BSTR texto) { return plataforma::TamanhoBstr(texto); }

ZAZ_EXPORTA void* CoTaskMemAlloc(size_t bytes) { return plataforma::AlocaTarefa(bytes); }

ZAZ_EXPORTA void CoTaskMemFree(void* bloco) { plataforma::LiberaTarefa(bloco); }
