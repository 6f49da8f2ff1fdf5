#include "server/com/ModuloZAZAZU.h"

#include <windows.h>
#include <objbase.h>

#include "df/tqlibex/TQComPtr.h"
#include "df/tqlibex/TQTrace.h"
#include "platform/Processo.h"
#include "server/RegistroServidor.h"
#include "server/TQDF_PlanoAlt.h"
#include "server/com/BibliotecaTipos.h"

namespace {

constexpr const char* kFonte = "ZAZAZU";

CComClassFactoryServidor<CTQDF_PlanoAlt> g_fabrica;

// COM already in another apartment model while the runtime of .NET is loaded: go on as ATL does.
bool ModoAlheio(HRESULT hr) { return hr == RPC_E_CHANGED_MODE && GetModuleHandleA("Mscoree.dll") != nullptr; }

} // namespace

CZAZAZUModule::CZAZAZUModule() : m_dwMainThreadID(GetCurrentThreadId()) {}

CZAZAZUModule::~CZAZAZUModule() { ParaMonitor(); }

HRESULT CZAZAZUModule::InicializaTransporte()
{
    // The main thread's message queue exists before the monitor may post the quit to it.
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (FAILED(hr)) {
        if (ModoAlheio(hr))
            return S_OK;
        TQTraceHResult(nullptr, "CZAZAZUModule::InicializaTransporte", kFonte, "hr",
                       "CoInitializeEx(nullptr, COINIT_MULTITHREADED)", hr);
        return hr;
    }
    m_bComInicializado = true;
    hr = TQCoInitializeSecurity();
    if (FAILED(hr) && ModoAlheio(hr)) {
        m_bComInicializado = false;
        return S_OK;
    }
    return hr;
}

HRESULT CZAZAZUModule::Registro(EChaveLinha chave)
{
    return TQExecutaRegistro(chave, plataforma::CaminhoExecutavel(), TQScriptDoRecurso, TQRegistraBibliotecaTipos);
}

HRESULT CZAZAZUModule::Registra(DWORD flags)
{
    std::lock_guard<std::mutex> guarda(m_trava);
    if (m_dwCookie)
        return S_OK;
    const HRESULT hr = CoRegisterClassObject(CLSID_TQDF_PlanoAlt, static_cast<IClassFactory*>(&g_fabrica),
                                             CLSCTX_LOCAL_SERVER, flags, &m_dwCookie);
    if (FAILED(hr))
        TQTraceHResult(nullptr, "CZAZAZUModule::RegistraObjetosClasse", kFonte, "hr",
                       "CoRegisterClassObject(CLSID_TQDF_PlanoAlt, pFabrica, CLSCTX_LOCAL_SERVER, flags, &m_dwCookie)",
                       hr);
    return hr;
}

HRESULT CZAZAZUModule::RegistraObjetosClasse() { return Registra(REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED); }

HRESULT CZAZAZUModule::RetomaObjetosClasse()
{
    const HRESULT hr = CoResumeClassObjects();
    if (FAILED(hr))
        TQTraceHResult(nullptr, "CZAZAZUModule::RetomaObjetosClasse", kFonte, "hr", "CoResumeClassObjects()",
                       hr);
    return hr;
}

void CZAZAZUModule::LacoMensagens()
{
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

HRESULT CZAZAZUModule::RevogaObjetosClasse()
{
    std::lock_guard<std::mutex> guarda(m_trava);
    if (!m_dwCookie)
        return S_OK;
    const HRESULT hr = CoRevokeClassObject(m_dwCookie);
    m_dwCookie = 0;
    if (FAILED(hr))
        TQTraceHResult(nullptr, "CZAZAZUModule::RevogaObjetosClasse", kFonte, "hr",
                       "CoRevokeClassObject(m_dwCookie)", hr);
    return hr;
}

void CZAZAZUModule::FinalizaTransporte()
{
    if (m_bComInicializado)
        CoUninitialize();
    m_bComInicializado = false;
}

void CZAZAZUModule::SuspendeObjetosClasse()
{
    CoSuspendClassObjects();
    RevogaObjetosClasse();
}

void CZAZAZUModule::ReativaObjetosClasse()
{
    if (SUCCEEDED(Registra(REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED)))
        RetomaObjetosClasse();
}

void CZAZAZUModule::EncerraLacoMensagens() { PostThreadMessageA(m_dwMainThreadID, WM_QUIT, 0, 0); }
