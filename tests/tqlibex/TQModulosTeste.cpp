#include <set>
#include <string>

#include <gtest/gtest.h>

#include "df/tqlibex/TQModulos.h"
#include "platform/Texto.h"

// Lookups by text would be ambiguous with a repeated code or subkey.
TEST(TQModulos, TabelaSemRepeticoes)
{
    size_t quantos = 0;
    const ModuloSuite* tabela = TQTabelaModulos(quantos);
    std::set<long> numeros;
    std::set<std::string> codigos, subchaves;
    for (size_t i = 0; i < quantos; ++i) {
        const std::string codigo = tabela[i].codigo;
        EXPECT_TRUE(numeros.insert(tabela[i].numero).second) << tabela[i].numero;
        std::string c, s;
        for (char x : codigo)
            c += plataforma::MaiusculaAnsi(x);
        for (const char* p = tabela[i].subchave; *p; ++p)
            s += plataforma::MaiusculaAnsi(*p);
        EXPECT_TRUE(codigos.insert(c).second) << codigo;
        EXPECT_TRUE(subchaves.insert(s).second) << tabela[i].subchave;
    }
    EXPECT_TRUE(numeros.count(1) && numeros.count(23) && numeros.count(26));
}

TEST(TQModulos, BuscasPorNumero)
{
    EXPECT_EQ(TQCodigoModulo(1), "DF");
    EXPECT_EQ(TQSubchaveModulo(1), "Contabil");
    EXPECT_EQ(TQCodigoModulo(0), "");
    EXPECT_EQ(TQSubchaveModulo(999), "");
}

TEST(TQModulos, BuscasPorTextoSemCaixa)
{
    EXPECT_EQ(TQNumeroModuloPorCodigo("DF"), 1);
    EXPECT_EQ(TQNumeroModuloPorCodigo("df"), 1);
    EXPECT_EQ(TQNumeroModuloPorSubchave("CONTABIL"), 1);
    EXPECT_EQ(TQNumeroModuloPorCodigo(TQCodigoModulo(23)), 23);
    EXPECT_EQ(TQNumeroModuloPorSubchave(TQSubchaveModulo(26)), 26);
    EXPECT_EQ(TQNumeroModuloPorCodigo("ZZ"), -1);
    EXPECT_EQ(TQNumeroModuloPorCodigo(""), -1);
    EXPECT_EQ(TQNumeroModuloPorSubchave("Inexistente"), -1);
}
