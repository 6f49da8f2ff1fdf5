// The process-wide table of file generations: a write through one record file object
// makes the caches of the other objects of the process on the same file stale.
#pragma once

#include <atomic>
#include <cstdint>

namespace geracao {

// One file's counters. Entries live as long as the process, so objects keep a pointer to
// theirs and test it without a lock on every read.
struct Entrada {
    std::atomic<uint32_t> geracao{0};
    std::atomic<uint32_t> aberturas{0};
};

// The entry of a name key, created on first use; null for key 0.
Entrada* Busca(uint64_t chave);

// Each does nothing (and answers "unchanged") for a null entry.
void Incrementa(Entrada* e, uint32_t& vista);
// true when the file's generation moved since vista; vista catches up. Inline: every read
// from a read-ahead asks.
inline bool Mudou(Entrada* e, uint32_t& vista)
{
    if (!e)
        return false;
    const uint32_t atual = e->geracao.load(std::memory_order_acquire);
    const bool mudou = vista != atual;
    vista = atual;
    return mudou;
}
void Abriu(Entrada* e);
void Fechou(Entrada* e);

// Set to 0xFFFFFFFF by every invalidation in the process, to the byte count by every fill.
void MarcaInvalidacao();
void MarcaCarga(uint32_t bytes);
extern std::atomic<uint32_t> g_ultimaCarga;
inline bool HouveInvalidacao() { return g_ultimaCarga.load(std::memory_order_relaxed) == 0xFFFFFFFFu; }

} // namespace geracao
