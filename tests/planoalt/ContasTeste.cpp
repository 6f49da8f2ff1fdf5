// The accounts of the selected plan through the business object.
#include <cstring>
#include <string>

#include "ServicoTeste.h"
#include "df/planoalt/ArquivosPlano.h"

namespace {

using Contas = teste::ServicoTeste;

TEST_F(Contas, SemPlanoSelecionado)
{
    REG_PLANO_ALT_PS r;
    std::memset(&r, 0x55, sizeof r);
    EXPECT_EQ(m_objeto.Le(1, &r), S_OK);
    EXPECT_EQ(r.cTipo, 0) << "a zero record";
    LONG saida = 5;
    EXPECT_EQ(m_objeto.Grava(0, r, &saida), TQHResult(0x800402DD));
}

TEST_F(Contas, CodigoReduzidoCodigoDeOutraContaEPosicoesInvalidas)
{
    SelecionaPlano();
    EXPECT_EQ(NovaConta("1", 'T', "T1"), 1);
    EXPECT_EQ(NovaConta("1.1", 'A', ""), 2);
    REG_PLANO_ALT_PS r;
    ASSERT_EQ(m_objeto.Le(2, &r), S_OK);
    EXPECT_STREQ(r.cCodigoProprio, "23") << "a new account without a code gets its reduced code";
    EXPECT_EQ(m_objeto.Le(0, &r), statusclass::ArgumentoInvalido);
    EXPECT_EQ(m_objeto.Le(9, &r), statusclass::NaoEncontrado);
    EXPECT_EQ(r.cTipo, 0);
    EXPECT_EQ(m_objeto.BuscaDados(0, nullptr, nullptr), S_OK);
    LONG posicao = 9;
    EXPECT_EQ(m_objeto.Existe(Texto("NADA").c_str(), 1, &posicao, &r), statusclass::NaoEncontrado);
    EXPECT_EQ(posicao, 0);

    const std::string antes = apoio::LeTudo(m_dir + "DFPLA001.DAT");
    std::strcpy(r.cClassificacao, "1.2");
    std::strcpy(r.cCodigoProprio, "T1");
    LONG saida = 0;
    EXPECT_EQ(m_objeto.Grava(0, r, &saida), 0x00040629) << "the code is account 1's";
    EXPECT_EQ(apoio::LeTudo(m_dir + "DFPLA001.DAT"), antes);
    ASSERT_EQ(m_objeto.Le(1, &r), S_OK);
    std::strcpy(r.cNome, "Renomeada");
    EXPECT_EQ(m_objeto.Grava(1, r, &saida), S_OK) << "its own code under its own position";
    EXPECT_EQ(saida, 1);
    EXPECT_EQ(std::string(Registro<RegContaPlano>("DFPLA001.DAT", 1).cNome), "Renomeada");
}

TEST_F(Contas, LimiteDe65500Contas)
{
    SelecionaPlano();
    // A chart of deleted records: counted, never indexed.
    RegContaPlano excluida{};
    excluida.bStatus = kStatusExcluido;
    std::string plano(sizeof excluida, '\0');
    for (int i = 0; i < 65499; ++i)
        plano.append(reinterpret_cast<const char*>(&excluida), sizeof excluida);
    apoio::GravaTudo(m_dir + "DFPLA001.DAT", plano);
    ASSERT_EQ(m_objeto.SetPlano(1), S_OK);
    EXPECT_EQ(NovaConta("1", 'T', "ULTIMA"), 65500);
    REG_PLANO_ALT_PS r{};
    std::strcpy(r.cClassificacao, "1.1");
    LONG saida = 5;
    EXPECT_EQ(m_objeto.Grava(0, r, &saida), TQHResult(0x800402DC));
    EXPECT_EQ(saida, 0);
}

} // namespace
