#include "platform/FalhasArquivo.h"

#include <array>
#include <atomic>
#include <mutex>

namespace plataforma {

namespace {

struct Falha {
    OperacaoArquivo operacao = OperacaoArquivo::Quantas;
    unsigned primeira = 0;
    unsigned ultima = 0; // 0: no end
    DWORD erro = 0;
    std::array<unsigned, size_t(OperacaoArquivo::Quantas)> chamadas{};
};

std::atomic<bool> g_armada{false};
std::mutex g_trava;
Falha g_falha;

} // namespace

DWORD FalhaDaOperacao(OperacaoArquivo operacao)
{
    if (!g_armada.load(std::memory_order_relaxed))
        return 0;
    std::lock_guard<std::mutex> trava(g_trava);
    const unsigned n = ++g_falha.chamadas[size_t(operacao)];
    if (operacao != g_falha.operacao || n < g_falha.primeira || (g_falha.ultima && n > g_falha.ultima))
        return 0;
    return g_falha.erro;
}

void DefineFalhaArquivoParaTestes(OperacaoArquivo operacao, unsigned enesima, DWORD erroSO, unsigned vezes)
{
    std::lock_guard<std::mutex> trava(g_trava);
    g_falha = {operacao, enesima, vezes ? enesima + vezes - 1 : 0, erroSO, {}};
    g_armada = true;
}

unsigned ChamadasArquivoParaTestes(OperacaoArquivo operacao)
{
    std::lock_guard<std::mutex> trava(g_trava);
    return g_falha.chamadas[size_t(operacao)];
}

void RemoveFalhaArquivoParaTestes()
{
    std::lock_guard<std::mutex> trava(g_trava);
    g_armada = false;
    g_falha = {};
}

} // namespace plataforma
