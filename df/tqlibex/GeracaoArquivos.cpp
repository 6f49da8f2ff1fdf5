#include "df/tqlibex/GeracaoArquivos.h"

#include <atomic>
#include <mutex>
#include <unordered_map>

namespace geracao {

namespace {

struct Contadores {
    uint32_t geracao = 0;
    uint32_t aberturas = 0;
};

std::mutex& Trava()
{
    static std::mutex t;
    return t;
}

std::unordered_map<uint64_t, Contadores>& Tabela()
{
    static std::unordered_map<uint64_t, Contadores> t;
    return t;
}

std::atomic<uint32_t> g_ultimaCarga{0xFFFFFFFFu};

} // namespace

void Incrementa(uint64_t chave, uint32_t& vista)
{
    if (!chave)
        return;
    std::lock_guard<std::mutex> t(Trava());
    Contadores& c = Tabela()[chave];
    if (++c.geracao == 0)
        c.geracao = 1;
    vista = c.geracao;
}

bool Mudou(uint64_t chave, uint32_t& vista)
{
    if (!chave)
        return false;
    std::lock_guard<std::mutex> t(Trava());
    Contadores& c = Tabela()[chave];
    const bool mudou = vista != c.geracao;
    vista = c.geracao;
    return mudou;
}

void Abriu(uint64_t chave)
{
    if (!chave)
        return;
    std::lock_guard<std::mutex> t(Trava());
    Contadores& c = Tabela()[chave];
    ++c.aberturas;
    if (c.geracao == 0)
        c.geracao = 1;
}

void Fechou(uint64_t chave)
{
    if (!chave)
        return;
    std::lock_guard<std::mutex> t(Trava());
    Contadores& c = Tabela()[chave];
    if (c.aberturas > 0)
        --c.aberturas;
}

void MarcaInvalidacao() { g_ultimaCarga.store(0xFFFFFFFFu, std::memory_order_relaxed); }
void MarcaCarga(uint32_t bytes) { g_ultimaCarga.store(bytes, std::memory_order_relaxed); }
bool HouveInvalidacao() { return g_ultimaCarga.load(std::memory_order_relaxed) == 0xFFFFFFFFu; }

} // namespace geracao
