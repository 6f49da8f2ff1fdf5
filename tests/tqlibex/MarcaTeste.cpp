// Marks between objects of one process: files, busy codes, both schemes.
#include <string>

#include "apoio/Apoio.h"
#include "df/tqlibex/CodigosMarca.h"
#include "df/tqlibex/GanchosTeste.h"
#include "df/tqlibex/MarcaArquivo.h"
#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQArq.h"
#include "df/tqlibex/TQArqMarca.h"
#include "platform/Arquivo.h"
#include "platform/Tempo.h"

namespace {

class MarcaTeste : public apoio::DiretorioEmpresa {
protected:
    void SetUp() override
    {
        apoio::DiretorioEmpresa::SetUp();
        TQDefineEsperaMarcaParaTestes(200);
    }
};

TEST_F(MarcaTeste, ObjetoDeMarcaApagaSeuArquivoEOutroEsperaEDesiste)
{
    const std::string arquivo = m_dados + "XXMARCA79.dat";
    {
        CTQArqMarca marca;
        ASSERT_EQ(marca.Marca(m_dados, ITQArqMarcaEnum::GeracaoDeIDX), 0u);
        EXPECT_TRUE(apoio::Existe(arquivo));
        EXPECT_EQ(marca.Marca(m_dados, ITQArqMarcaEnum::GeracaoDeIDX), statusmarca::Ocupada);
        CTQArqMarca outra;
        const DWORD inicio = plataforma::Ticks();
        EXPECT_EQ(outra.Marca(m_dados, ITQArqMarcaEnum::GeracaoDeIDX), 17396u);
        EXPECT_GE(plataforma::Ticks() - inicio, 200u - apoio::kTickRelogioMs) << "the taker waits before it gives up";
        CTQArqMarca comSufixo;
        EXPECT_EQ(comSufixo.Marca(m_dados, ITQArqMarcaEnum::GeracaoDeIDX, 0, nullptr, "PLA001"), 0u)
            << "a suffix names another mark";
        EXPECT_TRUE(apoio::Existe(m_dados + "XXMARCA79PLA001.dat"));
    }
    EXPECT_FALSE(apoio::Existe(arquivo));
    EXPECT_FALSE(apoio::Existe(m_dados + "XXMARCA79PLA001.dat"));
    CTQArqMarca semDiretorio;
    EXPECT_EQ(semDiretorio.Marca(m_dir + "NAOEXISTE", 79), 0x80070003u) << "a missing directory is not waited for";
}

TEST_F(MarcaTeste, EsquemaAtualDeixaOArquivoQueNaoBloqueiaNinguem)
{
    EsquemaAtual();
    {
        CTQarq marca;
        ASSERT_EQ(marca.Marca(m_dados, 4, 0x0107), 0u);
        CTQarq outra;
        EXPECT_EQ(outra.Marca(m_dados, 4, 2), 16250u);
        EXPECT_EQ(marca.Marca(m_dados, 4, 1), statusmarca::Ocupada);
    }
    EXPECT_TRUE(apoio::Existe(m_dados + "XXMARCA4.DAT"));
    CTQarq depois;
    EXPECT_EQ(depois.Marca(m_dados, 4, 1), 0u) << "a file left behind is replaced";
    CTQarq mascara;
    EXPECT_EQ(mascara.Marca(m_dados, 8, 1), 0u) << "another type is another mark";
}

TEST_F(MarcaTeste, EsquemaAnteriorGravaTipoEDonoELimpaAoLiberar)
{
    const std::string arquivo = m_dados + "CNCMARCA.DAT";
    {
        CTQarq marca;
        ASSERT_EQ(marca.Marca(m_dados, 4, 0x0307), 0u);
        EXPECT_EQ(apoio::LeTudo(arquivo), std::string("\x04\x07", 2));
        CTQarq outra;
        EXPECT_EQ(outra.Marca(m_dados, 8, 9), 16250u) << "the code names the work that holds it";
        EXPECT_EQ(outra.GetDono(), 7);
    }
    // A record left behind by nobody: MultiProcessoTeste, by a process that ended holding it.
    EXPECT_EQ(apoio::LeTudo(arquivo), std::string("\0\0", 2));
}

// Which scheme answers which types from the shared table.
TEST(CodigosMarca, FaixasDeCadaEsquema)
{
    const std::tuple<EsquemaMarca, int, uint32_t> casos[] = {
        {EsquemaMarca::Objeto, 24, 17396u}, // no row
        {EsquemaMarca::ArqAtual, 213, 32131u},
        {EsquemaMarca::ArqAtual, 31, 17396u}, // a row, outside the scheme
        {EsquemaMarca::ArqAnterior, 9, 16357u},
        {EsquemaMarca::ArqAnterior, 24, 17542u}, // its own codes
        {EsquemaMarca::ArqAnterior, 29, 17396u},
    };
    for (const auto& [esquema, tipo, codigo] : casos)
        EXPECT_EQ(CodigoMarcaOcupada(esquema, tipo), codigo) << tipo;
}

} // namespace
