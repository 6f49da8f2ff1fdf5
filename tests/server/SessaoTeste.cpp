// A client's session through the interface, one pass per group of slots: plans, accounts, masks
// and links, with the blocks and texts of the module's allocators. The bytes on disk are the
// service's tests' business.
#include <cstring>
#include <string>
#include <vector>

#include "Cliente.h"
#include "apoio/Apoio.h"
#include "df/tqclasses/ClassificacaoCodigos.h"

namespace cliente {
namespace {

class SessaoTeste : public ClienteTeste {
protected:
    void SetUp() override
    {
        ClienteTeste::SetUp();
        Inicializa();
    }

    std::vector<std::string> Nomes()
    {
        std::vector<std::string> nomes;
        for (const auto& plano : Planos())
            nomes.push_back(plano.cNomePlano);
        return nomes;
    }

    REG_PLANO_ALT_PS Le(LONG posicao)
    {
        REG_PLANO_ALT_PS r{};
        EXPECT_EQ(m_obj->Le(posicao, &r), S_OK);
        return r;
    }
};

TEST_F(SessaoTeste, Catalogo)
{
    REG_DADOS_PLANO_ALT_PS d{};
    std::strcpy(d.cNomePlano, "Gerencial");
    LONG plano = 0;
    ASSERT_EQ(m_obj->GravaPlano(0, d, &plano), S_OK);
    EXPECT_EQ(plano, 1);
    std::strcpy(d.cNomePlano, "Or\xE7" "amento");
    ASSERT_EQ(m_obj->GravaPlano(0, d, &plano), S_OK);
    EXPECT_EQ(plano, 2);
    std::strcpy(d.cNomePlano, "Fiscal");
    ASSERT_EQ(m_obj->GravaPlano(1, d, &plano), S_OK);
    EXPECT_EQ(plano, 1);
    EXPECT_EQ(Nomes(), (std::vector<std::string>{"Fiscal", "Or\xE7" "amento"}));

    LONG exclui[] = {2};
    ARRAY_REG_EXCLUI_PLANO_ALT_PS e{};
    e.iQtd = 1;
    e.pPosicoes = exclui;
    ASSERT_EQ(m_obj->ExcluiPlanos(e), S_OK);
    EXPECT_EQ(Nomes(), (std::vector<std::string>{"Fiscal"}));
}

TEST_F(SessaoTeste, Contas)
{
    SelecionaPlano("9.9.99");
    const LONG t1 = Conta("1", 'T', "");
    const LONG t11 = Conta("1.1", 'T', "");
    const LONG a1 = Conta("1.1.01", 'A', "A1");
    EXPECT_EQ(std::vector<LONG>({t1, t11, a1}), std::vector<LONG>({1, 2, 3}));

    const REG_PLANO_ALT_PS lida = Le(a1);
    EXPECT_STREQ(lida.cClassificacao, "1.1.01");
    EXPECT_STREQ(lida.cCodigoProprio, "A1");
    EXPECT_STREQ(lida.cNome, "Conta");
    EXPECT_EQ(lida.cTipo, 'A');
    EXPECT_EQ(lida.lPosicaoConta, a1);

    ULONG quantidade = 0;
    ASSERT_EQ(m_obj->GetQuantidadeRegistros(&quantidade), S_OK);
    EXPECT_EQ(quantidade, 4u) << "the position the next account gets";
    LONG posicoes[] = {a1, t1};
    REG_PLANO_ALT_PS duas[2] = {};
    ASSERT_EQ(m_obj->BuscaDados(2, posicoes, duas), S_OK);
    EXPECT_STREQ(duas[0].cClassificacao, "1.1.01");
    EXPECT_STREQ(duas[1].cClassificacao, "1");

    LONG achada = 0;
    REG_PLANO_ALT_PS conta{};
    ASSERT_EQ(m_obj->Existe(Texto(u"A1"), 1, &achada, &conta), S_OK);
    EXPECT_EQ(achada, a1);
    achada = 0;
    ASSERT_EQ(m_obj->ExisteContaTitulo(Texto(u"1.1"), &achada), S_OK);
    EXPECT_NE(achada, 0);
    EXPECT_EQ(m_obj->ExisteSubordinadas(Texto(u"1")), S_OK);

    ARRAY_REGCON_INDEX_ALT_PS* indice = nullptr;
    ASSERT_EQ(m_obj->GetPlanoIndex(Texto(u"X"), 0, &indice), S_OK);
    ASSERT_NE(indice, nullptr);
    EXPECT_EQ(indice->iQtde, 3);
    Zazazu().CoTaskMemFree(indice->pArrayRegConIndex);
    Zazazu().CoTaskMemFree(indice);
}

TEST_F(SessaoTeste, MudancaDeMascaraReescreveAsContas)
{
    SelecionaPlano("9.9.99");
    Conta("1", 'T', "");
    Conta("1.1", 'T', "");
    const LONG a1 = Conta("1.1.01", 'A', "A1");
    const std::string antes = apoio::LeTudo(m_dir + "DFPLA001.DAT");

    _MASCARA_PLANO_ALT m{};
    std::strcpy(m.Velha[1], "9.9.99");
    std::strcpy(m.Nova[1], "99.9.999");
    ASSERT_EQ(m_obj->AlteraMascara(&m), S_OK);
    EXPECT_STREQ(Le(a1).cClassificacao, "10.1.001");
    EXPECT_EQ(apoio::LeTudo(m_dir + "Plano.old"), antes);
    REG_MASCARA_ALT_PS lida{};
    ASSERT_EQ(m_obj->BuscaMascara(1, &lida), S_OK);
    EXPECT_STREQ(lida.Mascara[1], "99.9.999");

    // Fewer digits than the accounts use: nothing changes.
    std::strcpy(m.Nova[1], "9.9.9");
    const std::string depois = apoio::LeTudo(m_dir + "DFPLA001.DAT");
    EXPECT_EQ(m_obj->AlteraMascara(&m), 0x000405F2);
    EXPECT_EQ(apoio::LeTudo(m_dir + "DFPLA001.DAT"), depois);
}

TEST_F(SessaoTeste, VinculosEExclusaoDeContas)
{
    SelecionaPlano("9.9.99");
    // The main chart: 1 summary "1", 2 analytic "1.1.05".
    std::string principal(96 * 3, '\0');
    EmpacotaClassificacao("1", reinterpret_cast<uint8_t*>(&principal[96]));
    principal[96 + 14] = 0x01;
    EmpacotaClassificacao("1.1.05", reinterpret_cast<uint8_t*>(&principal[192]));
    apoio::GravaTudo(m_dir + "DFPLAEMP.DAT", principal);

    const LONG t1 = Conta("1", 'T', "");
    const LONG t11 = Conta("1.1", 'T', "");
    const LONG a1 = Conta("1.1.01", 'A', "A1");
    ASSERT_EQ(m_obj->Vinculo(REG_VINCULO_ALT{0, a1, 2, 5, {}}), S_OK);
    const auto vinculos = Vinculos(a1);
    ASSERT_EQ(vinculos.size(), 1u);
    EXPECT_EQ(vinculos[0].iCaracteristica, 5);
    EXPECT_EQ(std::memcmp(vinculos[0].Classificacao, &principal[192], 14), 0);
    // The link record: the main chart's position, then the account.
    EXPECT_EQ(apoio::LeTudo(m_dir + "DFVIN001.DAT").substr(32, 8), std::string("\x02\0\0\0\x03\0\0\0", 8));

    // The subtree goes with its links; the title above stays.
    LONG exclui[] = {t11};
    ASSERT_EQ(m_obj->ExcluiContas(1, exclui), S_OK);
    EXPECT_EQ(Le(a1).cExcluida, 1);
    EXPECT_TRUE(Vinculos(a1).empty());
    EXPECT_EQ(Le(t1).cExcluida, 0);
    LONG todas[] = {0};
    ASSERT_EQ(m_obj->ExcluiContas(1, todas), S_OK);
    EXPECT_EQ(Le(t1).cExcluida, 1);
}

} // namespace
} // namespace cliente
