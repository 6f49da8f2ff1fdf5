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

// n threads waiting on the event; counts beat clocks, with a generous bound.
struct Esperas {
    std::vector<Thread> threads;
    std::atomic<int> liberadas{0}, falhas{0};

    Esperas(Evento& e, int n, DWORD espera)
    {
        for (int i = 0; i < n; ++i)
            threads.emplace_back([this, &e, espera] { (e.Espera(espera) ? liberadas : falhas)++; });
        Dorme(50);
    }
    bool AteChegar(int valor)
    {
        for (int i = 0; i < 1000 && liberadas.load() < valor; ++i)
            Dorme(10);
        return liberadas.load() >= valor;
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
    Esperas esperas(e, 4, kInfinito);
    EXPECT_EQ(esperas.liberadas.load(), 0);
    e.Sinaliza();
    EXPECT_TRUE(esperas.AteChegar(4));
    EXPECT_TRUE(e.Espera(0));
    e.Reinicia();
    EXPECT_FALSE(e.Espera(0));
}

TEST(Evento, AutomaticoLiberaUmPorSinal)
{
    Evento e(false);
    Esperas esperas(e, 3, 20000);
    for (int n = 1; n <= 3; ++n) {
        e.Sinaliza();
        ASSERT_TRUE(esperas.AteChegar(n));
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
