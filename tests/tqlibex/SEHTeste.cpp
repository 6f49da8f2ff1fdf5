// Machine faults inside a guarded call become HRESULTs; the process and the guard live on.
#include <stdexcept>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "df/tqlibex/TQSEH.h"

namespace {

constexpr HRESULT kViolacaoAcesso = TQHResult(0x8004EAC5);
constexpr HRESULT kDivisaoZero = TQHResult(0x8004EAD3);
constexpr HRESULT kEstouroPilha = TQHResult(0x8004EADA);

// Faults made for real, out of the optimizer's and the sanitizers' sight.
int* volatile g_invalido = reinterpret_cast<int*>(16);
volatile int g_zero = 0;
volatile int g_nunca = -1;

__attribute__((noinline)) HRESULT EscreveEmInvalido()
{
    *g_invalido = 1;
    return S_OK;
}

__attribute__((noinline, no_sanitize("undefined"))) HRESULT DivideInteiroPorZero()
{
    volatile int dividendo = 7;
    volatile int resultado = dividendo / g_zero;
    (void)resultado;
    return S_OK;
}

__attribute__((noinline)) int Recursa(int n)
{
    volatile char bloco[1024];
    bloco[0] = static_cast<char>(n);
    if (n == g_nunca)
        return 0;
    return Recursa(n + 1) + bloco[0];
}

HRESULT EstouraPilha()
{
    return Recursa(0) == 0 ? S_OK : S_FALSE;
}

} // namespace

TEST(TraducaoFalhas, CadaCodigoTemSeuHResult)
{
    // One after another from 0x8004EAC5 in the order of the platform's fault codes: the first,
    // one between and the last.
    const std::pair<DWORD, uint32_t> casos[] = {{0xC0000005, 0x8004EAC5}, {0xC0000094, 0x8004EAD3},
                                                {0xC00000FD, 0x8004EADA}, {0x80000029, 0x8004EADB}};
    for (const auto& [codigo, hr] : casos)
        EXPECT_EQ(static_cast<uint32_t>(CTQSEH::TraduzCodigo(codigo)), hr) << std::hex << codigo;
    // Anything else, C++ exceptions and the guard's neighbours included, is "some other fault".
    for (DWORD outro : {0u, 0xE06D7363u, 0xC0000004u, 0xFFFFFFFFu})
        EXPECT_EQ(static_cast<uint32_t>(CTQSEH::TraduzCodigo(outro)), 0x8004EE47u) << std::hex << outro;
    // The range's bounds, and the "other fault" code outside it.
    const std::pair<uint32_t, bool> faixa[] = {{0x8004EAC4, false}, {0x8004EAC5, true}, {0x8004EADB, true},
                                               {0x8004EADC, false}, {0x8004EE47, true}};
    for (const auto& [hr, falha] : faixa)
        EXPECT_EQ(TQEhHResultDeFalha(TQHResult(hr)), falha) << std::hex << hr;
}

TEST(GuardaFalhas, RetornoNormalPassaIntactoEViolacaoDeAcessoVolta)
{
    for (HRESULT esperado : {S_FALSE, TQHResult(0x8004EAC5)}) {
        int chamadas = 0;
        std::string pilha = "antes";
        EXPECT_EQ(CTQSEH::Executa([&] { return ++chamadas, esperado; }, &pilha), esperado);
        EXPECT_EQ(chamadas, 1);
        EXPECT_EQ(pilha, "antes");
    }
    std::string pilha;
    EXPECT_EQ(CTQSEH::Executa([] { return EscreveEmInvalido(); }, &pilha), kViolacaoAcesso);
    EXPECT_EQ(CTQSEH::UltimoCodigo(), 0xC0000005u);
    EXPECT_EQ(CTQSEH::UltimaPilha(), pilha);
    // The text names the fault and walks from the faulting function outward.
    for (const char* trecho : {"0xC0000005", "#0 ", "#1 "})
        EXPECT_NE(pilha.find(trecho), std::string::npos) << pilha;
}

TEST(GuardaFalhas, EstouroDePilhaRepetido)
{
    // Twice: the first overflow must leave the stack able to signal the next one.
    for (int vez = 0; vez < 2; ++vez) {
        EXPECT_EQ(CTQSEH::Executa([] { return EstouraPilha(); }), kEstouroPilha) << vez;
        EXPECT_EQ(CTQSEH::UltimoCodigo(), 0xC00000FDu);
    }
    // Each thread has a stack of its own for the signal.
    HRESULT naOutra = S_OK;
    std::thread outra([&] { naOutra = CTQSEH::Executa([] { return EstouraPilha(); }); });
    outra.join();
    EXPECT_EQ(naOutra, kEstouroPilha);
}

TEST(GuardaFalhas, ExcecaoCxxAtravessaGuardasAninhadas)
{
    EXPECT_THROW(CTQSEH::Executa([]() -> HRESULT { throw std::runtime_error("de dentro"); }), std::runtime_error);
    HRESULT interna = S_OK;
    const HRESULT externa = CTQSEH::Executa([&] {
        interna = CTQSEH::Executa([] { return DivideInteiroPorZero(); });
        // Back in the outer guard, which still holds.
        return EscreveEmInvalido();
    });
    EXPECT_EQ(interna, kDivisaoZero);
    EXPECT_EQ(externa, kViolacaoAcesso);
    // An exception that leaves the inner guard, caught inside the outer one.
    const HRESULT depoisExcecao = CTQSEH::Executa([] {
        try {
            CTQSEH::Executa([]() -> HRESULT { throw std::runtime_error("interna"); });
        } catch (const std::exception&) {
        }
        return DivideInteiroPorZero();
    });
    EXPECT_EQ(depoisExcecao, kDivisaoZero);
}
