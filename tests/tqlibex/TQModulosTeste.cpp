// The suite's module table, looked up by number, code and registry subkey.
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "df/tqlibex/TQModulos.h"
#include "platform/Texto.h"

TEST(TQModulos, BuscasSemCaixaNumaTabelaSemRepeticoes)
{
    // Lookups by text would be ambiguous with a repeated code or subkey.
    size_t quantos = 0;
    const ModuloSuite* tabela = TQTabelaModulos(quantos);
    std::set<std::string> vistos;
    for (size_t i = 0; i < quantos; ++i) {
        EXPECT_EQ(TQNumeroModuloPorCodigo(tabela[i].codigo), tabela[i].numero) << tabela[i].codigo;
        EXPECT_EQ(TQNumeroModuloPorSubchave(tabela[i].subchave), tabela[i].numero) << tabela[i].subchave;
        for (std::string texto : {std::to_string(tabela[i].numero), std::string("c") + tabela[i].codigo,
                                  std::string("s") + tabela[i].subchave}) {
            for (char& x : texto)
                x = plataforma::MaiusculaAnsi(x);
            EXPECT_TRUE(vistos.insert(texto).second) << texto;
        }
    }
    EXPECT_EQ(TQCodigoModulo(1), "DF");
    EXPECT_EQ(TQSubchaveModulo(1), "Contabil");
    EXPECT_EQ(TQCodigoModulo(0), "");
    EXPECT_EQ(TQSubchaveModulo(999), "");
    EXPECT_EQ(TQNumeroModuloPorCodigo("df"), 1);
    EXPECT_EQ(TQNumeroModuloPorSubchave("CONTABIL"), 1);
    EXPECT_EQ(TQNumeroModuloPorCodigo("ZZ"), -1);
    EXPECT_EQ(TQNumeroModuloPorCodigo(""), -1);
    EXPECT_EQ(TQNumeroModuloPorSubchave("Inexistente"), -1);
}
