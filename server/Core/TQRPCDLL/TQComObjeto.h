// The COM object plumbing of this server's classes: reference counting, creation with and
// without a controlling outer object, and the module's lock. A class T provides
// BuscaInterface(riid) (the interface pointer for riid, not yet counted, or null) and
// FinalConstruct().
#pragma once

#include <atomic>
#include <cstring>
#include <new>

#include <unknwn.h>

#include "platform/Tipos.h"

constexpr HRESULT kSemAgregacao = TQHResult(0x80040110);    // CLASS_E_NOAGGREGATION
constexpr HRESULT kClasseIndisponivel = TQHResult(0x80040111); // CLASS_E_CLASSNOTAVAILABLE

inline bool MesmoGuid(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Told when the module's lock count drops to 0 (a local server's module, CTQExeModule).
class CTQObservadorContagem {
public:
    virtual void ContagemZerou() = 0;

protected:
    ~CTQObservadorContagem() = default;
};

// The module's count of live objects and server locks: a module with none may be unloaded,
// and a local server with none starts its idle countdown. One atomic counter, so concurrent
// Lock and Unlock calls never lose an update; the drop to 0 is the Unlock that returns 0.
class CTQContagemModulo {
public:
    static ULONG Lock() { return ++s_lContagem; }
    static ULONG Unlock()
    {
        const ULONG n = --s_lContagem;
        if (n == 0)
            if (CTQObservadorContagem* o = s_observador.load())
                o->ContagemZerou();
        return n;
    }
    static ULONG GetLockCount() { return s_lContagem.load(); }
    // The local server's module, for the life of the module (null: nobody watches).
    static void DefineObservador(CTQObservadorContagem* o) { s_observador.store(o); }

private:
    static inline std::atomic<ULONG> s_lContagem{0};
    static inline std::atomic<CTQObservadorContagem*> s_observador{nullptr};
};

// A new object O(argumentos...) after its final construction; destroyed when that fails.
template <class O, class... A>
HRESULT TQCriaObjeto(O** pp, A... argumentos)
{
    *pp = nullptr;
    auto* p = new (std::nothrow) O(argumentos...);
    if (p == nullptr)
        return kSemMemoria;
    const HRESULT hr = p->Constroi();
    if (TQFalhou(hr)) {
        delete p;
        return hr;
    }
    *pp = p;
    return S_OK;
}

struct CComMultiThreadModel {
    static ULONG Increment(std::atomic<ULONG>& valor) { return ++valor; }
    static ULONG Decrement(std::atomic<ULONG>& valor) { return --valor; }
};

template <class Modelo>
class CComObjectRootEx {
public:
    ULONG InternalAddRef() { return Modelo::Increment(m_dwRef); }
    ULONG InternalRelease() { return Modelo::Decrement(m_dwRef); }
    void SetOuter(IUnknown* externo) { m_pOuterUnknown = externo; }

protected:
    std::atomic<ULONG> m_dwRef{0};
    IUnknown* m_pOuterUnknown = nullptr;
};

template <class T, const CLSID* pclsid>
class CComCoClass {
public:
    static const CLSID& GetObjectCLSID() { return *pclsid; }
};

// The object on its own.
template <class T>
class CComObject final : public T {
public:
    CComObject() { CTQContagemModulo::Lock(); }
    ~CComObject() { CTQContagemModulo::Unlock(); }

    // A new object with a count of 0, or the failure of its construction (the object destroyed).
    static HRESULT CreateInstance(CComObject** pp) { return TQCriaObjeto(pp); }
    HRESULT Constroi() { return this->FinalConstruct(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return kPonteiroNulo;
        *ppv = this->BuscaInterface(riid);
        if (*ppv == nullptr)
            return kSemInterface;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return this->InternalAddRef(); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG n = this->InternalRelease();
        if (n == 0)
            delete this;
        return n;
    }
};

// The object inside an aggregate: its interfaces answer for the outer object.
template <class T>
class CComContainedObject : public T {
public:
    explicit CComContainedObject(IUnknown* externo) { this->SetOuter(externo); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        return this->m_pOuterUnknown->QueryInterface(riid, ppv);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return this->m_pOuterUnknown->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return this->m_pOuterUnknown->Release(); }
};

// The aggregated object's own (non-delegating) IUnknown, which the outer object holds.
template <class T>
class CComAggObject final : public IUnknown {
public:
    explicit CComAggObject(IUnknown* externo) : m_contido(externo) { CTQContagemModulo::Lock(); }
    ~CComAggObject() { CTQContagemModulo::Unlock(); }

    static HRESULT CreateInstance(IUnknown* externo, CComAggObject** pp) { return TQCriaObjeto(pp, externo); }
    HRESULT Constroi() { return m_contido.FinalConstruct(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return kPonteiroNulo;
        if (MesmoGuid(riid, IID_IUnknown)) {
            *ppv = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = m_contido.BuscaInterface(riid);
        if (*ppv == nullptr)
            return kSemInterface;
        static_cast<IUnknown*>(*ppv)->AddRef(); // counts on the outer object
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_dwRef; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG n = --m_dwRef;
        if (n == 0)
            delete this;
        return n;
    }

private:
    std::atomic<ULONG> m_dwRef{0};
    CComContainedObject<T> m_contido;
};

// The class object of T: creates plain objects, or aggregated ones whose outer object asks
// for IUnknown. Lives as long as the module; each reference holds the module.
template <class T>
class CComClassFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return kPonteiroNulo;
        if (!MesmoGuid(riid, IID_IUnknown) && !MesmoGuid(riid, IID_IClassFactory)) {
            *ppv = nullptr;
            return kSemInterface;
        }
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return CTQContagemModulo::Lock(); }
    ULONG STDMETHODCALLTYPE Release() override { return CTQContagemModulo::Unlock(); }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* externo, REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return kPonteiroNulo;
        *ppv = nullptr;
        if (externo != nullptr && !MesmoGuid(riid, IID_IUnknown))
            return kSemAgregacao;
        IUnknown* novo = nullptr;
        HRESULT hr;
        if (externo != nullptr) {
            CComAggObject<T>* p = nullptr;
            hr = CComAggObject<T>::CreateInstance(externo, &p);
            novo = p;
        } else {
            CComObject<T>* p = nullptr;
            hr = CComObject<T>::CreateInstance(&p);
            novo = p ? static_cast<IUnknown*>(p->BuscaInterface(IID_IUnknown)) : nullptr;
        }
        if (TQFalhou(hr))
            return hr;
        // Counted once while asking, so a refused interface destroys the new object.
        novo->AddRef();
        hr = novo->QueryInterface(riid, ppv);
        novo->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override
    {
        if (fLock)
            CTQContagemModulo::Lock();
        else
            CTQContagemModulo::Unlock();
        return S_OK;
    }
};

// The class object that a local server registers with its transport: the transport's
// references do not hold the module (only LockServer does), or the server never went idle.
template <class T>
class CComClassFactoryServidor final : public CComClassFactory<T> {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};
