// DWORD and text values under a key of this run only, below HKEY_CURRENT_USER.
#include "apoio/Apoio.h"

#include <vector>

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
    // Quotes, backslashes and the .reg syntax's own signs, in names and in values.
    const std::vector<std::pair<std::string, std::string>> textos = {
        {"aspas\"no\"nome = [x] ; @", "valor \"entre aspas\" \\\\servidor\\"},
        {"acentua\xE7\xE3o", "S\xE3o Paulo \x80"},
        {"", "valor padr\xE3o"},
        {"vazio", ""},
    };
    {
        ChaveRegistro k;
        ASSERT_EQ(k.Cria(RaizRegistro::CurrentUser, m_chave.c_str()), 0u);
        ASSERT_EQ(k.GravaDword("Maximo", 0xFFFFFFFF), 0u);
        for (const auto& [nome, valor] : textos)
            ASSERT_EQ(k.GravaTexto(nome.c_str(), valor.c_str()), 0u) << nome;
    }
    // Key and value names without regard to case.
    std::string maiusculas = m_chave;
    for (char& c : maiusculas)
        c = MaiusculaAnsi(c);
    ChaveRegistro k;
    ASSERT_EQ(k.Abre(RaizRegistro::CurrentUser, maiusculas.c_str()), 0u);
    DWORD d = 0;
    ASSERT_EQ(k.LeDword("maximo", d), 0u);
    EXPECT_EQ(d, 0xFFFFFFFFu);
    for (const auto& [nome, valor] : textos) {
        std::string s = "x";
        EXPECT_EQ(k.LeTexto(nome.c_str(), s), 0u) << nome;
        EXPECT_EQ(s, valor) << nome;
    }
}

// Refusals with their codes, a reader that sees each write of another handle, and a key deleted
// under its open handles, children included.
TEST_F(Registro, RecusasLeitorAbertoEChaveApagada)
{
    ChaveRegistro k;
    EXPECT_EQ(k.Abre(RaizRegistro::CurrentUser, m_chave.c_str()), erro::ArquivoNaoEncontrado);
    ASSERT_EQ(k.Cria(RaizRegistro::CurrentUser, m_chave.c_str()), 0u);
    ASSERT_EQ(k.GravaTexto("Texto", "12"), 0u);
    ASSERT_EQ(k.GravaDword("Numero", 12), 0u);
    DWORD d = 7;
    std::string s = "x";
    EXPECT_EQ(k.LeDword("NaoHa", d), erro::ArquivoNaoEncontrado);
    EXPECT_EQ(k.LeTexto("NaoHa", s), erro::ArquivoNaoEncontrado);
    EXPECT_EQ(k.LeDword("Texto", d), 1630u); // a value of another type
    EXPECT_EQ(k.LeTexto("Numero", s), 1630u);
    ASSERT_EQ(k.ApagaValor("Numero"), 0u);
    EXPECT_EQ(k.ApagaValor("Numero"), erro::ArquivoNaoEncontrado);
    EXPECT_EQ(k.LeDword("Numero", d), erro::ArquivoNaoEncontrado);
    // Opened for reading only, the key takes no writes.
    ChaveRegistro leitura, filha;
    ASSERT_EQ(leitura.Abre(RaizRegistro::CurrentUser, m_chave.c_str()), 0u);
    EXPECT_EQ(leitura.GravaDword("X", 1), erro::AcessoNegado);
    EXPECT_EQ(leitura.ApagaValor("Texto"), erro::AcessoNegado);
    ASSERT_EQ(k.GravaDword("Contador", 3), 0u);
    ASSERT_EQ(leitura.LeDword("Contador", d), 0u);
    EXPECT_EQ(d, 3u);
    ASSERT_EQ(filha.Cria(RaizRegistro::CurrentUser, (m_chave + "\\Filha").c_str()), 0u);
    ASSERT_EQ(filha.GravaDword("x", 1), 0u);
    ASSERT_EQ(ApagaChaveRegistro(RaizRegistro::CurrentUser, m_chave.c_str()), 0u);
    EXPECT_NE(filha.LeDword("x", d), 0u);
    ChaveRegistro outra;
    EXPECT_EQ(outra.Abre(RaizRegistro::CurrentUser, (m_chave + "\\Filha").c_str()), 2u);
    EXPECT_EQ(ApagaChaveRegistro(RaizRegistro::CurrentUser, m_chave.c_str()), 2u);
}
