// The whole-file object: block reads and writes, positions, bad input.
#include <string>

#include "apoio/Apoio.h"
#include "df/tqlibex/Arquivo.h"
#include "df/tqlibex/StatusArquivo.h"

namespace {

class ArquivoTeste : public apoio::DiretorioTemporario {};

TEST_F(ArquivoTeste, GravaDoInicioMantemCaudaEAcrescentaNoFim)
{
    const std::string c = Caminho("IDX.idx");
    apoio::GravaTudo(c, "0123456789");
    CArquivo arq;
    ASSERT_EQ(arq.Abre(c, 'G'), 0u);
    ASSERT_EQ(arq.Grava("abc", 3, 'I'), 0u);
    ASSERT_EQ(arq.Grava("XY", 2, 'F'), 0u);
    uint32_t tamanho = 0;
    ASSERT_EQ(arq.Posiciona('F', 0, tamanho), 0u);
    EXPECT_EQ(tamanho, 12u);
    char lido[12];
    ASSERT_EQ(arq.Le(12, lido), 0u);
    EXPECT_EQ(std::string(lido, 12), "abc3456789XY");
    EXPECT_EQ(arq.Fecha(), 0u);
    EXPECT_EQ(apoio::LeTudo(c), "abc3456789XY");
}

TEST_F(ArquivoTeste, BlocosMaioresQueUmPedaco)
{
    std::string grande(200000, '\0');
    for (size_t i = 0; i < grande.size(); ++i)
        grande[i] = char(i * 7);
    const std::string c = Caminho("G.idx");
    CArquivo arq;
    ASSERT_EQ(arq.Abre(c, 'C'), 0u);
    ASSERT_EQ(arq.Grava(grande.data(), uint32_t(grande.size()), 'I'), 0u);
    std::string lido(grande.size(), '\0');
    ASSERT_EQ(arq.Le(uint32_t(lido.size()), lido.data()), 0u);
    EXPECT_EQ(lido, grande);
    EXPECT_EQ(arq.Le(uint32_t(lido.size()) + 1, lido.data()), statusarq::FimArquivo);
}

TEST_F(ArquivoTeste, PosicionaNoComprimentoEhFimDeArquivo)
{
    const std::string c = Caminho("P.idx");
    apoio::GravaTudo(c, std::string(36, 'x'));
    CArquivo arq;
    ASSERT_EQ(arq.Abre(c, 'L'), 0u);
    uint32_t tamanho = 99;
    EXPECT_EQ(arq.Posiciona('P', 35, tamanho), 0u);
    EXPECT_EQ(tamanho, 0u);
    EXPECT_EQ(arq.Posiciona('P', 36, tamanho), statusarq::FimArquivo);
    EXPECT_EQ(arq.Posiciona('P', -1, tamanho), statusarq::FimArquivo);
    EXPECT_EQ(arq.Posiciona('I', 0, tamanho), 0u);
}

TEST_F(ArquivoTeste, EntradaInvalidaEArquivoAusente)
{
    const std::string c = Caminho("E.idx");
    apoio::GravaTudo(c, "abc");
    CArquivo arq;
    EXPECT_EQ(arq.Abre("", 'L'), statusarq::ArgumentoInvalido);
    EXPECT_EQ(arq.Abre(c, 'X'), statusarq::ArgumentoInvalido);
    EXPECT_EQ(arq.Abre(Caminho("NAO.idx"), 'G'), statusarq::NaoEncontrado);
    EXPECT_FALSE(apoio::Existe(Caminho("NAO.idx")));
    ASSERT_EQ(arq.Abre(c, 'G'), 0u);
    uint32_t tamanho;
    EXPECT_EQ(arq.Grava(nullptr, 3, 'I'), statusarq::ArgumentoInvalido);
    EXPECT_EQ(arq.Grava("zzz", 3, 'P'), statusarq::ArgumentoInvalido);
    EXPECT_EQ(arq.Le(3, nullptr), statusarq::ArgumentoInvalido);
    EXPECT_EQ(arq.Posiciona('Q', 0, tamanho), statusarq::ArgumentoInvalido);
    arq.Fecha();
    ASSERT_EQ(arq.Abre(c, 'L'), 0u);
    EXPECT_EQ(arq.Grava("zzz", 3, 'I'), statusarq::AcessoNegado) << "opened for reading only";
    arq.Fecha();
    EXPECT_EQ(apoio::LeTudo(c), "abc");
}

} // namespace
