#include "df/tqlibex/GeracaoArquivos.h"

#include <memory>
#include <mutex>
#include <unordered_map>

namespace geracao {

std::atomic<uint32_t> g_ultimaCarga{0xFFFFFFFFu};

Entrada* Busca(uint64_t chave)
{
    if (!chave)
        return nullptr;
    static std::mutex trava;
    static std::unordered_map<uint64_t, std::unique_ptr<Entrada>> tabela;
    std::lock_guard<std::mutex> t(trava);
    std::unique_ptr<Entrada>& e = tabela[chave];
    if (!e)
        e = std::make_unique<Entrada>();
    return e.get();
}

void Incrementa(Entrada* e, uint32_t& vista)
{
    if (!e)
        return;
    uint32_t atual = e->geracao.load();
    uint32_t nova;
    do {
        nova = atual + 1 == 0 ? 1 : atual + 1; // 0 is never a generation
    } while (!e->geracao.compare_exchange_weak(atual, nova));
    vista = nova;
}

void Abriu(Entrada* e)
{
    if (!e)
        return;
    e->aberturas.fetch_add(1);
    uint32_t zero = 0;
    e->geracao.compare_exchange_strong(zero, 1);
}

void Fechou(Entrada* e)
{
    if (!e)
        return;
    uint32_t atual = e->aberturas.load();
    while (atual > 0 && !e->aberturas.compare_exchange_weak(atual, atual - 1)) {
    }
}

void MarcaInvalidacao() { g_ultimaCarga.store(0xFFFFFFFFu, std::memory_order_relaxed); }
void MarcaCarga(uint32_t bytes) { g_ultimaCarga.store(bytes, std::memory_order_relaxed); }

} // namespace geracao
