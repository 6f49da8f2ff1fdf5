// The accounts of the selected plan through the business object.
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

class Contas : public teste::ServicoTeste {
protected:
    HRESULT Grava(LONG posicao, const char* classificacao, const char* codigo, char tipo, LONG* saida,
                  const char* nome = "Conta")
    {
        REG_PLANO_ALT_PS r{};
        std::strcpy(r.cClassificacao, classificacao);
        std::strcpy(r.cCodigoProprio, codigo);
        std::strcpy(r.cNome, nome);
        r.cTipo = uint8_t(tipo);
        r.iCaracteristica = 9;
        return m_objeto.Grava(posicao, r, saida);
    }

};

TEST_F(Contas, SemPlanoSelecionado)
{
    REG_PLANO_ALT_PS r;
    std::memset(&r, 0x55, sizeof r);
    EXPECT_EQ(m_objeto.Le(1, &r), S_OK);
    EXPECT_EQ(r.cTipo, 0) << "a zero record";
    LONG saida = 5;
    EXPECT_EQ(Grava(0, "1", "X", 'T', &saida), TQHResult(0x800402DD));
    ULONG quantidade = 0;
    EXPECT_EQ(m_objeto.GetQuantidadeRegistros(&quantidade), TQHResult(0x800402DD));
    EXPECT_EQ(m_objeto.BuscaDados(1, &saida, &r), TQHResult(0x800402DD));
    LONG posicao = 3;
    EXPECT_EQ(m_objeto.Existe(plataforma::AnsiParaOle("X").c_str(), 0, &posicao, &r), TQHResult(0x800402DD));
    EXPECT_EQ(posicao, 0);
}

TEST_F(Contas, GravaLeEConta)
{
    SelecionaPlano();
    LONG p1 = 0, p2 = 0;
    ASSERT_EQ(Grava(0, "1", "T1", 'T', &p1), S_OK);
    ASSERT_EQ(Grava(0, "1.1", "", 'A', &p2, "Sem c\xF3" "digo"), S_OK);
    EXPECT_EQ(p1, 1);
    EXPECT_EQ(p2, 2);
    REG_PLANO_ALT_PS r;
    ASSERT_EQ(m_objeto.Le(2, &r), S_OK);
    EXPECT_STREQ(r.cCodigoProprio, "23") << "a new account without a code gets its reduced code";
    EXPECT_STREQ(r.cCodigoUsado, "23");
    EXPECT_STREQ(r.cClassificacao, "1.1");
    EXPECT_EQ(r.cTipo, 'A');
    EXPECT_EQ(r.iCaracteristica, 9);
    ULONG quantidade = 0;
    ASSERT_EQ(m_objeto.GetQuantidadeRegistros(&quantidade), S_OK);
    EXPECT_EQ(quantidade, 3u);
    EXPECT_EQ(m_objeto.Le(0, &r), statusclass::ArgumentoInvalido);
    EXPECT_EQ(m_objeto.Le(9, &r), statusclass::NaoEncontrado);
    EXPECT_EQ(r.cTipo, 0);

    LONG saida = 0;
    EXPECT_EQ(Grava(0, "1.2", "T1", 'A', &saida), 0x00040629) << "the code is account 1's";
    EXPECT_EQ(quantidade, 3u);
    EXPECT_EQ(Grava(1, "1", "T1", 'T', &saida, "Renomeada"), S_OK) << "its own code under its own position";
    EXPECT_EQ(saida, 1);
    const LONG posicoes[] = {2, 1};
    REG_PLANO_ALT_PS duas[2];
    ASSERT_EQ(m_objeto.BuscaDados(2, posicoes, duas), S_OK);
    EXPECT_STREQ(duas[1].cNome, "Renomeada");
    EXPECT_EQ(m_objeto.BuscaDados(0, nullptr, nullptr), S_OK);
}

TEST_F(Contas, ExisteAchaExcluidaOuNada)
{
    SelecionaPlano();
    LONG p = 0;
    ASSERT_EQ(Grava(0, "1", "T1", 'T', &p), S_OK);
    ASSERT_EQ(Grava(0, "1.1", "A1", 'A', &p), S_OK);
    LONG posicao = 9;
    REG_PLANO_ALT_PS r{};
    EXPECT_EQ(m_objeto.Existe(plataforma::AnsiParaOle("NADA").c_str(), 1, &posicao, &r), statusclass::NaoEncontrado);
    EXPECT_EQ(posicao, 0);
    ASSERT_EQ(m_objeto.Existe(plataforma::AnsiParaOle("a1").c_str(), 1, &posicao, &r), S_OK);
    EXPECT_EQ(posicao, 2);
    EXPECT_STREQ(r.cClassificacao, "1.1");
    LONG titulo = 0;
    EXPECT_EQ(m_objeto.ExisteContaTitulo(plataforma::AnsiParaOle("1.1").c_str(), &titulo), S_OK);
    EXPECT_EQ(titulo, 1);
    EXPECT_EQ(m_objeto.ExisteSubordinadas(plataforma::AnsiParaOle("1").c_str()), S_OK);
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
    LONG saida = 0;
    EXPECT_EQ(Grava(0, "1", "ULTIMA", 'T', &saida), S_OK);
    EXPECT_EQ(saida, 65500);
    EXPECT_EQ(Grava(0, "1.1", "DEMAIS", 'A', &saida), TQHResult(0x800402DC));
    EXPECT_EQ(saida, 0);
}

} // namespace
