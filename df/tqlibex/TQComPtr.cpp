#include "df/tqlibex/TQComPtr.h"

#include <mutex>

#include "df/tqlibex/TQChavesInicio.h"
#include "df/tqlibex/TQPath.h"
#include "df/tqlibex/TQProfiler.h"
#include "df/tqlibex/TQProfilerConfig.h"
#include "platform/Com.h"
#include "platform/Processo.h"

namespace {

constexpr DWORD kAuthnLevelDefault = 0;    // RPC_C_AUTHN_LEVEL_DEFAULT
constexpr DWORD kAuthnLevelNone = 1;       // RPC_C_AUTHN_LEVEL_NONE
constexpr DWORD kAuthnLevelPktPrivacy = 6; // RPC_C_AUTHN_LEVEL_PKT_PRIVACY
constexpr DWORD kAuthnNone = 0;            // RPC_C_AUTHN_NONE
constexpr DWORD kAuthnWinNT = 10;          // RPC_C_AUTHN_WINNT
constexpr DWORD kAuthzNone = 0;            // RPC_C_AUTHZ_NONE
constexpr DWORD kImpLevelImpersonate = 3;  // RPC_C_IMP_LEVEL_IMPERSONATE

plataforma::SegurancaCom SegurancaDoProcesso()
{
    TQLeSegurancaDCOM();
    return {g_dwAuthnSvc, g_dwAuthzSvc, g_dwAuthnLevel, g_dwImpLevel};
}

// The COCREATE line names the class as its short user-type name shows it, without " Class".
void GravaLinhaCoCreate(const CLSID& rclsid)
{
    if (!TQProfilerConfig::Atual().coCreate)
        return;
    std::string nome = plataforma::NomeCurtoClasse(rclsid);
    if (const size_t p = nome.find(" Class"); p != std::string::npos)
        nome.erase(p, 6);
    TQGravaLinhaCoCreate(nullptr, "TQCoCreateInstance", nome.c_str(),
                         CTQPath::GetNome(plataforma::CaminhoExecutavel()).c_str());
}

} // namespace

DWORD g_dwAuthnLevel = kAuthnLevelPktPrivacy;
DWORD g_dwAuthnSvc = kAuthnWinNT;
DWORD g_dwAuthzSvc = kAuthzNone;
DWORD g_dwImpLevel = kImpLevelImpersonate;

TQSegurancaDCOM TQCalculaSegurancaDCOM(bool desabilitaAutenticacao, bool desabilitaEncriptacao)
{
    TQSegurancaDCOM s{kAuthnLevelPktPrivacy, kAuthnWinNT, kAuthzNone, kImpLevelImpersonate};
    if (desabilitaAutenticacao) {
        s.dwAuthnLevel = kAuthnLevelNone;
        s.dwAuthnSvc = kAuthnNone;
    } else if (desabilitaEncriptacao) {
        s.dwAuthnLevel = kAuthnLevelDefault;
    }
    return s;
}

void TQLeSegurancaDCOM()
{
    static std::once_flag lida;
    std::call_once(lida, [] {
        const TQSegurancaDCOM s = TQCalculaSegurancaDCOM(CTQChavesInicio::DesabilitaAutenticacaoDCOM(),
                                                         CTQChavesInicio::DesabilitaEncriptacaoDCOM());
        g_dwAuthnLevel = s.dwAuthnLevel;
        g_dwAuthnSvc = s.dwAuthnSvc;
        g_dwAuthzSvc = s.dwAuthzSvc;
        g_dwImpLevel = s.dwImpLevel;
    });
}

HRESULT TQCoCreateInstance(const CLSID& rclsid, IUnknown* pUnkOuter, DWORD dwClsCtx, const IID& riid, void** ppv,
                           DWORD eFlags)
{
    if (!ppv)
        return kPonteiroNulo;
    *ppv = nullptr;
    GravaLinhaCoCreate(rclsid);
    void* objeto = nullptr;
    const HRESULT hr = plataforma::CriaInstanciaCom(rclsid, pUnkOuter, dwClsCtx, SegurancaDoProcesso(), riid, &objeto);
    // Every failure returns here: the retries and event-log reports behind the flags stay off.
    if (TQFalhou(hr)) {
        TQTraceHResult(nullptr, "TQCoCreateInstance", "TQComPtr", 87, "hr",
                       "CoCreateInstanceEx(rclsid, pUnkOuter, dwClsCtx, &csi, 1, &mqi)", hr);
        return hr;
    }
    // A success without a pointer is the caller's to report.
    if (objeto)
        TQCoSetProxyBlanket(static_cast<IUnknown*>(objeto));
    *ppv = objeto;
    return S_OK;
}

void TQCoSetProxyBlanket(IUnknown* pProxy)
{
    const HRESULT hr = plataforma::DefineSegurancaProxy(pProxy, SegurancaDoProcesso());
    if (TQFalhou(hr))
        TQTraceHResult(nullptr, "TQCoSetProxyBlanket", "TQComPtr", 36, "hr",
                       "CoSetProxyBlanket(pProxy, g_dwAuthnSvc, g_dwAuthzSvc, nullptr, g_dwAuthnLevel, g_dwImpLevel, "
                       "nullptr, EOAC_NONE)",
                       hr);
}
