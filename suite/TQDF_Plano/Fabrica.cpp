// The class object, the module's life, and the failure hook that only tests call.
#include <cstring>
#include <new>

#include "suite/TQDF_Plano/Plano.h"
#include "suite/comum/Exporta.h"

std::atomic<long> g_vivos{0};

namespace {

// Set only by TQDefineFalhaParaTestes: creation (0), slot 7 and slot 8.
std::atomic<HRESULT> g_falhaCriacao{S_OK}, g_falhaInicializa{S_OK}, g_falhaLeConta{S_OK};

std::atomic<HRESULT>* FalhaDoSlot(int slot)
{
    switch (slot) {
    case 0: return &g_falhaCriacao;
    case 7: return &g_falhaInicializa;
    case 8: return &g_falhaLeConta;
    }
    return nullptr;
}

bool Iguais(REFIID a, const IID& b)
{
    return std::memcmp(&a, &b, sizeof(IID)) == 0;
}

// One static class object for the module; its references do not keep the module loaded.
class CFabrica final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return kPonteiroNulo;
        *ppv = Iguais(riid, IID_IUnknown) || Iguais(riid, IID_IClassFactory) ? this : nullptr;
        return *ppv ? S_OK : kSemInterface;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* externo, REFIID riid, void** ppv) override
    {
        if (!ppv)
            return kPonteiroNulo;
        *ppv = nullptr;
        if (externo)
            return kSemAgregacao;
        // The hook may answer a success without an object, as a broken server would.
        if (const HRESULT hr = FalhaDeTeste(0))
            return hr;
        auto* objeto = new (std::nothrow) CTQDF_Plano;
        if (!objeto)
            return kSemMemoria;
        const HRESULT hr = objeto->QueryInterface(riid, ppv);
        objeto->Release();
        return hr;
    }

    HRESULT STDMETHODCALLTYPE LockServer(BOOL trava) override
    {
        if (trava)
            ++g_vivos;
        else
            --g_vivos;
        return S_OK;
    }
};

CFabrica g_fabrica;

} // namespace

HRESULT FalhaDeTeste(int slot)
{
    const std::atomic<HRESULT>* falha = FalhaDoSlot(slot);
    return falha ? falha->load() : S_OK;
}

TQ_EXPORTA HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv)
{
    if (!ppv)
        return kPonteiroNulo;
    *ppv = nullptr;
    if (!Iguais(rclsid, CLSID_TQDF_Plano))
        return kClasseIndisponivel;
    return g_fabrica.QueryInterface(riid, ppv);
}

TQ_EXPORTA HRESULT DllCanUnloadNow()
{
    return g_vivos == 0 ? S_OK : S_FALSE;
}

// Nothing in the product calls this: slot 0 (creation), 7 or 8 answers hr from now on; 0 clears.
TQ_EXPORTA void TQDefineFalhaParaTestes(int slot, HRESULT hr)
{
    if (std::atomic<HRESULT>* falha = FalhaDoSlot(slot))
        *falha = hr;
}
