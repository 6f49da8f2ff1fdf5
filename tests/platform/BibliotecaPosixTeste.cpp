// On POSIX a request for "dir/X.dll" loads "dir/libX.so", the directory and name found without regard to case.
#ifndef _WIN32

#include "apoio/Apoio.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include "platform/Biblioteca.h"
#include "platform/Texto.h"

using namespace plataforma;

namespace {

// The C math library of this machine, reached through a link of ours.
class BibliotecaPosix : public apoio::DiretorioTemporario {
protected:
    void SetUp() override
    {
        apoio::DiretorioTemporario::SetUp();
        void* h = dlopen("libm.so.6", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(h, nullptr);
        link_map* mapa = nullptr;
        ASSERT_EQ(dlinfo(h, RTLD_DI_LINKMAP, &mapa), 0);
        m_link = m_dir + "libmatematica.so";
        ASSERT_EQ(symlink(mapa->l_name, m_link.c_str()), 0);
        dlclose(h);
    }
    void TearDown() override
    {
        unlink(m_link.c_str());
        apoio::DiretorioTemporario::TearDown();
    }

    // The test's directory with its own name in upper case.
    std::string DiretorioEmMaiusculas() const
    {
        std::string dir = m_dir;
        const size_t inicio = dir.rfind('/', dir.size() - 2) + 1;
        for (size_t i = inicio; i < dir.size(); ++i)
            dir[i] = MaiusculaAnsi(dir[i]);
        return dir;
    }

    std::string m_link;
};

} // namespace

TEST_F(BibliotecaPosix, DllViraLibSo)
{
    Biblioteca b;
    ASSERT_TRUE(b.Carrega((m_dir + "matematica.dll").c_str()));
    EXPECT_TRUE(b.EstaCarregada());
    EXPECT_NE(b.Simbolo("cos"), nullptr);
    EXPECT_EQ(b.Simbolo("ZazAzuNaoExiste"), nullptr);
    b.Libera();
    EXPECT_FALSE(b.EstaCarregada());
    EXPECT_EQ(b.Simbolo("cos"), nullptr);
}

TEST_F(BibliotecaPosix, NomeEDiretorioSemCaixa)
{
    Biblioteca b;
    ASSERT_NE(DiretorioEmMaiusculas(), m_dir);
    EXPECT_TRUE(b.Carrega((DiretorioEmMaiusculas() + "MATEMATICA.DLL").c_str()));
    EXPECT_NE(b.Simbolo("sin"), nullptr);
}

TEST_F(BibliotecaPosix, NomeSemDllCarregaComoEsta)
{
    Biblioteca b;
    EXPECT_TRUE(b.Carrega((m_dir + "libmatematica.so").c_str()));
    EXPECT_FALSE(b.Carrega((m_dir + "outra.dll").c_str()));
    EXPECT_FALSE(b.EstaCarregada());
}

#endif
