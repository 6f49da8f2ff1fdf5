// The suite's module table, looked up by number, code and registry subkey.
#include <string>

#include <gtest/gtest.h>

#include "df/tqlibex/TQModulos.h"

TEST(TQModulos, BuscasSemCaixa)
{
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
