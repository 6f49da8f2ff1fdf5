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
    };
    for (const Caso& c : casos)
        EXPECT_EQ(TQDma(c.dia, c.mes, c.ano), c.esperado) << c.dia << "/" << c.mes << "/" << c.ano;

    // Midnight may pass between the readings.
    const plataforma::DataHoraLocal antes = plataforma::AgoraLocal();
    const REG_TQDMA hoje = TQDmaHoje();
    const plataforma::DataHoraLocal depois = plataforma::AgoraLocal();
    EXPECT_TRUE(hoje == TQDma(antes.dia, antes.mes, antes.ano) || hoje == TQDma(depois.dia, depois.mes, depois.ano));
}

TEST(TQDma, DiasSeguidosSemBuracoNemRepeticao)
{
    static const int dias[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    REG_TQDMA anterior = 1;
    for (int ano = 1848; ano <= 4717; ++ano) {
        const bool bissexto = ano % 4 == 0 && (ano % 100 != 0 || ano % 400 == 0);
        for (int mes = 1; mes <= 12; ++mes) {
            const int ultimo = dias[mes - 1] + (mes == 2 && bissexto ? 1 : 0);
            for (int dia = 1; dia <= ultimo; ++dia) {
                const REG_TQDMA valor = TQDma(dia, mes, ano);
                ASSERT_EQ(valor, anterior + 1) << dia << "/" << mes << "/" << ano;
                anterior = valor;
            }
        }
    }
}
