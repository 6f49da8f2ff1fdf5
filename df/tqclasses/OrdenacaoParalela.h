// The sorts of the store: two halves sorted on two threads and merged. Below two chunks,
// or when no thread can be started, one thread sorts the whole.
#pragma once

#include <algorithm>
#include <cstddef>
#include <system_error>
#include <thread>

constexpr size_t kPedacoOrdenacao = 2048;

template <typename It, typename Compara>
void OrdenaParalelo(It inicio, It fim, Compara compara)
{
    const auto n = static_cast<size_t>(fim - inicio);
    if (n < 2 * kPedacoOrdenacao) {
        std::sort(inicio, fim, compara);
        return;
    }
    const It meio = inicio + static_cast<std::ptrdiff_t>(n / 2);
    std::thread outra;
    try {
        outra = std::thread([=] { std::sort(inicio, meio, compara); });
    } catch (const std::system_error&) {
        std::sort(inicio, fim, compara);
        return;
    }
    std::sort(meio, fim, compara);
    outra.join();
    std::inplace_merge(inicio, meio, fim, compara);
}
