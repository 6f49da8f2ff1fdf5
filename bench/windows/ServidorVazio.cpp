#include "ServidorVazio.h"

#include <atomic>

#include "server/Contrato.h"

namespace {

std::atomic<long> g_objetos{0};
HANDLE g_fim = nullptr;

class Vazio final : public ITQDF_PlanoAlt {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_ITQUnknown || riid == IID_ITQDF_PlanoAlt) {
            *ppv = static_cast<ITQDF_PlanoAlt*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_ref; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG n = --m_ref;
        if (n == 0) {
            delete this;
            if (--g_objetos == 0)
                SetEvent(g_fim);
        }
        return n;
    }
    HRESULT STDMETHODCALLTYPE Inicializa_Padrao(_REG_DF_INICIALIZAPS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE KeepAlive(LONG*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUltimoErro(_REG_DF_ERROPS*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE FuncaoGenerica(ULONG, _REG_DF_FUNCAO_GENERICAPS, _REG_DF_FUNCAO_GENERICAPS**) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE BuscaPlanos(ARRAY_REG_DADOS_PLANO_ALT_PS**) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GravaPlano(LONG, REG_DADOS_PLANO_ALT_PS, LONG*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ExcluiPlanos(ARRAY_REG_EXCLUI_PLANO_ALT_PS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetPlano(LONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetMascara(LONG, REG_MASCARA_ALT_PS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE BuscaMascara(LONG, REG_MASCARA_ALT_PS*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Le(LONG, REG_PLANO_ALT_PS*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Grava(LONG, REG_PLANO_ALT_PS, LONG*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetQuantidadeRegistros(ULONG*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE BuscaDados(LONG, LONG*, REG_PLANO_ALT_PS*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetPlanoIndex(BSTR, ULONG, ARRAY_REGCON_INDEX_ALT_PS**) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE AlteraMascara(_MASCARA_PLANO_ALT*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Existe(BSTR, int, LONG*, REG_PLANO_ALT_PS*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ExisteContaTitulo(BSTR, LONG*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ExisteSubordinadas(BSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Vinculo(REG_VINCULO_ALT) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE BuscaVinculo(LONG, ARRAY_REGCON_INDEX_ALT_PS**) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GeraRelatorioPlanoAlternativo(BSTR, BSTR, BSTR, LONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ExcluiContas(int, LONG*) override { return S_OK; }

private:
    std::atomic<ULONG> m_ref{0};
};

class Fabrica final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = (riid == IID_IUnknown || riid == IID_IClassFactory) ? this : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* externo, REFIID riid, void** ppv) override
    {
        if (externo)
            return CLASS_E_NOAGGREGATION;
        ++g_objetos;
        auto* v = new Vazio;
        v->AddRef();
        const HRESULT hr = v->QueryInterface(riid, ppv);
        v->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

} // namespace

int ServeVazio()
{
    g_fim = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    static Fabrica fabrica;
    DWORD cookie = 0;
    HRESULT hr = CoRegisterClassObject(kClsidVazio, &fabrica, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie);
    if (SUCCEEDED(hr))
        WaitForSingleObject(g_fim, INFINITE);
    CoRevokeClassObject(cookie);
    CoUninitialize();
    return int(hr);
}
