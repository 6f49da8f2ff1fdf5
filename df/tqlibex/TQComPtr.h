// Activation of other COM servers of the suite with the process's security settings, and the
// smart pointer that every such activation goes through.
#pragma once

#include <string>

#include <unknwn.h>

#include "df/tqlibex/TQTrace.h"
#include "platform/Com.h"
#include "platform/Tipos.h"

// The process's security, from "DesabilitaAutenticacaoDCOM" and "DesabilitaEncriptacaoDCOM".
// Written before other threads exist (TQLeSegurancaDCOM), only read afterwards.
extern DWORD g_dwAuthnLevel;
extern DWORD g_dwAuthnSvc;
extern DWORD g_dwAuthzSvc;
extern DWORD g_dwImpLevel;

struct TQSegurancaDCOM {
    DWORD dwAuthnLevel;
    DWORD dwAuthnSvc;
    DWORD dwAuthzSvc;
    DWORD dwImpLevel;
};

TQSegurancaDCOM TQCalculaSegurancaDCOM(bool desabilitaAutenticacao, bool desabilitaEncriptacao);
// Sets the four settings from the switches of the registry; only the first call of the process
// does it (the activation calls it too, for a process that did not at its start).
void TQLeSegurancaDCOM();

// The process's security with g_dwAuthnLevel and g_dwImpLevel (read first when not yet); a
// failure is traced and returned.
HRESULT TQCoInitializeSecurity();

enum ETQComPtrFlags : DWORD {
    eTQCCI_LOG_FAILURE = 1, // event-log reports of failed activations
    eTQCCI_RETRY = 2,       // retries while the server is unavailable
};

constexpr DWORD kTQClsctxAll = 23; // CLSCTX_ALL
constexpr HRESULT ER_TQDF_CO_CREATE_INSTANCE_INTERFACE_NULA = TQHResult(0x80FF0AF8);

// Behind a failed first activation: E_INVALIDARG tries once more without server information;
// RPC_S_SERVER_UNAVAILABLE with eTQCCI_RETRY tries up to 500 times, 100 ms apart; with
// eTQCCI_LOG_FAILURE the event log hears of the first failure, of a late success and of the
// final failure.
HRESULT TQCoCreateInstance(const CLSID& rclsid, IUnknown* pUnkOuter, DWORD dwClsCtx, const IID& riid, void** ppv,
                           DWORD eFlags);
// Tests only: the platform's activation replaced (null puts it back), and the pause between
// retries.
using Ativacao = HRESULT (*)(const CLSID&, IUnknown*, DWORD, const plataforma::SegurancaCom*, const IID&, void**);
void TQDefineAtivacaoParaTestes(Ativacao ativacao, DWORD pausaMs);
// Best effort: a failure is traced and the proxy keeps the blanket it has.
void TQCoSetProxyBlanket(IUnknown* pProxy);

// The interface identifier and the name of an interface that CTQComPtr creates; specialized
// beside each interface's declaration.
template <typename T>
struct TQIdDaInterface;

template <typename T>
class CTQComPtr {
public:
    CTQComPtr() = default;
    ~CTQComPtr() { Libera(); }
    CTQComPtr(const CTQComPtr&) = delete;
    CTQComPtr& operator=(const CTQComPtr&) = delete;

    HRESULT CoCreateInstance(const CLSID& rclsid, DWORD eFlags)
    {
        Libera();
        const HRESULT hr = TQCoCreateInstance(rclsid, nullptr, kTQClsctxAll, TQIdDaInterface<T>::kId,
                                              reinterpret_cast<void**>(&m_pInterface), eFlags);
        if (TQFalhou(hr)) {
            TQTraceHResult(nullptr, {NomeCoCreateInstance().c_str(), kLinhaAtivacaoFalhou}, "TQComPtr", "hr",
                           "TQCoCreateInstance(rclsid, nullptr, CLSCTX_ALL, __uuidof(T), (void**) &m_pInterface, eFlags)",
                           hr);
            return hr;
        }
        if (m_pInterface)
            return hr;
        TQTraceHResult(nullptr, {NomeCoCreateInstance().c_str(), kLinhaInterfaceNula}, "TQComPtr", "hr",
                       "ER_TQDF_CO_CREATE_INSTANCE_INTERFACE_NULA", ER_TQDF_CO_CREATE_INSTANCE_INTERFACE_NULA);
        return ER_TQDF_CO_CREATE_INSTANCE_INTERFACE_NULA;
    }

    HRESULT CoCreateInstance(const CLSID& rclsid)
    {
        const HRESULT hr = CoCreateInstance(rclsid, eTQCCI_LOG_FAILURE | eTQCCI_RETRY);
        if (TQFalhou(hr))
            TQTraceHResult(nullptr, {NomeCoCreateInstance().c_str(), kLinhaAtivacaoComTentativas}, "TQComPtr", "hr",
                           "CoCreateInstance(rclsid, ETQComPtrFlags::eTQCCI_LOG_FAILURE | ETQComPtrFlags::eTQCCI_RETRY)",
                           hr);
        return hr;
    }

    T* operator->() const { return m_pInterface; }
    T* Get() const { return m_pInterface; }
    explicit operator bool() const { return m_pInterface != nullptr; }

    // Cleared before the release, so that nothing reached from Release sees the old object.
    void Libera()
    {
        if (T* antigo = m_pInterface) {
            m_pInterface = nullptr;
            antigo->Release();
        }
    }

    T* m_pInterface = nullptr;

private:
    // The lines the activation traces have always carried.
    static constexpr int kLinhaAtivacaoComTentativas = 97;
    static constexpr int kLinhaAtivacaoFalhou = 117;
    static constexpr int kLinhaInterfaceNula = 120;

    // Kept for the process's life: receivers of trace lines may keep the function name's pointer.
    static const std::string& NomeCoCreateInstance()
    {
        static const std::string nome = std::string("CTQComPtr<struct ") + TQIdDaInterface<T>::kNome + ">::CoCreateInstance";
        return nome;
    }
};
