// Loading a library by path, with its dependency beside it.
#include "apoio/Apoio.h"
#include "ModosTeste.h"

#include "platform/Biblioteca.h"
#include "platform/Processo.h"

using namespace plataforma;
using namespace teste;

namespace {

// The file that a request for nome.dll reaches on this build.
std::string NomeNativo(const std::string& nome)
{
#ifdef _WIN32
    return nome + ".dll";
#else
    return "lib" + nome + ".so";
#endif
}

// The test libraries, built into a directory beside this executable.
std::string DiretorioDasBibliotecas()
{
    const std::string exe = CaminhoExecutavel();
    return exe.substr(0, exe.find_last_of(kSeparador) + 1) + "bibliotecas" + kSeparador;
}

void Copia(const std::string& de, const std::string& para)
{
    ArquivoSO origem;
    ASSERT_EQ(origem.Abre(de.c_str(), kL), 0u) << de;
    uint64_t tamanho = 0;
    ASSERT_EQ(origem.Tamanho(tamanho), 0u);
    std::string dados(tamanho, '\0');
    DWORD lidos = 0;
    ASSERT_EQ(origem.Le(dados.data(), static_cast<DWORD>(tamanho), lidos), 0u);
    ASSERT_EQ(lidos, tamanho);
    CriaCom(para, dados);
}

class BibliotecaCarregada : public apoio::DiretorioTemporario {
protected:
    void SetUp() override
    {
        apoio::DiretorioTemporario::SetUp();
        // A directory unrelated to the executable's, as the suite's "x64" directory is.
        for (const char* nome : {"zazdependencia", "zazbiblioteca"})
            Copia(DiretorioDasBibliotecas() + NomeNativo(nome), Caminho(NomeNativo(nome)));
    }
};

using Funcao = int (*)(int);

} // namespace

TEST_F(BibliotecaCarregada, DependenciaNoDiretorioDaBiblioteca)
{
    Biblioteca b;
    ASSERT_TRUE(b.Carrega((m_dir + "zazbiblioteca.dll").c_str()));
    EXPECT_TRUE(b.EstaCarregada());
    const auto quadruplo = reinterpret_cast<Funcao>(b.Simbolo("ZazQuadruplo"));
    ASSERT_NE(quadruplo, nullptr);
    EXPECT_EQ(quadruplo(5), 20);
    EXPECT_EQ(b.Simbolo("ZazNaoExiste"), nullptr);
    b.Libera();
    EXPECT_FALSE(b.EstaCarregada());
    EXPECT_EQ(b.Simbolo("ZazQuadruplo"), nullptr);
}

TEST_F(BibliotecaCarregada, RecarregarTrocaABiblioteca)
{
    Biblioteca b;
    ASSERT_TRUE(b.Carrega((m_dir + "zazdependencia.dll").c_str()));
    EXPECT_EQ(b.Simbolo("ZazQuadruplo"), nullptr);
    ASSERT_TRUE(b.Carrega((m_dir + "zazbiblioteca.dll").c_str()));
    EXPECT_NE(b.Simbolo("ZazQuadruplo"), nullptr);
}

TEST(Biblioteca, InexistenteNaoCarrega)
{
    Biblioteca b;
    EXPECT_FALSE(b.Carrega((DiretorioTemporario() + "zazazu-nao-existe.dll").c_str()));
    EXPECT_FALSE(b.EstaCarregada());
    EXPECT_EQ(b.Simbolo("Qualquer"), nullptr);
}
