// The machine-fault guard at the platform level: a fault outside any guard still ends the
// process. (What the guard does not handle passing on: C++ exceptions through guards, SEHTeste.)
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "platform/GuardaFalhas.h"
#include "platform/Processo.h"

#include "apoio/FilhoTeste.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#endif

using namespace plataforma;
using namespace teste;

namespace {

int* volatile g_invalido = reinterpret_cast<int*>(16);

void EscreveEmInvalido(void*)
{
    *g_invalido = 1;
}

struct Resultado {
    bool falhou;
    DWORD codigo;
    std::string pilha;
};

Resultado Protegido(void (*funcao)(void*), void* contexto = nullptr)
{
    Resultado r{false, 0, {}};
    r.falhou = ExecutaProtegido(funcao, contexto, r.codigo, r.pilha);
    return r;
}

// The child leaves with this code when it outlived a fault it should have died of.
constexpr int kSobreviveu = 3;

} // namespace

// Run only as a child: after a guarded fault and an exception through a guard, a fault that no
// guard covers must end the process as it would without the guard (one real process stands for
// the other orders, which leave the guard in the same state).
TEST(GuardaFalhasFilhoLado, FalhaSemGuarda)
{
    if (!SouFilho())
        GTEST_SKIP() << "only as a child";
#ifdef _WIN32
    // The last resort for what nobody handled: the process ends with the fault's code,
    // without the debugger's report in the test log.
    SetUnhandledExceptionFilter([](EXCEPTION_POINTERS*) -> LONG { return EXCEPTION_EXECUTE_HANDLER; });
#endif
    if (!Protegido(EscreveEmInvalido).falhou)
        std::_Exit(1);
    try {
        Protegido([](void*) { throw 1; });
    } catch (int) {
    }
    EscreveEmInvalido(nullptr);
    std::_Exit(kSobreviveu);
}

TEST(GuardaFalhasFilho, FalhaSemGuardaTerminaOProcesso)
{
    ProcessoFilho filho;
    ASSERT_EQ(RodaFilho("GuardaFalhasFilhoLado.FalhaSemGuarda", {}, filho), 0u);
    DWORD codigo = 0;
    ASSERT_TRUE(filho.Espera(120000, &codigo));
#if defined(_WIN32)
    EXPECT_EQ(codigo, falha::ViolacaoAcesso);
#elif defined(__SANITIZE_ADDRESS__)
    // The sanitizer's own handler, there before the guard's, reports and exits.
    EXPECT_NE(codigo, 0u);
    EXPECT_NE(codigo, DWORD(kSobreviveu));
#else
    EXPECT_EQ(codigo, 128u + SIGSEGV);
#endif
}
