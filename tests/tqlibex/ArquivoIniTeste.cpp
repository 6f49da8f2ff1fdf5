// Reading "log.ini"-style text as the Windows profile functions do.
#include <gtest/gtest.h>

#include "apoio/Apoio.h"
#include "df/tqlibex/ArquivoIni.h"

TEST(ArquivoIni, TextosSemCaixaComentariosAspasERepeticoes)
{
    const char* ini = "\xEF\xBB\xBF; comentario\n[Outra]\nEntrada=7\n[LOG]\r\n  entrada = 1 \r\nSAIDA=0\r\n;Memory=1\n"
                      "Processos=\"a; b\"\nX='y'\nX=2\nSemIgual\nVazio=\n[Depois]\nMemory=1\n";
    const std::tuple<std::string_view, const char*, const char*, const char*> casos[] = {
        {ini, "Log", "Entrada", "1"}, {ini, "log", "Saida", "0"}, {ini, "Outra", "Entrada", "7"},
        // A key of another section, or commented out, is not found in this one.
        {ini, "Log", "Memory", nullptr}, {ini, "Nenhuma", "Entrada", nullptr},
        {ini, "Log", "Processos", "a; b"}, {ini, "Log", "X", "y"}, // the first one wins
        {ini, "Log", "SemIgual", ""}, {ini, "Log", "Vazio", ""}, {"", "Log", "X", nullptr}, {"[Log", "Log", "X", nullptr},
    };
    for (const auto& [conteudo, secao, chave, esperado] : casos) {
        std::string valor = "<ausente>";
        TQIniLeTexto(conteudo, secao, chave, valor);
        EXPECT_EQ(valor, esperado ? esperado : "<ausente>") << secao << "/" << chave;
    }
}

class ArquivoIniDisco : public apoio::DiretorioTemporario {};

TEST_F(ArquivoIniDisco, LeArquivoInteiroOuNada)
{
    apoio::GravaTudo(Caminho("log.ini"), "[Log]\r\nEntrada=1\r\n");
    EXPECT_EQ(TQIniLeArquivo(Caminho("log.ini")), "[Log]\r\nEntrada=1\r\n");
    EXPECT_EQ(TQIniLeArquivo(Caminho("nao-existe.ini")), "");
    EXPECT_EQ(TQIniLeArquivo(m_dir), "");
}
