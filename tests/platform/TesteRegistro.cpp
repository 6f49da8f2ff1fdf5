// DWORD and text values under a key of this run only, below HKEY_CURRENT_USER.
#include "apoio/Apoio.h"

#include "platform/Erros.h"
#include "platform/Processo.h"
#include "platform/Registro.h"
#include "platform/Tempo.h"
#include "platform/Texto.h"

using namespace plataforma;

namespace {

const char kBase[] = "Software\\ZazAzuTestes";

class Registro : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The POSIX registry file of this run; the real registry ignores it.
        DefineVariavelAmbiente("ZAZAZU_REGISTRY", (apoio::DiretorioDaExecucao() + "registro.reg").c_str());
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_chave = std::string(kBase) + "\\" + std::to_string(IdProcesso()) + "-" + std::to_string(Relogio100ns()) +
                  "\\" + info->name();
    }
    void TearDown() override
    {
        const std::string execucao = m_chave.substr(0, m_chave.rfind('\\'));
        EXPECT_EQ(ApagaChaveRegistro(RaizRegistro::CurrentUser, execucao.c_str()), 0u);
    }

    std::string m_chave;
};

} // namespace

TEST_F(Registro, DwordETextoFazemIdaEVolta)
{
    const std::string texto = "C:\\Pasta \"Com\" Aspas\\A\xE7\xE3o \x80 = [x] ; @";
    {
        ChaveRegistro k;
        ASSERT_EQ(k.Cria(RaizRegistro::CurrentUser, m_chave.c_str()), 0u);
        EXPECT_TRUE(k.EstaAberta());
        ASSERT_EQ(k.GravaDword("Numero", 42), 0u);
        ASSERT_EQ(k.GravaDword("Maximo", 0xFFFFFFFF), 0u);
        ASSERT_EQ(k.GravaTexto("Texto", texto.c_str()), 0u);
        ASSERT_EQ(k.GravaTexto("Vazio", ""), 0u);
        ASSERT_EQ(k.GravaTexto(nullptr, "padr\xE3o"), 0u);
    }
    ChaveRegistro k;
    ASSERT_EQ(k.Abre(RaizRegistro::CurrentUser, m_chave.c_str()), 0u);
    DWORD d = 0;
    ASSERT_EQ(k.LeDword("Numero", d), 0u);
    EXPECT_EQ(d, 42u);
    ASSERT_EQ(k.LeDword("maximo", d), 0u); // value names without regard to case
    EXPECT_EQ(d, 0xFFFFFFFFu);
    std::string s;
    ASSERT_EQ(k.LeTexto("Texto", s), 0u);
    EXPECT_EQ(s, texto);
    ASSERT_EQ(k.LeTexto("Vazio", s), 0u);
    EXPECT_EQ(s, "");
    ASSERT_EQ(k.LeTexto("", s), 0u);
    EXPECT_EQ(s, "padr\xE3o");
}

TEST_F(Registro, GravarDeNovoSubstitui)
{
    ChaveRegistro k;
    ASSERT_EQ(k.Cria(RaizRegistro::CurrentUser, m_chave.c_str()), 0u);
    ASSERT_EQ(k.GravaDword("Valor", 1), 0u);
    ASSERT_EQ(k.GravaDword("Valor", 2), 0u);
    DWORD d = 0;
    ASSERT_EQ(k.LeDword("Valor", d), 0u);
    EXPECT_EQ(d, 2u);
}

TEST_F(Registro, AusenteETipoErrado)
{
    ChaveRegistro k;
    EXPECT_EQ(k.Abre(RaizRegistro::CurrentUser, m_chave.c_str()), erro::ArquivoNaoEncontrado);
    EXPECT_FALSE(k.EstaAberta());
    ASSERT_EQ(k.Cria(RaizRegistro::CurrentUser, m_chave.c_str()), 0u);
    DWORD d = 7;
    std::string s = "x";
    EXPECT_EQ(k.LeDword("NaoHa", d), erro::ArquivoNaoEncontrado);
    EXPECT_EQ(k.LeTexto("NaoHa", s), erro::ArquivoNaoEncontrado);
    ASSERT_EQ(k.GravaTexto("Texto", "12"), 0u);
    ASSERT_EQ(k.GravaDword("Numero", 12), 0u);
    EXPECT_NE(k.LeDword("Texto", d), 0u);
    EXPECT_NE(k.LeTexto("Numero", s), 0u);
}

TEST_F(Registro, ApagaValor)
{
    ChaveRegistro k;
    ASSERT_EQ(k.Cria(RaizRegistro::CurrentUser, m_chave.c_str()), 0u);
    ASSERT_EQ(k.GravaDword("Some", 5), 0u);
    ASSERT_EQ(k.GravaDword("Fica", 6), 0u);
    ASSERT_EQ(k.ApagaValor("Some"), 0u);
    EXPECT_EQ(k.ApagaValor("Some"), erro::ArquivoNaoEncontrado);
    DWORD d = 0;
    EXPECT_EQ(k.LeDword("Some", d), erro::ArquivoNaoEncontrado);
    ASSERT_EQ(k.LeDword("Fica", d), 0u);
    EXPECT_EQ(d, 6u);
}

TEST_F(Registro, AbertaSoParaLeituraNaoGrava)
{
    {
        ChaveRegistro k;
        ASSERT_EQ(k.Cria(RaizRegistro::CurrentUser, m_chave.c_str()), 0u);
    }
    ChaveRegistro leitura;
    ASSERT_EQ(leitura.Abre(RaizRegistro::CurrentUser, m_chave.c_str()), 0u);
    EXPECT_EQ(leitura.GravaDword("X", 1), erro::AcessoNegado);
    ChaveRegistro escrita;
    ASSERT_EQ(escrita.Abre(RaizRegistro::CurrentUser, m_chave.c_str(), true), 0u);
    EXPECT_EQ(escrita.GravaDword("X", 1), 0u);
}

TEST_F(Registro, NomesDeChaveSemCaixaEApagaArvore)
{
    const std::string filha = m_chave + "\\Filha\\Neta";
    {
        ChaveRegistro k;
        ASSERT_EQ(k.Cria(RaizRegistro::CurrentUser, filha.c_str()), 0u);
        ASSERT_EQ(k.GravaTexto("Nome", "neta"), 0u);
    }
    std::string maiusculas = filha;
    for (char& c : maiusculas)
        c = MaiusculaAnsi(c);
    ChaveRegistro k;
    ASSERT_EQ(k.Abre(RaizRegistro::CurrentUser, maiusculas.c_str()), 0u);
    std::string s;
    ASSERT_EQ(k.LeTexto("NOME", s), 0u);
    EXPECT_EQ(s, "neta");
    k.Fecha();

    ASSERT_EQ(ApagaChaveRegistro(RaizRegistro::CurrentUser, (m_chave + "\\Filha").c_str()), 0u);
    EXPECT_EQ(k.Abre(RaizRegistro::CurrentUser, filha.c_str()), erro::ArquivoNaoEncontrado);
    EXPECT_EQ(k.Abre(RaizRegistro::CurrentUser, m_chave.c_str()), 0u);
}
