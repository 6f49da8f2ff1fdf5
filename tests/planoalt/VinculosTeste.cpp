// Links to the main chart, chained per account (a whole session deletes a subtree with its links).
#include <cstring>
#include <string>
#include <vector>

#include "ServicoTeste.h"
#include "df/planoalt/ArquivosPlano.h"

namespace {

class Vinculos : public teste::ServicoTeste {
protected:
    void SetUp() override
    {
        ServicoTeste::SetUp();
        SelecionaPlano();
        // The main chart: 1 summary "1", 2 analytic "1.1.05".
        std::string principal(3 * 96, '\0');
        EmpacotaClassificacao("1", reinterpret_cast<uint8_t*>(&principal[96]));
        principal[96 + 14] = char(kStatusTitulo);
        EmpacotaClassificacao("1.1.05", reinterpret_cast<uint8_t*>(&principal[192]));
        apoio::GravaTudo(m_dir + "DFPLAEMP.DAT", principal);
    }

    HRESULT Liga(LONG alt, LONG pla, uint16_t caracteristica = 0, LONG excluir = 0)
    {
        return m_objeto.Vinculo(REG_VINCULO_ALT{excluir, alt, pla, caracteristica, {}});
    }

    std::vector<REGCON_INDEX_ALT_PS> Busca(LONG alt)
    {
        ARRAY_REGCON_INDEX_ALT_PS* lista = nullptr;
        EXPECT_EQ(m_objeto.BuscaVinculo(alt, &lista), S_OK);
        std::vector<REGCON_INDEX_ALT_PS> r;
        if (!lista)
            return r;
        r.assign(lista->pArrayRegConIndex, lista->pArrayRegConIndex + lista->iQtde);
        plataforma::LiberaTarefa(lista->pArrayRegConIndex);
        plataforma::LiberaTarefa(lista);
        return r;
    }

    RegVinculoPlano Ligacao(uint32_t n) { return Registro<RegVinculoPlano>("DFVIN001.DAT", n); }
};

TEST_F(Vinculos, CadeiaPorContaComAcrescimosNaCauda)
{
    NovaConta("1", 'T', "T1");
    const LONG a = NovaConta("1.1", 'A', "A1");
    ASSERT_EQ(Liga(a, 2, 5), S_OK);
    const std::string conta = apoio::LeTudo(m_dir + "DFPLA001.DAT");
    ASSERT_EQ(Liga(a, 2, 6), S_OK);
    EXPECT_EQ(apoio::LeTudo(m_dir + "DFPLA001.DAT"), conta) << "the second link leaves the account alone";
    EXPECT_EQ(Ligacao(1).ulProximo, 2u);
    EXPECT_EQ(Ligacao(2).iCaracteristicaPla, 6);

    const std::string vinculos = apoio::LeTudo(m_dir + "DFVIN001.DAT");
    ASSERT_EQ(Liga(a, 99, 0, 1), S_OK) << "removing a link that does not exist";
    EXPECT_EQ(apoio::LeTudo(m_dir + "DFVIN001.DAT"), vinculos);
    ASSERT_EQ(Liga(a, 2, 0, 1), S_OK);
    EXPECT_EQ(Ligacao(1).bFlags, kVinculoRemovido) << "the first of two identical links";
    EXPECT_EQ(Ligacao(2).bFlags, 0);
}

TEST_F(Vinculos, BuscaComOsDadosDoPlanoPrincipal)
{
    const LONG t = NovaConta("1", 'T', "T1");
    const LONG a = NovaConta("1.1", 'A', "A1");
    ASSERT_EQ(Liga(a, 1, 3), S_OK);
    ASSERT_EQ(Liga(a, 2, 4), S_OK);
    ASSERT_EQ(Liga(a, 99, 5), S_OK);
    const auto lista = Busca(a);
    ASSERT_EQ(lista.size(), 2u) << "a main-chart account that is gone is left out";
    EXPECT_EQ(lista[0].Tipo_IndCon, 1u) << "summary: no type bit";
    EXPECT_EQ(lista[0].iCaracteristica, 3);
    EXPECT_EQ(lista[1].Tipo_IndCon, 0x10000002u);
    EXPECT_TRUE(Busca(t).empty()) << "a summary account has no links";
}

} // namespace
