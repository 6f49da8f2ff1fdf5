// The suite's day value.
#include <gtest/gtest.h>

#include "df/tqlibex/TQDma.h"
#include "platform/Tempo.h"

TEST(TQDma, DiasConhecidos)
{
    EXPECT_EQ(TQDma(1, 1, 1848), 2u);
    EXPECT_EQ(TQDma(31, 12, 1847), 0u);
    EXPECT_EQ(TQDma(7, 5, 2020), 62951u);
}

TEST(TQDma, DiaAlemDoMesViraOUltimo)
{
    EXPECT_EQ(TQDma(31, 4, 2021), TQDma(30, 4, 2021));
    EXPECT_EQ(TQDma(99, 1, 2021), TQDma(31, 1, 2021));
    // 29 February of a common year, centuries included, is the 28th.
    EXPECT_EQ(TQDma(29, 2, 2021), TQDma(28, 2, 2021));
    EXPECT_EQ(TQDma(29, 2, 1900), TQDma(28, 2, 1900));
}

TEST(TQDma, AnoDeDoisDigitos)
{
    EXPECT_EQ(TQDma(7, 5, 20), 62951u);
    EXPECT_EQ(TQDma(1, 1, 0), TQDma(1, 1, 2000));
    EXPECT_EQ(TQDma(1, 1, 83), TQDma(1, 1, 2083));
    EXPECT_EQ(TQDma(1, 1, 84), TQDma(1, 1, 1984));
}

TEST(TQDma, ForaDaFaixaEhZero)
{
    EXPECT_EQ(TQDma(0, 1, 2020), 0u);
    EXPECT_EQ(TQDma(1, 0, 2020), 0u);
    EXPECT_EQ(TQDma(1, 13, 2020), 0u);
    EXPECT_EQ(TQDma(1, 1, 1847), 0u);
    EXPECT_EQ(TQDma(1, 1, 4718), 0u);
    EXPECT_EQ(TQDma(1, 1, 100), 0u);
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

TEST(TQDma, Hoje)
{
    const plataforma::DataHoraLocal antes = plataforma::AgoraLocal();
    const REG_TQDMA hoje = TQDmaHoje();
    const plataforma::DataHoraLocal depois = plataforma::AgoraLocal();
    // Midnight may pass between the readings.
    EXPECT_TRUE(hoje == TQDma(antes.dia, antes.mes, antes.ano) || hoje == TQDma(depois.dia, depois.mes, depois.ano));
}
