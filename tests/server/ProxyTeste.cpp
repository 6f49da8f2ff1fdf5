// The proxy/stub DLL built from the contract marshals every kind of argument the interface has:
// records by value, sized arrays in and out, blocks allocated by the server, BSTRs. A call from a
// single-threaded apartment to an object in the multithreaded one goes through it.
#ifdef _WIN32

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include "server/Contrato.h"

namespace {

// Registers the proxy/stub class of the DLL for both interfaces in the calling apartment, as
// the registry entries would system-wide.
class ProxyRegistrado {
public:
    explicit ProxyRegistrado(HMODULE dll)
    {
        using Funcao = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
        auto obtem = reinterpret_cast<Funcao>(reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
        IUnknown* fabrica = nullptr;
        // Without PROXY_CLSID_IS the proxy class is named after the first interface.
        m_hr = obtem ? obtem(IID_ITQUnknown, IID_IUnknown, reinterpret_cast<void**>(&fabrica)) : E_FAIL;
        if (m_hr == S_OK)
            m_hr = CoRegisterClassObject(IID_ITQUnknown, fabrica, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie);
        if (fabrica)
            fabrica->Release();
        if (m_hr == S_OK)
            m_hr = CoRegisterPSClsid(IID_ITQUnknown, IID_ITQUnknown);
        if (m_hr == S_OK)
            m_hr = CoRegisterPSClsid(IID_ITQDF_PlanoAlt, IID_ITQUnknown);
    }
    ~ProxyRegistrado()
    {
        if (m_cookie)
            CoRevokeClassObject(m_cookie);
    }
    HRESULT Resultado() const { return m_hr; }

private:
    HRESULT m_hr = E_FAIL;
    DWORD m_cookie = 0;
};

class PlanoEco : public ITQDF_PlanoAlt {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ITQUnknown) || IsEqualIID(riid, IID_ITQDF_PlanoAlt)) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_refs; }
    HRESULT STDMETHODCALLTYPE Inicializa_Padrao(_REG_DF_INICIALIZAPS r) override
    {
        return r.uiCRC == 0x0102030405060708ull && std::strcmp(r.szEmpresa, "EMP") == 0 && r.cWTS == 1 ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE KeepAlive(LONG* ok) override { *ok = 1; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUltimoErro(_REG_DF_ERROPS* e) override
    {
        std::memset(e, 0, sizeof *e);
        e->hr = static_cast<HRESULT>(0x81080A04);
        std::strcpy(e->szEmpresa, "EMP");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE FuncaoGenerica(ULONG, _REG_DF_FUNCAO_GENERICAPS in, _REG_DF_FUNCAO_GENERICAPS** out) override
    {
        // The bytes come back reversed.
        auto* r = static_cast<_REG_DF_FUNCAO_GENERICAPS*>(CoTaskMemAlloc(sizeof(_REG_DF_FUNCAO_GENERICAPS)));
        std::memset(r, 0, sizeof *r);
        r->ulQtdBytes = in.ulQtdBytes;
        r->pListaBytes = static_cast<uint8_t*>(CoTaskMemAlloc(in.ulQtdBytes));
        for (ULONG i = 0; i < in.ulQtdBytes; ++i)
            r->pListaBytes[i] = in.pListaBytes[in.ulQtdBytes - 1 - i];
        *out = r;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE BuscaPlanos(ARRAY_REG_DADOS_PLANO_ALT_PS** pp) override
    {
        auto* a = static_cast<ARRAY_REG_DADOS_PLANO_ALT_PS*>(CoTaskMemAlloc(sizeof(ARRAY_REG_DADOS_PLANO_ALT_PS)));
        std::memset(a, 0, sizeof *a);
        a->iQtde = 2;
        a->pArrayDadosPlanoAlt = static_cast<REG_DADOS_PLANO_ALT_PS*>(CoTaskMemAlloc(2 * sizeof(REG_DADOS_PLANO_ALT_PS)));
        std::memset(a->pArrayDadosPlanoAlt, 0, 2 * sizeof(REG_DADOS_PLANO_ALT_PS));
        a->pArrayDadosPlanoAlt[0].lPosicaoPlano = 1;
        a->pArrayDadosPlanoAlt[1].lPosicaoPlano = 3;
        std::strcpy(a->pArrayDadosPlanoAlt[1].cNomePlano, "Gerencial");
        *pp = a;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GravaPlano(LONG l, REG_DADOS_PLANO_ALT_PS r, LONG* out) override
    {
        *out = l + r.lPosicaoPlano + static_cast<LONG>(std::strlen(r.cNomePlano));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ExcluiPlanos(ARRAY_REG_EXCLUI_PLANO_ALT_PS r) override
    {
        m_soma = 0;
        for (UINT i = 0; i < r.iQtd; ++i)
            m_soma += r.pPosicoes[i];
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetPlano(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMascara(LONG, REG_MASCARA_ALT_PS r) override { return r.Caracteristica[9] == 'A' ? S_OK : E_FAIL; }
    HRESULT STDMETHODCALLTYPE BuscaMascara(LONG, REG_MASCARA_ALT_PS*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Le(LONG, REG_PLANO_ALT_PS*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Grava(LONG, REG_PLANO_ALT_PS, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetQuantidadeRegistros(ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BuscaDados(LONG n, LONG* posicoes, REG_PLANO_ALT_PS* contas) override
    {
        for (LONG i = 0; i < n; ++i) {
            std::memset(&contas[i], 0, sizeof contas[i]);
            contas[i].lPosicaoConta = posicoes[i];
            contas[i].cTipo = 'A';
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPlanoIndex(BSTR tipo, ULONG, ARRAY_REGCON_INDEX_ALT_PS** pp) override
    {
        // As many entries as the text has characters: the BSTR arrived whole.
        auto* a = static_cast<ARRAY_REGCON_INDEX_ALT_PS*>(CoTaskMemAlloc(sizeof(ARRAY_REGCON_INDEX_ALT_PS)));
        std::memset(a, 0, sizeof *a);
        a->iQtde = static_cast<unsigned short>(SysStringLen(tipo));
        a->pArrayRegConIndex = a->iQtde ? static_cast<REGCON_INDEX_ALT_PS*>(CoTaskMemAlloc(a->iQtde * sizeof(REGCON_INDEX_ALT_PS))) : nullptr;
        for (unsigned i = 0; i < a->iQtde; ++i) {
            std::memset(&a->pArrayRegConIndex[i], 0, sizeof(REGCON_INDEX_ALT_PS));
            a->pArrayRegConIndex[i].Tipo_IndCon = tipo[i];
        }
        *pp = a;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AlteraMascara(_MASCARA_PLANO_ALT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Existe(BSTR, int, LONG*, REG_PLANO_ALT_PS*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ExisteContaTitulo(BSTR, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ExisteSubordinadas(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Vinculo(REG_VINCULO_ALT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BuscaVinculo(LONG, ARRAY_REGCON_INDEX_ALT_PS**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GeraRelatorioPlanoAlternativo(BSTR, BSTR, BSTR, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ExcluiContas(int, LONG*) override { return E_NOTIMPL; }

    std::atomic<ULONG> m_refs{1};
    LONG m_soma = 0;
};

HMODULE CarregaProxy()
{
    // The build tree holds server/ZAZAZUps.dll beside tests/.
    wchar_t caminho[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, caminho, MAX_PATH);
    std::wstring dll(caminho, n);
    dll.resize(dll.find_last_of(L"\\/") + 1);
    dll += L"..\\server\\ZAZAZUps.dll";
    return LoadLibraryW(dll.c_str());
}

TEST(ProxyStub, ArgumentosAtravessamOApartamento)
{
    HMODULE dll = CarregaProxy();
    ASSERT_NE(dll, nullptr);
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    {
        ProxyRegistrado sta(dll);
        ASSERT_EQ(sta.Resultado(), S_OK);

        // The object lives in the multithreaded apartment until the caller is done.
        PlanoEco objeto;
        IStream* fluxo = nullptr;
        HANDLE pronto = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HANDLE fim = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HRESULT hrServidor = E_FAIL;
        std::thread servidor([&] {
            CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            {
                ProxyRegistrado mta(dll);
                hrServidor = mta.Resultado();
                if (hrServidor == S_OK)
                    hrServidor = CoMarshalInterThreadInterfaceInStream(IID_ITQDF_PlanoAlt, &objeto, &fluxo);
                SetEvent(pronto);
                WaitForSingleObject(fim, INFINITE);
            }
            CoUninitialize();
        });
        WaitForSingleObject(pronto, INFINITE);
        ITQDF_PlanoAlt* proxy = nullptr;
        EXPECT_EQ(hrServidor, S_OK);
        if (hrServidor == S_OK) {
            EXPECT_EQ(CoGetInterfaceAndReleaseStream(fluxo, IID_ITQDF_PlanoAlt, reinterpret_cast<void**>(&proxy)), S_OK);
        }
        if (proxy) {
            EXPECT_NE(static_cast<void*>(proxy), static_cast<void*>(&objeto));

            _REG_DF_INICIALIZAPS ini{};
            ini.uiCRC = 0x0102030405060708ull;
            std::strcpy(ini.szEmpresa, "EMP");
            ini.cWTS = 1;
            EXPECT_EQ(proxy->Inicializa_Padrao(ini), S_OK);

            _REG_DF_ERROPS erro;
            EXPECT_EQ(proxy->GetUltimoErro(&erro), S_OK);
            EXPECT_EQ(static_cast<uint32_t>(erro.hr), 0x81080A04u);
            EXPECT_STREQ(erro.szEmpresa, "EMP");

            uint8_t bytes[] = {1, 2, 3};
            _REG_DF_FUNCAO_GENERICAPS entrada{};
            entrada.ulQtdBytes = 3;
            entrada.pListaBytes = bytes;
            _REG_DF_FUNCAO_GENERICAPS* saida = nullptr;
            ASSERT_EQ(proxy->FuncaoGenerica(9, entrada, &saida), S_OK);
            ASSERT_NE(saida, nullptr);
            ASSERT_EQ(saida->ulQtdBytes, 3u);
            EXPECT_EQ(saida->pListaBytes[0], 3);
            EXPECT_EQ(saida->pListaBytes[2], 1);
            CoTaskMemFree(saida->pListaBytes);
            CoTaskMemFree(saida);

            ARRAY_REG_DADOS_PLANO_ALT_PS* planos = nullptr;
            ASSERT_EQ(proxy->BuscaPlanos(&planos), S_OK);
            ASSERT_NE(planos, nullptr);
            ASSERT_EQ(planos->iQtde, 2);
            EXPECT_EQ(planos->pArrayDadosPlanoAlt[1].lPosicaoPlano, 3);
            EXPECT_STREQ(planos->pArrayDadosPlanoAlt[1].cNomePlano, "Gerencial");
            CoTaskMemFree(planos->pArrayDadosPlanoAlt);
            CoTaskMemFree(planos);

            REG_DADOS_PLANO_ALT_PS plano{};
            plano.lPosicaoPlano = 10;
            std::strcpy(plano.cNomePlano, "Novo");
            LONG posicao = 0;
            EXPECT_EQ(proxy->GravaPlano(100, plano, &posicao), S_OK);
            EXPECT_EQ(posicao, 114);

            LONG excluir[] = {4, 5, 6};
            ARRAY_REG_EXCLUI_PLANO_ALT_PS exclui{};
            exclui.iQtd = 3;
            exclui.pPosicoes = excluir;
            EXPECT_EQ(proxy->ExcluiPlanos(exclui), S_OK);
            EXPECT_EQ(objeto.m_soma, 15);

            REG_MASCARA_ALT_PS mascara{};
            mascara.Caracteristica[9] = 'A';
            EXPECT_EQ(proxy->SetMascara(1, mascara), S_OK);

            LONG posicoes[] = {7, 8};
            REG_PLANO_ALT_PS contas[2] = {};
            EXPECT_EQ(proxy->BuscaDados(2, posicoes, contas), S_OK);
            EXPECT_EQ(contas[1].lPosicaoConta, 8);
            EXPECT_EQ(contas[1].cTipo, 'A');

            BSTR tipo = SysAllocString(L"CA");
            ARRAY_REGCON_INDEX_ALT_PS* indice = nullptr;
            ASSERT_EQ(proxy->GetPlanoIndex(tipo, 0, &indice), S_OK);
            SysFreeString(tipo);
            ASSERT_NE(indice, nullptr);
            ASSERT_EQ(indice->iQtde, 2);
            EXPECT_EQ(indice->pArrayRegConIndex[1].Tipo_IndCon, static_cast<ULONG>('A'));
            CoTaskMemFree(indice->pArrayRegConIndex);
            CoTaskMemFree(indice);

            // An empty block is valid and carries no elements.
            tipo = SysAllocString(L"");
            ASSERT_EQ(proxy->GetPlanoIndex(tipo, 0, &indice), S_OK);
            SysFreeString(tipo);
            ASSERT_NE(indice, nullptr);
            EXPECT_EQ(indice->iQtde, 0);
            CoTaskMemFree(indice->pArrayRegConIndex);
            CoTaskMemFree(indice);

            EXPECT_EQ(proxy->SetPlano(1), E_NOTIMPL);
            proxy->Release();
        }
        SetEvent(fim);
        servidor.join();
        CloseHandle(pronto);
        CloseHandle(fim);
    }
    CoUninitialize();
}

} // namespace

#endif
