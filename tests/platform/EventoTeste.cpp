// Manual- and auto-reset events between threads.
#include <atomic>
#include <chrono>
#include <vector>

#include <gtest/gtest.h>

#include "apoio/Apoio.h"
#include "platform/Sincronizacao.h"
#include "platform/Tempo.h"

using namespace plataforma;

namespace {

// Waits, with a generous bound, until the counter reaches a value.
bool AteChegar(const std::atomic<int>& contador, int valor)
{
    for (int i = 0; i < 1000 && contador.load() < valor; ++i)
        Dorme(10);
    return contador.load() >= valor;
}

struct Esperas {
    std::vector<Thread> threads;
    std::atomic<int> liberadas{0};
    std::atomic<int> falhas{0};

    void Inicia(Evento& e, int n, DWORD espera)
    {
        for (int i = 0; i < n; ++i)
            threads.emplace_back([this, &e, espera] { (e.Espera(espera) ? liberadas : falhas)++; });
    }
    ~Esperas()
    {
        for (auto& t : threads)
            t.join();
    }
};

} // namespace

TEST(Evento, ManualLiberaTodosEFicaSinalizado)
{
    Evento e(true);
    Esperas esperas;
    esperas.Inicia(e, 4, kInfinito);
    Dorme(50);
    EXPECT_EQ(esperas.liberadas.load(), 0);
    e.Sinaliza();
    EXPECT_TRUE(AteChegar(esperas.liberadas, 4));
    EXPECT_TRUE(e.Espera(0));
    EXPECT_TRUE(e.Espera(0));
    e.Reinicia();
    EXPECT_FALSE(e.Espera(0));
}

TEST(Evento, AutomaticoLiberaUmPorSinal)
{
    Evento e(false);
    Esperas esperas;
    esperas.Inicia(e, 3, 20000);
    Dorme(50);
    for (int n = 1; n <= 3; ++n) {
        e.Sinaliza();
        ASSERT_TRUE(AteChegar(esperas.liberadas, n));
        Dorme(50); // room for a wrongly released second waiter to show up
        EXPECT_EQ(esperas.liberadas.load(), n);
    }
    EXPECT_FALSE(e.Espera(0)); // the last waiter took the signal
    EXPECT_EQ(esperas.falhas.load(), 0);
}

TEST(Evento, AutomaticoSinalizadoAntesServeUmaVezEEsperaTerminaNoPrazo)
{
    Evento e(false, true);
    EXPECT_TRUE(e.Espera(0));
    EXPECT_FALSE(e.Espera(0));
    e.Sinaliza();
    e.Sinaliza(); // a second signal on a signalled event is not counted
    EXPECT_TRUE(e.Espera(10));
    const auto inicio = std::chrono::steady_clock::now();
    EXPECT_FALSE(e.Espera(100));
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - inicio);
    // A timed wait may end a clock tick early on Windows.
    EXPECT_GE(ms.count(), 100 - int(apoio::kTickRelogioMs));
    EXPECT_LT(ms.count(), 10000);
}
