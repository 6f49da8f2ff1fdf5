// Reading "log.ini"-style text as the Windows profile functions do.
#include <gtest/gtest.h>

#include "apoio/Apoio.h"
#include "df/tqlibex/ArquivoIni.h"

namespace {

std::string Texto(std::string_view conteudo, const char* secao, const char* chave)
{
    std::string valor = "<ausente>";
    TQIniLeTexto(conteudo, secao, chave, valor);
    return valor;
}

} // namespace

TEST(ArquivoIni, SecoesEChavesSemCaixa)
{
    const char* ini = "[Outra]\nEntrada=7\n[LOG]\r\n  entrada = 1 \r\nSAIDA=0\r\n[Depois]\nMemory=1\n";
    EXPECT_EQ(Texto(ini, "Log", "Entrada"), "1");
    EXPECT_EQ(Texto(ini, "log", "Saida"), "0");
    // A key of another section is not found in this one.
    EXPECT_EQ(Texto(ini, "Log", "Memory"), "<ausente>");
    EXPECT_EQ(Texto(ini, "Nenhuma", "Entrada"), "<ausente>");
    EXPECT_EQ(Texto(ini, "Outra", "Entrada"), "7");
}

TEST(ArquivoIni, ComentariosAspasERepeticoes)
{
    const char* ini = "\xEF\xBB\xBF; comentario\n[Log]\n;Entrada=1\nProcessos=\"a; b\"\nX='y'\nX=2\nSemIgual\nVazio=\n";
    EXPECT_EQ(Texto(ini, "Log", "Entrada"), "<ausente>");
    EXPECT_EQ(Texto(ini, "Log", "Processos"), "a; b");
    EXPECT_EQ(Texto(ini, "Log", "X"), "y"); // the first one wins
    EXPECT_EQ(Texto(ini, "Log", "SemIgual"), "");
    EXPECT_EQ(Texto(ini, "Log", "Vazio"), "");
    EXPECT_EQ(Texto("", "Log", "X"), "<ausente>");
    EXPECT_EQ(Texto("[Log", "Log", "X"), "<ausente>");
}

TEST(ArquivoIni, NumerosComoOsDoWindows)
{
    const char* ini = "[Log]\nA=1\nB= 42 \nC=12abc\nD=abc\nE=\nF=-3\nG=+5\nH=99999999999\n";
    EXPECT_EQ(TQIniLeNumero(ini, "Log", "A", 9), 1u);
    EXPECT_EQ(TQIniLeNumero(ini, "Log", "B", 9), 42u);
    EXPECT_EQ(TQIniLeNumero(ini, "Log", "C", 9), 12u);
    EXPECT_EQ(TQIniLeNumero(ini, "Log", "D", 9), 0u);
    EXPECT_EQ(TQIniLeNumero(ini, "Log", "E", 9), 9u);
    EXPECT_EQ(TQIniLeNumero(ini, "Log", "F", 9), 0u);
    EXPECT_EQ(TQIniLeNumero(ini, "Log", "G", 9), 5u);
    EXPECT_EQ(TQIniLeNumero(ini, "Log", "H", 9), 4294967295u);
    EXPECT_EQ(TQIniLeNumero(ini, "Log", "Ausente", 600), 600u);
}

class ArquivoIniDisco : public apoio::DiretorioTemporario {};

TEST_F(ArquivoIniDisco, LeArquivoInteiroOuNada)
{
    apoio::GravaTudo(Caminho("log.ini"), "[Log]\r\nEntrada=1\r\n");
    EXPECT_EQ(TQIniLeArquivo(Caminho("log.ini")), "[Log]\r\nEntrada=1\r\n");
    EXPECT_EQ(TQIniLeArquivo(Caminho("nao-existe.ini")), "");
    EXPECT_EQ(TQIniLeArquivo(m_dir), "");
}
