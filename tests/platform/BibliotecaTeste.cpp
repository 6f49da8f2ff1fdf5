// Loading a library by path, with its dependency beside it. On POSIX a request for "dir/X.dll"
// loads "dir/libX.so", the directory and name found without regard to case.
#include "apoio/Apoio.h"

#include "platform/Arquivo.h"
#include "platform/Biblioteca.h"
#include "platform/Processo.h"
#include "platform/Texto.h"

using namespace plataforma;

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

class BibliotecaCarregada : public apoio::DiretorioTemporario {
protected:
    void SetUp() override
    {
        apoio::DiretorioTemporario::SetUp();
        // The test libraries are built beside this executable; they are used from a directory
        // unrelated to the executable's, as the suite's "x64" directory is.
        const std::string exe = CaminhoExecutavel();
        const std::string origem = exe.substr(0, exe.find_last_of(kSeparador) + 1) + "bibliotecas" + kSeparador;
        for (const char* nome : {"zazdependencia", "zazbiblioteca"})
            apoio::GravaTudo(Caminho(NomeNativo(nome)), apoio::LeTudo(origem + NomeNativo(nome)));
    }
};

using Funcao = int (*)(int);

} // namespace

TEST_F(BibliotecaCarregada, DependenciaNoDiretorioDaBibliotecaERecarga)
{
    Biblioteca b;
    ASSERT_TRUE(b.Carrega((m_dir + "zazdependencia.dll").c_str()));
    EXPECT_EQ(b.Simbolo("ZazQuadruplo"), nullptr);
    ASSERT_TRUE(b.Carrega((m_dir + "zazbiblioteca.dll").c_str()));
    const auto quadruplo = reinterpret_cast<Funcao>(b.Simbolo("ZazQuadruplo"));
    ASSERT_NE(quadruplo, nullptr);
    EXPECT_EQ(quadruplo(5), 20);
    EXPECT_EQ(b.Simbolo("ZazNaoExiste"), nullptr);
    b.Libera();
    EXPECT_EQ(b.Simbolo("ZazQuadruplo"), nullptr);
    // A failed load lets the previous library go.
    ASSERT_TRUE(b.Carrega((m_dir + "zazbiblioteca.dll").c_str()));
    EXPECT_FALSE(b.Carrega((m_dir + "outra.dll").c_str()));
    EXPECT_FALSE(b.EstaCarregada());
}

TEST_F(BibliotecaCarregada, NomeEDiretorioSemCaixa)
{
    // The test's own directory in upper case.
    std::string dir = m_dir;
    for (size_t i = dir.find_last_of(kSeparador, dir.size() - 2) + 1; i < dir.size(); ++i)
        dir[i] = MaiusculaAnsi(dir[i]);
    ASSERT_NE(dir, m_dir);
    Biblioteca b;
    ASSERT_TRUE(b.Carrega((dir + "ZAZBIBLIOTECA.DLL").c_str()));
    EXPECT_NE(b.Simbolo("ZazQuadruplo"), nullptr);
}
