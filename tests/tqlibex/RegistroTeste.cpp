// The registry reader and the settings under the suite key.
#include <string>

#include <gtest/gtest.h>

#include "apoio/RegistroIsolado.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQChavesInicio.h"
#include "df/tqlibex/TQRegistro.h"
#include "platform/Processo.h"
#include "platform/Tempo.h"

using namespace plataforma;

namespace {

class TQRegistroTeste : public teste::RegistroIsolado {
protected:
    void SetUp() override
    {
        RegistroIsolado::SetUp();
        m_chave = "Software\\ZazAzuTestes\\tqlibex-" + std::to_string(IdProcesso()) + "-" + std::to_string(Relogio100ns());
    }
    std::string m_chave;
};

} // namespace

// The values themselves round-trip in the platform's tests; here the defaults, and writes only
// when asked for.
TEST_F(TQRegistroTeste, PadroesEEscritaSoQuandoPedida)
{
    CTQRegistro ausente(RaizRegistro::CurrentUser, m_chave);
    EXPECT_FALSE(ausente.EstaAberta());
    EXPECT_EQ(ausente.LeDword("x", 7), 7u);
    EXPECT_EQ(ausente.LeTexto("x", "padrao"), "padrao");
    GravaDword(RaizRegistro::CurrentUser, m_chave, "Numero", 1);
    GravaTexto(RaizRegistro::CurrentUser, m_chave, nullptr, "padrao da chave");
    {
        CTQRegistro leitura(RaizRegistro::CurrentUser, m_chave);
        ASSERT_TRUE(leitura.EstaAberta());
        EXPECT_EQ(leitura.LeTexto("", ""), "padrao da chave");
        // A missing value or a value of another type gives the default.
        EXPECT_EQ(leitura.LeDword("Ausente", 5), 5u);
        EXPECT_EQ(leitura.LeDword("", 6), 6u);
        EXPECT_EQ(leitura.LeTexto("Numero", "def"), "def");
        EXPECT_FALSE(leitura.GravaDword("Numero", 2));
        CTQRegistro escrita(RaizRegistro::CurrentUser, m_chave, true);
        EXPECT_TRUE(escrita.GravaDword("Numero", 3));
        EXPECT_TRUE(escrita.GravaTexto("Novo", "texto"));
    }
    CTQRegistro r(RaizRegistro::CurrentUser, m_chave);
    EXPECT_EQ(r.LeDword("numero", 0), 3u);
    EXPECT_EQ(r.LeTexto("Novo", ""), "texto");
}

TEST_F(TQRegistroTeste, ModoDesenvolvedorPedeOConteudoExato)
{
    EXPECT_FALSE(CTQChavesInicio::LeModoDesenvolvedor());
    for (const std::string& valor : {std::string("{") + kConteudoModoDesenvolvedor + "}",
                                     std::string(kConteudoModoDesenvolvedor)}) {
        GravaTexto(RaizRegistro::LocalMachine, kChaveSuite, kValorModoDesenvolvedor, valor);
        EXPECT_EQ(CTQChavesInicio::LeModoDesenvolvedor(), valor == kConteudoModoDesenvolvedor) << valor;
    }
}

TEST_F(TQRegistroTeste, ChavesDeInicioLidasUmaVez)
{
    // Whatever the first read found stays, even after the registry changes.
    // The three switches are read together; one stands for them.
    const bool tqsDataBase = CTQChavesInicio::UtilizarTQSDataBase();
    GravaDword(RaizRegistro::LocalMachine, kChaveSuite, kValorUtilizarTQSDataBase, tqsDataBase ? 0 : 1);
    CTQChavesInicio::Le();
    EXPECT_EQ(CTQChavesInicio::UtilizarTQSDataBase(), tqsDataBase);
    const bool modo = CTQChavesInicio::ModoDesenvolvedor();
    GravaTexto(RaizRegistro::LocalMachine, kChaveSuite, kValorModoDesenvolvedor, modo ? "" : kConteudoModoDesenvolvedor);
    EXPECT_EQ(CTQChavesInicio::ModoDesenvolvedor(), modo);
}
