// The registry file of the POSIX build: its .reg syntax, where it lives, atomic replacement,
// and writers in other processes that do not lose each other's values.
#ifndef _WIN32

#include "apoio/Apoio.h"

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>

#include "platform/Diretorio.h"
#include "platform/Processo.h"
#include "platform/Registro.h"
#include "platform/Sincronizacao.h"

using namespace plataforma;

namespace {

// Each test has a registry file of its own, in its directory.
class RegistroArquivo : public apoio::DiretorioTemporario {
protected:
    void SetUp() override
    {
        apoio::DiretorioTemporario::SetUp();
        m_anterior = VariavelAmbiente("ZAZAZU_REGISTRY");
        m_arquivo = Caminho("registro.reg");
        DefineVariavelAmbiente("ZAZAZU_REGISTRY", m_arquivo.c_str());
    }
    void TearDown() override
    {
        DefineVariavelAmbiente("ZAZAZU_REGISTRY", m_anterior.empty() ? nullptr : m_anterior.c_str());
        apoio::DiretorioTemporario::TearDown();
    }

    const std::string m_chave = "Software\\ZazAzuTestes";
    std::string m_arquivo;
    std::string m_anterior;
};

} // namespace

// A missing file is an empty registry; the first write makes it, in the .reg syntax.
TEST_F(RegistroArquivo, GravaNaSintaxeReg)
{
    {
        ChaveRegistro k;
        EXPECT_EQ(k.Abre(RaizRegistro::LocalMachine, "SOFTWARE\\Qualquer"), 2u);
        EXPECT_FALSE(apoio::Existe(m_arquivo)) << "reading must not create the file";
        ASSERT_EQ(k.Cria(RaizRegistro::LocalMachine, "SOFTWARE\\Wow6432Node\\TQ Zodovezi\\Contabil"), 0u);
        ASSERT_EQ(k.GravaTexto("Path", "C:\\TQ \"Contabil\"\\"), 0u);
        ASSERT_EQ(k.GravaDword("Numero", 42), 0u);
        ASSERT_EQ(k.GravaTexto(nullptr, "padr\xE3o"), 0u);
    }
    const std::string texto = apoio::LeTudo(m_arquivo);
    EXPECT_EQ(texto.rfind("Windows Registry Editor Version 5.00\n", 0), 0u) << texto;
    EXPECT_NE(texto.find("\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\TQ Zodovezi\\Contabil]\n"), std::string::npos);
    EXPECT_NE(texto.find("\n\"Path\"=\"C:\\\\TQ \\\"Contabil\\\"\\\\\"\n"), std::string::npos) << texto;
    EXPECT_NE(texto.find("\n\"Numero\"=dword:0000002a\n"), std::string::npos) << texto;
    // UTF-8 in the file, code page 1252 in the API.
    EXPECT_NE(texto.find("\n@=\"padr\xC3\xA3o\"\n"), std::string::npos) << texto;
}

TEST_F(RegistroArquivo, SubstituicaoAtomicaParaQuemLe)
{
    constexpr int kFixos = 50;
    ChaveRegistro k;
    ASSERT_EQ(k.Cria(RaizRegistro::CurrentUser, m_chave.c_str()), 0u);
    for (int i = 0; i < kFixos; ++i)
        ASSERT_EQ(k.GravaTexto(("fixo" + std::to_string(i)).c_str(), "valor fixo"), 0u);
    std::atomic<bool> parar{false};
    std::atomic<int> leituras{0}, rasgadas{0};
    Thread leitor([&] {
        while (!parar) {
            const std::string texto = apoio::LeTudo(m_arquivo);
            int achados = 0;
            for (size_t p = texto.find("\"fixo"); p != std::string::npos; p = texto.find("\"fixo", p + 1))
                ++achados;
            if (achados != kFixos)
                ++rasgadas;
            ++leituras;
        }
    });
    for (DWORD i = 0; i < 200; ++i)
        ASSERT_EQ(k.GravaTexto("muda", std::string(i % 37, 'x').c_str()), 0u);
    parar = true;
    leitor.join();
    EXPECT_GT(leituras.load(), 0);
    EXPECT_EQ(rasgadas.load(), 0);
    // No temporary file is left beside it.
    std::vector<EntradaDiretorio> entradas;
    ASSERT_EQ(ListaDiretorio(m_dir.c_str(), entradas), 0u);
    for (const EntradaDiretorio& e : entradas)
        EXPECT_TRUE(e.nome == "registro.reg" || e.nome == "registro.reg.lock") << e.nome;
}

// Two threads here and a process beside them: no writer loses another's values.
TEST_F(RegistroArquivo, EscritoresNaoPerdemValores)
{
    constexpr int kPorEscritor = 30;
    {
        ChaveRegistro k;
        ASSERT_EQ(k.Cria(RaizRegistro::CurrentUser, m_chave.c_str()), 0u);
    }
    auto escreve = [this](const char* prefixo) {
        ChaveRegistro k;
        bool ok = k.Abre(RaizRegistro::CurrentUser, m_chave.c_str(), true) == 0;
        for (int i = 0; ok && i < kPorEscritor; ++i)
            ok = k.GravaDword((prefixo + std::to_string(i)).c_str(), static_cast<DWORD>(i)) == 0;
        return ok;
    };
    const pid_t filho = fork();
    ASSERT_GE(filho, 0);
    if (filho == 0)
        _exit(escreve("filho") ? 0 : 1);
    bool okThread = false;
    Thread outra([&] { okThread = escreve("thread"); });
    EXPECT_TRUE(escreve("pai"));
    outra.join();
    EXPECT_TRUE(okThread);
    int status = 0;
    ASSERT_EQ(waitpid(filho, &status, 0), filho);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ChaveRegistro k;
    ASSERT_EQ(k.Abre(RaizRegistro::CurrentUser, m_chave.c_str()), 0u);
    for (const char* prefixo : {"pai", "thread", "filho"}) {
        for (int i = 0; i < kPorEscritor; ++i) {
            DWORD v = 999;
            EXPECT_EQ(k.LeDword((prefixo + std::to_string(i)).c_str(), v), 0u) << prefixo << i;
            EXPECT_EQ(v, static_cast<DWORD>(i));
        }
    }
}

TEST_F(RegistroArquivo, SemVariavelFicaNaConfiguracaoDoUsuario)
{
    const std::string xdgAnterior = VariavelAmbiente("XDG_CONFIG_HOME");
    DefineVariavelAmbiente("ZAZAZU_REGISTRY", nullptr);
    DefineVariavelAmbiente("XDG_CONFIG_HOME", m_dir.c_str());
    ChaveRegistro k;
    EXPECT_EQ(k.Cria(RaizRegistro::CurrentUser, m_chave.c_str()), 0u);
    DefineVariavelAmbiente("XDG_CONFIG_HOME", xdgAnterior.empty() ? nullptr : xdgAnterior.c_str());
    EXPECT_TRUE(apoio::Existe(m_dir + "zazazu/registro.reg"));
}

#endif
