#include "platform/Contadores.h"

#include <atomic>

#include "platform/Arquivo.h"
#include "platform/Tempo.h"

namespace plataforma {

namespace {
std::atomic<uint64_t> g_leituras{0};
std::atomic<uint64_t> g_cessoes{0};
} // namespace

void ContaLeituraPlataforma() { g_leituras.fetch_add(1, std::memory_order_relaxed); }

uint64_t LeiturasPlataforma() { return g_leituras.load(std::memory_order_relaxed); }

void ContaCessao() { g_cessoes.fetch_add(1, std::memory_order_relaxed); }

uint64_t Cessoes() { return g_cessoes.load(std::memory_order_relaxed); }

} // namespace plataforma
