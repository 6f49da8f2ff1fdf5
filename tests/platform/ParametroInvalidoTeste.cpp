// Reports of invalid arguments reach the handler of the reporting thread only.
#include <cerrno>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "platform/ParametroInvalido.h"

namespace {

struct Relato {
    int vezes = 0;
    int numeroErrno = 0;
    std::string funcao;
};

void Anota(const char*, const char* funcao, const char*, unsigned, void* contexto)
{
    auto& r = *static_cast<Relato*>(contexto);
    ++r.vezes;
    r.numeroErrno = errno;
    r.funcao = funcao ? funcao : "";
}

class ParametroInvalido : public ::testing::Test {
protected:
    void SetUp() override { plataforma::DefineTratadorParametroInvalido(Anota, &m_relato); }
    void TearDown() override { plataforma::DefineTratadorParametroInvalido(nullptr, nullptr); }
    Relato m_relato;
};

TEST_F(ParametroInvalido, CopiaTextoRelataCadaArgumentoRuim)
{
    char destino[4] = "abc";
    EXPECT_EQ(plataforma::CopiaTexto(destino, sizeof destino, "xyz"), 0);
    EXPECT_STREQ(destino, "xyz");
    EXPECT_EQ(m_relato.vezes, 0);

    EXPECT_EQ(plataforma::CopiaTexto(destino, sizeof destino, "longo"), ERANGE);
    EXPECT_STREQ(destino, "");
    EXPECT_EQ(m_relato.vezes, 1);
    EXPECT_EQ(m_relato.numeroErrno, ERANGE);
    EXPECT_EQ(m_relato.funcao, "CopiaTexto");

    EXPECT_EQ(plataforma::CopiaTexto(destino, 0, "x"), EINVAL);
    EXPECT_EQ(m_relato.vezes, 2);
    EXPECT_EQ(m_relato.numeroErrno, EINVAL);
}

TEST_F(ParametroInvalido, OutraThreadNaoChamaEsteTratador)
{
    std::thread([] {
        char d[2];
        EXPECT_EQ(plataforma::CopiaTexto(d, sizeof d, "longo"), ERANGE);
    }).join();
    EXPECT_EQ(m_relato.vezes, 0);
}

} // namespace
