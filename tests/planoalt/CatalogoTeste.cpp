// The plan catalogue through the business object: records byte by byte, the plan's files,
// selection, and the listing of the selected plan's index.
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

class Catalogo : public teste::ServicoTeste {
protected:
    LONG Grava(const char* nome, LONG posicao = 0, LONG remover = 0, LONG caracteristica = 0)
    {
        REG_DADOS_PLANO_ALT_PS d{};
        std::strncpy(d.cNomePlano, nome, sizeof d.cNomePlano - 1);
        d.RemoverConsitenciasVinculo = remover;
        d.bConsiderarCaracteristicaDaContaDragAndDrop = caracteristica;
        LONG saida = -99;
        EXPECT_EQ(m_objeto.GravaPlano(posicao, d, &saida), S_OK) << nome;
        return saida;
    }

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

    RegPlano Registro(uint32_t n)
    {
        const std::string c = apoio::LeTudo(m_dir + kArquivoPlanos);
        RegPlano r{};
        if (c.size() >= (n + 1) * sizeof r)
            std::memcpy(&r, c.data() + n * sizeof r, sizeof r);
        return r;
    }

    void GravaMascaras(uint32_t plano, const std::vector<std::string>& mascaras)
    {
        std::string c(size_t(plano + 1) * sizeof(RegMascara), '\0');
        for (size_t i = 0; i < mascaras.size(); ++i)
            c.replace(plano * sizeof(RegMascara) + i * 28, mascaras[i].size(), mascaras[i]);
        apoio::GravaTudo(m_dir + kArquivoMascaras, c);
    }

};

TEST_F(Catalogo, PlanosNovosRecebemONumeroEOArquivo)
{
    EXPECT_TRUE(Planos().empty());
    EXPECT_EQ(Grava("Gerencial"), 1);
    EXPECT_EQ(Grava("Fiscal", 0, 1, -1), 2);
    EXPECT_EQ(Grava("Custos"), 3);
    EXPECT_EQ(Grava("Quarto"), 4);
    const RegPlano r = Registro(4);
    EXPECT_STREQ(r.cNome, "Quarto");
    EXPECT_STREQ(r.cArquivo, "DFPLA004.DAT");
    const RegPlano f = Registro(2);
    EXPECT_EQ(f.bFlags, kPlanoSemConsistenciaVinculo);
    EXPECT_EQ(f.bConsiderarCaracteristica, 0xFF);
    const auto planos = Planos();
    ASSERT_EQ(planos.size(), 4u);
    EXPECT_EQ(planos[1].lPosicaoPlano, 2);
    EXPECT_STREQ(planos[1].cNomePlano, "Fiscal");
    EXPECT_EQ(planos[1].RemoverConsitenciasVinculo, 1);
    EXPECT_EQ(planos[1].bConsiderarCaracteristicaDaContaDragAndDrop, -1) << "byte 78 is signed";
    EXPECT_FALSE(apoio::Existe(m_dir + "DFPLA001.DAT")) << "a new plan gets no files here";
}

TEST_F(Catalogo, NomeDe50CaracteresEPosicaoNegativa)
{
    EXPECT_EQ(Grava(std::string(49, 'N').c_str()), 1);
    EXPECT_EQ(std::string(Registro(1).cNome), std::string(49, 'N'));
    const std::string antes = apoio::LeTudo(m_dir + kArquivoPlanos);
    REG_DADOS_PLANO_ALT_PS d{};
    LONG saida = 5;
    EXPECT_EQ(m_objeto.GravaPlano(-1, d, &saida), TQHResult(0x80040A74));
    EXPECT_EQ(saida, 0);
    EXPECT_EQ(apoio::LeTudo(m_dir + kArquivoPlanos), antes);
}

TEST_F(Catalogo, ExclusaoMarcaEEsvaziaOsArquivos)
{
    Grava("Um");
    Grava("Dois");
    apoio::GravaTudo(m_dir + "DFPLA002.DAT", std::string(96 * 5, 'x'));
    apoio::GravaTudo(m_dir + "DFIND002.DAT", std::string(18 * 5, 'y'));
    EXPECT_EQ(Exclui({}), S_OK);
    EXPECT_EQ(Exclui({2, 0}), TQHResult(0x80070057));
    EXPECT_EQ(Registro(2).bFlags & kPlanoExcluido, 0) << "nothing changed";
    EXPECT_EQ(Exclui({3}), TQHResult(0x80070057));
    EXPECT_EQ(Exclui({2}), S_OK);
    EXPECT_EQ(Registro(2).bFlags & kPlanoExcluido, kPlanoExcluido);
    EXPECT_EQ(apoio::LeTudo(m_dir + "DFPLA002.DAT"), std::string(96, 'x'));
    EXPECT_EQ(apoio::LeTudo(m_dir + "DFIND002.DAT").size(), 32u);
    const auto planos = Planos();
    ASSERT_EQ(planos.size(), 1u);
    EXPECT_EQ(planos[0].lPosicaoPlano, 1);
    EXPECT_EQ(Grava("Dois de novo", 2), 2);
    EXPECT_EQ(Registro(2).bFlags & kPlanoExcluido, kPlanoExcluido) << "rewriting keeps it deleted";
    EXPECT_STREQ(Registro(2).cNome, "Dois de novo");
}

TEST_F(Catalogo, SelecaoCriaOPlanoEPedeMascaras)
{
    Grava("Um");
    EXPECT_EQ(m_objeto.SetPlano(1), TQHResult(0x800402DE)) << "no mask record yet";
    EXPECT_EQ(apoio::LeTudo(m_dir + "DFPLA001.DAT"), std::string(96, '\0')) << "the chart file with its record 0";
    GravaMascaras(1, {});
    EXPECT_EQ(m_objeto.SetPlano(1), TQHResult(0x800402DF));
    GravaMascaras(1, {"9.9", std::string("9.9.99.999.9999.99999.999999", 28)});
    EXPECT_EQ(m_objeto.SetPlano(1), S_OK);
    ARRAY_REGCON_INDEX_ALT_PS* lista = nullptr;
    EXPECT_EQ(m_objeto.GetPlanoIndex(plataforma::AnsiParaOle("X").c_str(), 0, &lista), S_OK);
    ASSERT_NE(lista, nullptr);
    EXPECT_EQ(lista->iQtde, 0);
    EXPECT_EQ(lista->pArrayRegConIndex, nullptr);
    plataforma::LiberaTarefa(lista);
}

TEST_F(Catalogo, IndiceSemPlanoSelecionado)
{
    ARRAY_REGCON_INDEX_ALT_PS* lista = nullptr;
    EXPECT_EQ(m_objeto.GetPlanoIndex(plataforma::AnsiParaOle("X").c_str(), 0, &lista), TQHResult(0x800402DD));
    ASSERT_NE(lista, nullptr) << "an empty block all the same";
    EXPECT_EQ(lista->iQtde, 0);
    plataforma::LiberaTarefa(lista);
}

TEST_F(Catalogo, ArquivoQueSairiaDoDiretorioNuncaEAberto)
{
    Grava("Um");
    std::string c = apoio::LeTudo(m_dir + kArquivoPlanos);
    const char nome[] = "../FORA.DAT";
    c.replace(80 + 50, sizeof nome, nome, sizeof nome);
    apoio::GravaTudo(m_dir + kArquivoPlanos, c);
    apoio::CapturaTrace trace;
    EXPECT_EQ(m_objeto.SetPlano(1), kNomeDeArquivoInvalido);
    EXPECT_EQ(trace.quantidade(), 1u);
    EXPECT_FALSE(apoio::Existe(m_dir + "../FORA.DAT"));
}

} // namespace
