// The suite's day value.
#include <gtest/gtest.h>

#include "df/tqlibex/TQDma.h"
#include "platform/Tempo.h"

TEST(TQDma, DiasConhecidosEAjustes)
{
    struct Caso {
        int dia, mes, ano;
        REG_TQDMA esperado;
    };
    const Caso casos[] = {
        {1, 1, 1848, 2}, {31, 12, 1847, 0}, {7, 5, 2020, 62951},
        // A day past the month's end is its last; 29 February of a common year, centuries included, is the 28th.
        {31, 4, 2021, TQDma(30, 4, 2021)}, {99, 1, 2021, TQDma(31, 1, 2021)},
        {29, 2, 2021, TQDma(28, 2, 2021)}, {29, 2, 1900, TQDma(28, 2, 1900)},
        // Two-digit years: up to 83 in this century.
        {7, 5, 20, 62951}, {1, 1, 0, TQDma(1, 1, 2000)}, {1, 1, 83, TQDma(1, 1, 2083)}, {1, 1, 84, TQDma(1, 1, 1984)},
        // Out of range.
        {0, 1, 2020, 0}, {1, 0, 2020, 0}, {1, 13, 2020, 0}, {1, 1, 1847, 0}, {1, 1, 4718, 0}, {1, 1, 100, 0},
        // Month and year ends run on by one day; leap years, centuries and the last day included.
        {1, 1, 1849, 368}, {1, 3, 2000, TQDma(28, 2, 2000) + 2}, {1, 3, 2020, TQDma(28, 2, 2020) + 2},
        {1, 3, 1900, TQDma(28, 2, 1900) + 1}, {1, 5, 2021, TQDma(30, 4, 2021) + 1}, {31, 12, 4717, TQDma(1, 1, 4717) + 364},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(TQDma(c.dia, c.mes, c.ano), c.esperado) << c.dia << "/" << c.mes << "/" << c.ano;

    // Midnight may pass between the readings.
    const plataforma::DataHoraLocal antes = plataforma::AgoraLocal();
    const REG_TQDMA hoje = TQDmaHoje();
    const plataforma::DataHoraLocal depois = plataforma::AgoraLocal();
    EXPECT_TRUE(hoje == TQDma(antes.dia, antes.mes, antes.ano) || hoje == TQDma(depois.dia, depois.mes, depois.ano));
}
