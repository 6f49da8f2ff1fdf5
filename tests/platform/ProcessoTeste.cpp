// Facts of this process, the environment, clocks, and child processes.
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Arquivo.h"
#include "platform/Processo.h"
#include "platform/Tempo.h"

#include "apoio/Apoio.h"
#include "apoio/FilhoTeste.h"

using namespace plataforma;
using namespace teste;

namespace {

// Arguments that a naive command line would split or unquote wrongly. ASCII only: what the
// child's main() sees of other characters depends on the system's code page, not on us.
const std::vector<std::string> kArgumentos = {
    "simples", "com espaco", "", "aspas \"dentro\"", "barra\\final\\", "\\\\servidor\\x",
    "a\\\\\"b", "tab\taqui", "\"", "\\",
};

} // namespace

// Run only as a child: the arguments must arrive exactly as given.
TEST(ProcessoFilhoLado, ConfereArgumentos)
{
    if (!SouFilho())
        GTEST_SKIP() << "only as a child";
    EXPECT_EQ(ArgumentosDoFilho(), kArgumentos);
    // The exit code is the answer; leaving now keeps the child's summary out of the parent's log.
    std::_Exit(::testing::Test::HasFailure() ? 1 : 7);
}

TEST(ProcessoFilhoLado, DormeMuito)
{
    if (SouFilho())
        Dorme(120000);
}

TEST(ProcessoFilho, ArgumentosChegamIntactosECodigoDeSaidaVolta)
{
    ProcessoFilho filho;
    ASSERT_EQ(RodaFilho("ProcessoFilhoLado.ConfereArgumentos", kArgumentos, filho), 0u);
    DWORD codigo = 99;
    ASSERT_TRUE(filho.Espera(60000, &codigo));
    EXPECT_EQ(codigo, 7u) << "1: the arguments arrived changed";
}

TEST(ProcessoFilho, TerminaQuemNaoAcabaEInexistenteNaoComeca)
{
    ProcessoFilho filho;
    ASSERT_EQ(RodaFilho("ProcessoFilhoLado.DormeMuito", {}, filho), 0u);
    EXPECT_FALSE(filho.Espera(200));
    filho.Termina();
    EXPECT_TRUE(filho.Espera(10000));
    ProcessoFilho inexistente;
    EXPECT_NE(inexistente.Inicia(DiretorioTemporario() + "zazazu-nao-existe.exe", {}), 0u);
    EXPECT_FALSE(inexistente.Espera(0));
}

TEST(Processo, FatosAmbienteECaminhos)
{
    ASSERT_TRUE(DefineVariavelAmbiente("ZAZAZU_TESTE_VAR", "valor com \xE7 e \x80"));
    EXPECT_EQ(VariavelAmbiente("ZAZAZU_TESTE_VAR"), "valor com \xE7 e \x80");
    ASSERT_TRUE(DefineVariavelAmbiente("ZAZAZU_TESTE_VAR", nullptr));
    EXPECT_EQ(VariavelAmbiente("ZAZAZU_TESTE_VAR"), "");
    const std::string tmp = DiretorioTemporario();
    ASSERT_FALSE(tmp.empty());
    EXPECT_EQ(tmp.back(), kSeparador);
    for (const std::string& caminho : {tmp, CaminhoExecutavel(), CaminhoEsteModulo()}) {
        bool somenteLeitura = false;
        EXPECT_EQ(LeSomenteLeitura(caminho.c_str(), somenteLeitura), 0u) << caminho;
    }
    // The memory figures, the user's name and the thread's number are checked in the profiler's columns.
    EXPECT_NE(IdProcesso(), 0u);
}

TEST(Tempo, RelogiosAndam)
{
    const DWORD t0 = Ticks();
    const uint64_t r0 = Relogio100ns();
    // The tick count moves in steps and may lag (under Wine it follows its server): wait for
    // 200 ms of the other clock and for the tick count to move (10 s at most), then ask only
    // that it moved, by milliseconds, not by 100 ns units.
    while ((Relogio100ns() - r0 < 2000000 || Ticks() == t0) && Relogio100ns() - r0 < 100000000)
        Dorme(10);
    const DWORD decorrido = Ticks() - t0;
    EXPECT_NE(decorrido, 0u);
    EXPECT_LT(decorrido, 10000u);
    EXPECT_GT(r0, 132223104000000000ull); // after 2020-01-01
}
