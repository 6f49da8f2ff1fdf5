// The contract as both builds compile it: record layouts, identifiers and the order of the slots
// that clients compiled elsewhere call by position.
#include <functional>
#include <string>

#include <gtest/gtest.h>

// The diagnostics layer's own headers of the session and error records come first: the
// contract's generated header must reuse them, not declare the records a second time.
#include "df/tqlibex/RegErro.h"
#include "df/tqlibex/RegInicializa.h"

#include "Registros.h"
#include "platform/Texto.h"

namespace {

using plataforma::GuidParaTexto;

// Every field is declared (the offsets are pinned in server/Contrato.h) and the fields tile the
// record: no padding that a client compiled elsewhere would not have.
TEST(Contrato, CamposCobremCadaRegistroSemLacunas)
{
    for (const auto& r : contrato::Registros()) {
        SCOPED_TRACE(r.nome);
        size_t fim = 0;
        for (const auto& c : r.campos) {
            EXPECT_EQ(c.posicao, fim) << c.nome;
            fim = c.posicao + c.tamanho;
        }
        EXPECT_EQ(fim, r.tamanho);
    }
}

TEST(Contrato, IdentificadoresSaoOsDoServidor)
{
    EXPECT_EQ(GuidParaTexto(IID_ITQUnknown), "{1756CF8E-B27F-48A2-A362-64C617F9DC50}");
    EXPECT_EQ(GuidParaTexto(IID_ITQDF_PlanoAlt), "{9BFEA788-E1A1-42DD-8147-D25D6BDFE507}");
    EXPECT_EQ(GuidParaTexto(CLSID_TQDF_PlanoAlt), "{BFF9E78E-4966-4F37-99E4-6AA640C3705E}");
    EXPECT_EQ(GuidParaTexto(LIBID_ZAZAZULib), "{AE4936D3-574B-476F-AB6C-9E6C1571821D}");
    EXPECT_EQ(GuidParaTexto(IID_IUnknown), "{00000000-0000-0000-C000-000000000046}");
}

// Every slot records which method ran and the position argument it got.
class Sonda : public ITQDF_PlanoAlt {
public:
    std::string m_metodo;
    long m_valor = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return Marca("QueryInterface"); }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(Marca("AddRef")); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(Marca("Release")); }
    HRESULT STDMETHODCALLTYPE Inicializa_Padrao(_REG_DF_INICIALIZAPS r) override
    {
        return Marca("Inicializa_Padrao", static_cast<long>(r.uiCRC));
    }
    HRESULT STDMETHODCALLTYPE KeepAlive(LONG*) override { return Marca("KeepAlive"); }
    HRESULT STDMETHODCALLTYPE GetUltimoErro(_REG_DF_ERROPS*) override { return Marca("GetUltimoErro"); }
    HRESULT STDMETHODCALLTYPE FuncaoGenerica(ULONG f, _REG_DF_FUNCAO_GENERICAPS r, _REG_DF_FUNCAO_GENERICAPS**) override
    {
        return Marca("FuncaoGenerica", static_cast<long>(f + r.ulQtdBytes));
    }
    HRESULT STDMETHODCALLTYPE BuscaPlanos(ARRAY_REG_DADOS_PLANO_ALT_PS**) override { return Marca("BuscaPlanos"); }
    HRESULT STDMETHODCALLTYPE GravaPlano(LONG l, REG_DADOS_PLANO_ALT_PS r, LONG*) override
    {
        return Marca("GravaPlano", l + r.lPosicaoPlano);
    }
    HRESULT STDMETHODCALLTYPE ExcluiPlanos(ARRAY_REG_EXCLUI_PLANO_ALT_PS r) override { return Marca("ExcluiPlanos", r.iQtd); }
    HRESULT STDMETHODCALLTYPE SetPlano(LONG l) override { return Marca("SetPlano", l); }
    HRESULT STDMETHODCALLTYPE SetMascara(LONG l, REG_MASCARA_ALT_PS r) override
    {
        return Marca("SetMascara", l + r.Caracteristica[9]);
    }
    HRESULT STDMETHODCALLTYPE BuscaMascara(LONG l, REG_MASCARA_ALT_PS*) override { return Marca("BuscaMascara", l); }
    HRESULT STDMETHODCALLTYPE Le(LONG l, REG_PLANO_ALT_PS*) override { return Marca("Le", l); }
    HRESULT STDMETHODCALLTYPE Grava(LONG l, REG_PLANO_ALT_PS r, LONG*) override { return Marca("Grava", l + r.cTipo); }
    HRESULT STDMETHODCALLTYPE GetQuantidadeRegistros(ULONG*) override { return Marca("GetQuantidadeRegistros"); }
    HRESULT STDMETHODCALLTYPE BuscaDados(LONG l, LONG*, REG_PLANO_ALT_PS*) override { return Marca("BuscaDados", l); }
    HRESULT STDMETHODCALLTYPE GetPlanoIndex(BSTR, ULONG l, ARRAY_REGCON_INDEX_ALT_PS**) override
    {
        return Marca("GetPlanoIndex", static_cast<long>(l));
    }
    HRESULT STDMETHODCALLTYPE AlteraMascara(_MASCARA_PLANO_ALT*) override { return Marca("AlteraMascara"); }
    HRESULT STDMETHODCALLTYPE Existe(BSTR, int i, LONG*, REG_PLANO_ALT_PS*) override { return Marca("Existe", i); }
    HRESULT STDMETHODCALLTYPE ExisteContaTitulo(BSTR, LONG*) override { return Marca("ExisteContaTitulo"); }
    HRESULT STDMETHODCALLTYPE ExisteSubordinadas(BSTR) override { return Marca("ExisteSubordinadas"); }
    HRESULT STDMETHODCALLTYPE Vinculo(REG_VINCULO_ALT r) override { return Marca("Vinculo", r.lPosicaoPla); }
    HRESULT STDMETHODCALLTYPE BuscaVinculo(LONG l, ARRAY_REGCON_INDEX_ALT_PS**) override { return Marca("BuscaVinculo", l); }
    HRESULT STDMETHODCALLTYPE GeraRelatorioPlanoAlternativo(BSTR, BSTR, BSTR, LONG l) override
    {
        return Marca("GeraRelatorioPlanoAlternativo", l);
    }
    HRESULT STDMETHODCALLTYPE ExcluiContas(int i, LONG*) override { return Marca("ExcluiContas", i); }

private:
    HRESULT Marca(const char* metodo, long valor = 0)
    {
        m_metodo = metodo;
        m_valor = valor;
        return 7;
    }
};

// Calls the slot as a client compiled elsewhere does: by its position in the table, with the
// object as first argument.
template <typename R = HRESULT, typename... A>
R ChamaSlot(ITQDF_PlanoAlt* objeto, size_t slot, A... argumentos)
{
    using Funcao = R(STDMETHODCALLTYPE*)(ITQDF_PlanoAlt*, A...);
    void* const* tabela = *reinterpret_cast<void* const* const*>(objeto);
    return reinterpret_cast<Funcao>(tabela[slot])(objeto, argumentos...);
}

TEST(Contrato, CadaSlotChamaOMetodoDaSuaPosicao)
{
    Sonda sonda;
    ITQDF_PlanoAlt* p = &sonda;
    _REG_DF_INICIALIZAPS inicializa{};
    inicializa.uiCRC = 296;
    _REG_DF_FUNCAO_GENERICAPS generica{};
    generica.ulQtdBytes = 20;
    REG_DADOS_PLANO_ALT_PS dados{};
    dados.lPosicaoPlano = 70;
    ARRAY_REG_EXCLUI_PLANO_ALT_PS exclui{};
    exclui.iQtd = 9;
    REG_MASCARA_ALT_PS mascara{};
    mascara.Caracteristica[9] = 5;
    REG_PLANO_ALT_PS conta{};
    conta.cTipo = 'A';
    REG_VINCULO_ALT vinculo{};
    vinculo.lPosicaoPla = 22;
    LONG l = 0;
    ULONG ul = 0;
    BSTR texto = nullptr;

    struct Caso {
        size_t slot;
        long valor;
        std::function<HRESULT()> chama;
    };
    const Caso casos[] = {
        {0, 0, [&] { return ChamaSlot(p, 0, &IID_IUnknown, static_cast<void**>(nullptr)); }},
        {1, 0, [&] { return static_cast<HRESULT>(ChamaSlot<ULONG>(p, 1)); }},
        {2, 0, [&] { return static_cast<HRESULT>(ChamaSlot<ULONG>(p, 2)); }},
        {3, 296, [&] { return ChamaSlot(p, 3, inicializa); }},
        {4, 0, [&] { return ChamaSlot(p, 4, &l); }},
        {5, 0, [&] { return ChamaSlot(p, 5, static_cast<_REG_DF_ERROPS*>(nullptr)); }},
        {6, 21, [&] { return ChamaSlot(p, 6, ULONG{1}, generica, static_cast<_REG_DF_FUNCAO_GENERICAPS**>(nullptr)); }},
        {7, 0, [&] { return ChamaSlot(p, 7, static_cast<ARRAY_REG_DADOS_PLANO_ALT_PS**>(nullptr)); }},
        {8, 71, [&] { return ChamaSlot(p, 8, LONG{1}, dados, &l); }},
        {9, 9, [&] { return ChamaSlot(p, 9, exclui); }},
        {10, 10, [&] { return ChamaSlot(p, 10, LONG{10}); }},
        {11, 16, [&] { return ChamaSlot(p, 11, LONG{11}, mascara); }},
        {12, 12, [&] { return ChamaSlot(p, 12, LONG{12}, &mascara); }},
        {13, 13, [&] { return ChamaSlot(p, 13, LONG{13}, &conta); }},
        {14, 14 + 'A', [&] { return ChamaSlot(p, 14, LONG{14}, conta, &l); }},
        {15, 0, [&] { return ChamaSlot(p, 15, &ul); }},
        {16, 16, [&] { return ChamaSlot(p, 16, LONG{16}, &l, &conta); }},
        {17, 17, [&] { return ChamaSlot(p, 17, texto, ULONG{17}, static_cast<ARRAY_REGCON_INDEX_ALT_PS**>(nullptr)); }},
        {18, 0, [&] { return ChamaSlot(p, 18, static_cast<_MASCARA_PLANO_ALT*>(nullptr)); }},
        {19, 19, [&] { return ChamaSlot(p, 19, texto, 19, &l, &conta); }},
        {20, 0, [&] { return ChamaSlot(p, 20, texto, &l); }},
        {21, 0, [&] { return ChamaSlot(p, 21, texto); }},
        {22, 22, [&] { return ChamaSlot(p, 22, vinculo); }},
        {23, 23, [&] { return ChamaSlot(p, 23, LONG{23}, static_cast<ARRAY_REGCON_INDEX_ALT_PS**>(nullptr)); }},
        {24, 24, [&] { return ChamaSlot(p, 24, texto, texto, texto, LONG{24}); }},
        {25, 25, [&] { return ChamaSlot(p, 25, 25, &l); }},
    };
    ASSERT_EQ(std::size(casos), contrato::Slots().size());
    for (const auto& c : casos) {
        SCOPED_TRACE(c.slot);
        EXPECT_EQ(c.slot, static_cast<size_t>(&c - casos));
        EXPECT_EQ(c.chama(), 7);
        EXPECT_EQ(sonda.m_metodo, contrato::Slots().at(c.slot).nome);
        EXPECT_EQ(sonda.m_valor, c.valor);
    }
}

} // namespace
