// Raising a thread's priority: Windows has the call, POSIX threads of the normal policy have none.
#include <gtest/gtest.h>

#include "platform/Sincronizacao.h"

TEST(Prioridade, ThreadEmExecucao)
{
    plataforma::Evento fim;
    plataforma::Thread thread([&fim] { fim.Espera(); });
#ifdef _WIN32
    EXPECT_TRUE(plataforma::PrioridadeMaxima(thread));
#else
    EXPECT_FALSE(plataforma::PrioridadeMaxima(thread));
#endif
    fim.Sinaliza();
    thread.join();
    // A thread that has been joined is no longer there to raise.
    EXPECT_FALSE(plataforma::PrioridadeMaxima(thread));
}
