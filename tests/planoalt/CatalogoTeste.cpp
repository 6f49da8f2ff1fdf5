// The plan catalogue through the business object: records byte by byte, the plan's files,
// selection, and refusals that leave the files as they were.
#include <cstring>
#include <string>
#include <vector>

#include "ServicoTeste.h"
#include "df/planoalt/ArquivosPlano.h"

namespace {

class Catalogo : public teste::ServicoTeste {
protected:
    std::vector<REG_DADOS_PLANO_ALT_PS> Planos()
    {
        ARRAY_REG_DADOS_PLANO_ALT_PS* lista = nullptr;
        EXPECT_EQ(m_objeto.BuscaPlanos(&lista), S_OK);
        std::vector<REG_DADOS_PLANO_ALT_PS> r;
        if (!lista)
            return r;
        r.assign(lista->pArrayDadosPlanoAlt, lista->pArrayDadosPlanoAlt + lista->iQtde);
        plataforma::LiberaTarefa(lista->pArrayDadosPlanoAlt);
        plataforma::LiberaTarefa(lista);
        return r;
    }

    HRESULT Exclui(std::vector<LONG> posicoes)
    {
        ARRAY_REG_EXCLUI_PLANO_ALT_PS e{};
        e.iQtd = uint32_t(posicoes.size());
        e.pPosicoes = posicoes.data();
        return m_objeto.ExcluiPlanos(e);
    }

    RegPlano Plano(uint32_t n) { return Registro<RegPlano>(kArquivoPlanos, n); }
};

TEST_F(Catalogo, PlanosNovosRecebemONumeroEOArquivo)
{
    NovoPlano("Gerencial");
    REG_DADOS_PLANO_ALT_PS d{};
    std::memset(d.cNomePlano, 'N', sizeof d.cNomePlano);
    d.RemoverConsitenciasVinculo = 1;
    d.bConsiderarCaracteristicaDaContaDragAndDrop = -1;
    LONG saida = 0;
    ASSERT_EQ(m_objeto.GravaPlano(0, d, &saida), S_OK);
    const RegPlano f = Plano(2);
    EXPECT_EQ(std::string(f.cNome), std::string(49, 'N')) << "a name of 50 keeps 49 and a NUL";
    EXPECT_EQ(f.bFlags, kPlanoSemConsistenciaVinculo);
    EXPECT_EQ(f.bConsiderarCaracteristica, 0xFF);
    const auto planos = Planos();
    ASSERT_EQ(planos.size(), 2u);
    EXPECT_EQ(planos[1].RemoverConsitenciasVinculo, 1);
    EXPECT_EQ(planos[1].bConsiderarCaracteristicaDaContaDragAndDrop, -1) << "byte 78 is signed";
    EXPECT_FALSE(apoio::Existe(m_dir + "DFPLA001.DAT")) << "a new plan gets no files here";

    const std::string antes = apoio::LeTudo(m_dir + kArquivoPlanos);
    saida = 5;
    EXPECT_EQ(m_objeto.GravaPlano(-1, d, &saida), TQHResult(0x80040A74));
    EXPECT_EQ(saida, 0);
    EXPECT_EQ(apoio::LeTudo(m_dir + kArquivoPlanos), antes);
}

TEST_F(Catalogo, ExclusaoMarcaEEsvaziaOsArquivos)
{
    NovoPlano("Um");
    NovoPlano("Dois");
    apoio::GravaTudo(m_dir + "DFPLA002.DAT", std::string(96 * 5, 'x'));
    apoio::GravaTudo(m_dir + "DFIND002.DAT", std::string(18 * 5, 'y'));
    const std::string antes = apoio::LeTudo(m_dir + kArquivoPlanos);
    EXPECT_EQ(Exclui({}), S_OK);
    EXPECT_EQ(Exclui({2, 0}), TQHResult(0x80070057));
    EXPECT_EQ(apoio::LeTudo(m_dir + kArquivoPlanos), antes) << "nothing changed";
    EXPECT_EQ(Exclui({2}), S_OK);
    EXPECT_EQ(apoio::LeTudo(m_dir + "DFPLA002.DAT"), std::string(96, 'x'));
    EXPECT_EQ(apoio::LeTudo(m_dir + "DFIND002.DAT").size(), 32u);
    REG_DADOS_PLANO_ALT_PS d{};
    std::strcpy(d.cNomePlano, "Dois de novo");
    LONG saida = 0;
    EXPECT_EQ(m_objeto.GravaPlano(2, d, &saida), S_OK);
    EXPECT_EQ(Plano(2).bFlags & kPlanoExcluido, kPlanoExcluido) << "rewriting keeps it deleted";
    EXPECT_STREQ(Plano(2).cNome, "Dois de novo");
}

TEST_F(Catalogo, SelecaoCriaOPlanoPedeMascarasENaoSaiDoDiretorio)
{
    NovoPlano("Um");
    EXPECT_EQ(m_objeto.SetPlano(1), TQHResult(0x800402DE)) << "no mask record yet";
    EXPECT_EQ(apoio::LeTudo(m_dir + "DFPLA001.DAT"), std::string(96, '\0')) << "the chart file with its record 0";
    apoio::GravaTudo(m_dir + kArquivoMascaras, std::string(2 * sizeof(RegMascara), '\0'));
    EXPECT_EQ(m_objeto.SetPlano(1), TQHResult(0x800402DF)) << "a record of no masks";
    // A chart's name that would leave the directory is never opened.
    std::string c = apoio::LeTudo(m_dir + kArquivoPlanos);
    const char nome[] = "../FORA.DAT";
    c.replace(80 + 50, sizeof nome, nome, sizeof nome);
    apoio::GravaTudo(m_dir + kArquivoPlanos, c);
    apoio::CapturaTrace trace;
    EXPECT_EQ(m_objeto.SetPlano(1), kNomeDeArquivoInvalido);
    EXPECT_EQ(trace.quantidade(), 1u);
    EXPECT_FALSE(apoio::Existe(m_dir + "../FORA.DAT"));
}

// An index that a crash left cut short, or behind its chart, is made anew when the plan is
// selected; a whole one is left alone.
TEST_F(Catalogo, SelecaoRefazIndiceCortado)
{
    SelecionaPlano("9.9.99");
    NovaConta("1", 'T', "");
    NovaConta("1.1", 'T', "");
    NovaConta("1.1.01", 'A', "");
    const std::string inteiro = apoio::LeTudo(m_dir + "DFIND001.DAT");
    ASSERT_EQ(inteiro.size(), 4u * 18);
    for (const std::string& cortado : {inteiro.substr(0, 2 * 18 + 5), inteiro.substr(0, 3 * 18), std::string()}) {
        apoio::GravaTudo(m_dir + "DFIND001.DAT", cortado);
        ASSERT_EQ(m_objeto.SetPlano(1), S_OK);
        EXPECT_EQ(apoio::LeTudo(m_dir + "DFIND001.DAT"), inteiro) << cortado.size() << " bytes";
    }
}

} // namespace
