// The one class this server hands out: every method of ITQDF_PlanoAlt through the frame, on
// the alternative-chart business object. B is the business class (another one only in tests).
#pragma once

#include <string>

#include "df/planoalt/AlternativoBase.h"
#include "platform/Texto.h"
#include "server/Contrato.h"
#include "server/Core/TQRPCDLL/TQComObjeto.h"
#include "server/Core/TQRPCDLL/T_TQUnknown.h"

template <class B>
struct NomesTQUnknown<ITQDF_PlanoAlt, B> {
#define ZAZ_TQUNKNOWN "T_TQUnknown<struct ITQDF_PlanoAlt,class CBasePlanoAlternativo>::"
    static constexpr const char* kFuncaoGenerica = ZAZ_TQUNKNOWN "FuncaoGenerica";
    static constexpr const char* kInicializaPadrao = ZAZ_TQUNKNOWN "Inicializa_Padrao";
    static constexpr const char* kInicializaChamada =
        ZAZ_TQUNKNOWN "Inicializa_Padrao::<lambda_e191d495e4e5a467a5b6991361817447>::operator ()";
    static constexpr const char* kConstrutor = ZAZ_TQUNKNOWN "T_TQUnknown";
    static constexpr const char* kDestrutor = ZAZ_TQUNKNOWN "~T_TQUnknown";
#undef ZAZ_TQUNKNOWN
};

template <class B>
class CTQDF_PlanoAltT : public CComObjectRootEx<CComMultiThreadModel>,
                        public CComCoClass<CTQDF_PlanoAltT<B>, &CLSID_TQDF_PlanoAlt>,
                        public T_TQUnknown<ITQDF_PlanoAlt, B> {
public:
    void* BuscaInterface(REFIID riid)
    {
        if (MesmoGuid(riid, IID_IUnknown) || MesmoGuid(riid, IID_ITQUnknown) || MesmoGuid(riid, IID_ITQDF_PlanoAlt))
            return static_cast<ITQDF_PlanoAlt*>(this);
        return nullptr;
    }

// One wrapper per method: its qualified name and line, and the business call with the
// client's arguments unchanged.
#define ZAZ_METODO(metodo, chamada)                                                                     \
    {                                                                                                   \
        static constexpr LocalChamada kLocal{{"CTQDF_PlanoAlt::" #metodo}, kFonte};            \
        return this->Chama(kLocal, [&](B& b) { return b.chamada; });                                    \
    }

    HRESULT STDMETHODCALLTYPE BuscaPlanos(ARRAY_REG_DADOS_PLANO_ALT_PS** pp) override
        ZAZ_METODO(BuscaPlanos, BuscaPlanos(pp))
    HRESULT STDMETHODCALLTYPE GravaPlano(LONG lPosicaoIn, REG_DADOS_PLANO_ALT_PS reg, LONG* lPosicaoOut) override
        ZAZ_METODO(GravaPlano, GravaPlano(lPosicaoIn, reg, lPosicaoOut))
    HRESULT STDMETHODCALLTYPE ExcluiPlanos(ARRAY_REG_EXCLUI_PLANO_ALT_PS reg) override
        ZAZ_METODO(ExcluiPlanos, ExcluiPlanos(reg))
    HRESULT STDMETHODCALLTYPE SetPlano(LONG lPosicaoPlano) override
        ZAZ_METODO(SetPlano, SetPlano(lPosicaoPlano))
    HRESULT STDMETHODCALLTYPE SetMascara(LONG lPosicaoPlano, REG_MASCARA_ALT_PS reg) override
        ZAZ_METODO(SetMascara, SetMascara(lPosicaoPlano, reg))
    HRESULT STDMETHODCALLTYPE BuscaMascara(LONG lPosicaoPlano, REG_MASCARA_ALT_PS* reg) override
        ZAZ_METODO(BuscaMascara, BuscaMascara(lPosicaoPlano, reg))
    HRESULT STDMETHODCALLTYPE Le(LONG lPosicaoIn, REG_PLANO_ALT_PS* reg) override
        ZAZ_METODO(Le, Le(lPosicaoIn, reg))
    HRESULT STDMETHODCALLTYPE Grava(LONG lPosicaoIn, REG_PLANO_ALT_PS reg, LONG* lPosicaoOut) override
        ZAZ_METODO(Grava, Grava(lPosicaoIn, reg, lPosicaoOut))
    HRESULT STDMETHODCALLTYPE GetQuantidadeRegistros(ULONG* lQuantidade) override
        ZAZ_METODO(GetQuantidadeRegistros, GetQuantidadeRegistros(lQuantidade))
    HRESULT STDMETHODCALLTYPE BuscaDados(LONG lQtd, LONG* lPosicoes, REG_PLANO_ALT_PS* regs) override
        ZAZ_METODO(BuscaDados, BuscaDados(lQtd, lPosicoes, regs))
    HRESULT STDMETHODCALLTYPE GetPlanoIndex(BSTR bsTipo, ULONG lPosicao, ARRAY_REGCON_INDEX_ALT_PS** pp) override
        ZAZ_METODO(GetPlanoIndex, GetPlanoIndex(bsTipo, lPosicao, pp))
    HRESULT STDMETHODCALLTYPE AlteraMascara(_MASCARA_PLANO_ALT* Mascara) override
        ZAZ_METODO(AlteraMascara, AlteraMascara(Mascara))
    HRESULT STDMETHODCALLTYPE Existe(BSTR bsCodigo, int iPrioridade, LONG* lPosicao, REG_PLANO_ALT_PS* reg) override
        ZAZ_METODO(Existe, Existe(bsCodigo, iPrioridade, lPosicao, reg))
    HRESULT STDMETHODCALLTYPE ExisteContaTitulo(BSTR bsClassificacao, LONG* lPosicao) override
        ZAZ_METODO(ExisteContaTitulo, ExisteContaTitulo(bsClassificacao, lPosicao))
    HRESULT STDMETHODCALLTYPE ExisteSubordinadas(BSTR bsClassificacao) override
        ZAZ_METODO(ExisteSubordinadas, ExisteSubordinadas(bsClassificacao))
    HRESULT STDMETHODCALLTYPE Vinculo(REG_VINCULO_ALT reg) override
        ZAZ_METODO(Vinculo, Vinculo(reg))
    HRESULT STDMETHODCALLTYPE BuscaVinculo(LONG lPosicaoAlt, ARRAY_REGCON_INDEX_ALT_PS** pp) override
        ZAZ_METODO(BuscaVinculo, BuscaVinculo(lPosicaoAlt, pp))
    HRESULT STDMETHODCALLTYPE ExcluiContas(int iQtd, LONG* pPosicoes) override
        ZAZ_METODO(ExcluiContas, ExcluiContas(iQtd, pPosicoes))
#undef ZAZ_METODO

    // The report's texts reach the business object in the ANSI code page.
    HRESULT STDMETHODCALLTYPE GeraRelatorioPlanoAlternativo(BSTR bsArquivoTmp, BSTR bsRelatorio, BSTR bsRazaoSocial,
                                                            LONG lPlano) override
    {
        static constexpr LocalChamada kLocal{{"CTQDF_PlanoAlt::GeraRelatorioPlanoAlternativo"}, kFonte};
        return this->Chama(kLocal, [&](B& b) {
            const std::string arquivo = plataforma::BstrParaAnsi(bsArquivoTmp);
            const std::string relatorio = plataforma::BstrParaAnsi(bsRelatorio);
            const std::string razao = plataforma::BstrParaAnsi(bsRazaoSocial);
            return b.GeraRelatorioPlanoAlternativo(arquivo.c_str(), relatorio.c_str(), razao.c_str(), lPlano);
        });
    }

private:
    static constexpr const char* kFonte = "TQDF_PlanoAlt";
};

class CTQDF_PlanoAlt : public CTQDF_PlanoAltT<CBasePlanoAlternativo> {};

// The class object for CLSID_TQDF_PlanoAlt (any other: CLASS_E_CLASSNOTAVAILABLE), and whether
// the module holds no object and no lock.
HRESULT ZazObtemObjetoClasse(REFCLSID rclsid, REFIID riid, void** ppv);
HRESULT ZazPodeDescarregar();
