// Links to the main chart, chained per account, and the deletion of accounts with their subtrees.
#include <cstring>
#include <string>
#include <vector>

#include "apoio/Apoio.h"
#include "ServicoTeste.h"
#include "df/planoalt/AlternativoBase.h"
#include "df/planoalt/ArquivosPlano.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Texto.h"

namespace {

class Vinculos : public teste::ServicoTeste {
protected:
    void SetUp() override
    {
        ServicoTeste::SetUp();
        SelecionaPlano();
        // The main chart: 1 summary "1", 2 analytic "1.1.05".
        std::string principal(96, '\0');
        principal += Empresarial("1", 0x01);
        principal += Empresarial("1.1.05", 0x00);
        apoio::GravaTudo(m_dir + "DFPLAEMP.DAT", principal);
    }

    static std::string Empresarial(const char* classificacao, uint8_t status)
    {
        std::string r(96, '\0');
        EmpacotaClassificacao(classificacao, reinterpret_cast<uint8_t*>(r.data()));
        r[14] = char(status);
        return r;
    }

    LONG Conta(const char* classificacao, char tipo, const char* codigo)
    {
        REG_PLANO_ALT_PS r{};
        std::strcpy(r.cClassificacao, classificacao);
        std::strcpy(r.cCodigoProprio, codigo);
        r.cTipo = uint8_t(tipo);
        LONG posicao = 0;
        EXPECT_EQ(m_objeto.Grava(0, r, &posicao), S_OK);
        return posicao;
    }

    HRESULT Liga(LONG alt, LONG pla, uint16_t caracteristica = 0, LONG excluir = 0)
    {
        REG_VINCULO_ALT v{};
        v.bExcluir = excluir;
        v.lPosicaoAlt = alt;
        v.lPosicaoPla = pla;
        v.iCaracteristicaPla = caracteristica;
        return m_objeto.Vinculo(v);
    }

    std::vector<REGCON_INDEX_ALT_PS> Busca(LONG alt, HRESULT esperado = S_OK)
    {
        ARRAY_REGCON_INDEX_ALT_PS* lista = nullptr;
        EXPECT_EQ(m_objeto.BuscaVinculo(alt, &lista), esperado);
        std::vector<REGCON_INDEX_ALT_PS> r;
        if (!lista)
            return r;
        r.assign(lista->pArrayRegConIndex, lista->pArrayRegConIndex + lista->iQtde);
        plataforma::LiberaTarefa(lista->pArrayRegConIndex);
        plataforma::LiberaTarefa(lista);
        return r;
    }

    RegContaPlano ContaDoArquivo(LONG posicao)
    {
        RegContaPlano r{};
        std::memcpy(&r, apoio::LeTudo(m_dir + "DFPLA001.DAT").data() + posicao * sizeof r, sizeof r);
        return r;
    }

    RegVinculoPlano VinculoDoArquivo(uint32_t n)
    {
        RegVinculoPlano r{};
        std::memcpy(&r, apoio::LeTudo(m_dir + "DFVIN001.DAT").data() + n * sizeof r, sizeof r);
        return r;
    }

};

TEST_F(Vinculos, CadeiaPorContaComAcrescimosNaCauda)
{
    Conta("1", 'T', "T1");
    const LONG a = Conta("1.1", 'A', "A1");
    ASSERT_EQ(Liga(a, 2, 5), S_OK);
    EXPECT_EQ(ContaDoArquivo(a).ulPrimeiroVinculo, 1u);
    const std::string conta = apoio::LeTudo(m_dir + "DFPLA001.DAT");
    ASSERT_EQ(Liga(a, 2, 6), S_OK);
    EXPECT_EQ(apoio::LeTudo(m_dir + "DFPLA001.DAT"), conta) << "the second link leaves the account alone";
    EXPECT_EQ(VinculoDoArquivo(1).ulProximo, 2u);
    const RegVinculoPlano v2 = VinculoDoArquivo(2);
    EXPECT_EQ(v2.lPosicaoPla, 2);
    EXPECT_EQ(v2.lPosicaoAlt, a);
    EXPECT_EQ(v2.iCaracteristicaPla, 6);

    const std::string vinculos = apoio::LeTudo(m_dir + "DFVIN001.DAT");
    ASSERT_EQ(Liga(a, 99, 0, 1), S_OK) << "removing a link that does not exist";
    EXPECT_EQ(apoio::LeTudo(m_dir + "DFVIN001.DAT"), vinculos);
    ASSERT_EQ(Liga(a, 2, 0, 1), S_OK);
    EXPECT_EQ(VinculoDoArquivo(1).bFlags, kVinculoRemovido) << "the first of two identical links";
    EXPECT_EQ(VinculoDoArquivo(2).bFlags, 0);
}

TEST_F(Vinculos, BuscaComOsDadosDoPlanoPrincipal)
{
    const LONG t = Conta("1", 'T', "T1");
    const LONG a = Conta("1.1", 'A', "A1");
    ASSERT_EQ(Liga(a, 1, 3), S_OK);
    ASSERT_EQ(Liga(a, 2, 4), S_OK);
    ASSERT_EQ(Liga(a, 99, 5), S_OK);
    const auto lista = Busca(a);
    ASSERT_EQ(lista.size(), 2u) << "a main-chart account that is gone is left out";
    EXPECT_EQ(lista[0].Tipo_IndCon, 1u) << "summary: no type bit";
    EXPECT_EQ(lista[0].iCaracteristica, 3);
    EXPECT_EQ(lista[1].Tipo_IndCon, 0x10000002u);
    uint8_t esperada[14];
    EmpacotaClassificacao("1.1.05", esperada);
    EXPECT_EQ(std::memcmp(lista[1].Classificacao, esperada, 14), 0);
    EXPECT_TRUE(Busca(t).empty()) << "a summary account has no links";
    EXPECT_TRUE(Busca(0).empty());
}

TEST_F(Vinculos, ExclusaoDeContasComSubarvoreELigacoes)
{
    const LONG t1 = Conta("1", 'T', "T1");
    const LONG t11 = Conta("1.1", 'T', "T11");
    const LONG a1 = Conta("1.1.01", 'A', "A1");
    const LONG a2 = Conta("1.2", 'A', "A2");
    ASSERT_EQ(Liga(a1, 2), S_OK);
    const LONG posicoes[] = {t11, a1};
    ASSERT_EQ(m_objeto.ExcluiContas(2, posicoes), S_OK);
    EXPECT_EQ(ContaDoArquivo(t11).bStatus & kStatusExcluido, kStatusExcluido);
    EXPECT_EQ(ContaDoArquivo(a1).bStatus & kStatusExcluido, kStatusExcluido);
    EXPECT_EQ(ContaDoArquivo(t1).bStatus & kStatusExcluido, 0);
    EXPECT_EQ(VinculoDoArquivo(1).bFlags, kVinculoRemovido) << "the link went first";
    const LONG todas[] = {0};
    ASSERT_EQ(m_objeto.ExcluiContas(1, todas), S_OK);
    EXPECT_EQ(ContaDoArquivo(t1).bStatus & kStatusExcluido, kStatusExcluido);
    EXPECT_EQ(ContaDoArquivo(a2).bStatus & kStatusExcluido, kStatusExcluido);
    EXPECT_EQ(m_objeto.ExcluiContas(0, nullptr), S_OK);
}

} // namespace
