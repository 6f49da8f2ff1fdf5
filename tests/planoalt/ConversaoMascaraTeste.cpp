// Classifications under new masks: levels that grow, shrink, and lose a digit.
#include <string>

#include <gtest/gtest.h>

#include "df/planoalt/ConversaoMascara.h"

namespace {

std::string Converte(const std::string& c, const std::string& m, bool* preservada = nullptr)
{
    std::string o;
    const bool ok = ConverteClassificacao(c, m, o);
    if (preservada)
        *preservada = ok;
    return o;
}

TEST(ConversaoMascara, NiveisCrescemADireitaNoPrimeiroEAEsquerdaNosOutros)
{
    bool ok = false;
    EXPECT_EQ(Converte("1.1.01.001", "99.9.999.9999", &ok), "10.1.001.0001");
    EXPECT_TRUE(ok);
    EXPECT_EQ(Converte("1", "99"), "10");
    EXPECT_EQ(Converte("1.5", "9.999"), "1.005");
}

TEST(ConversaoMascara, NiveisEncolhemPerdendoSoZeros)
{
    bool ok = false;
    EXPECT_EQ(Converte("3.01.5", "9.9.9", &ok), "3.1.5");
    EXPECT_TRUE(ok);
    Converte("3.10.5", "9.9.9", &ok);
    EXPECT_FALSE(ok) << "the 1 of the second level would be lost";
    Converte("1.1.21.001", "9.9.9.999", &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(Converte("1.1.00", "9.9", &ok), "1.1.") << "a level beyond the mask keeps only its separator";
    EXPECT_TRUE(ok);
    Converte("1.1.01", "9.9", &ok);
    EXPECT_FALSE(ok);
}

TEST(ConversaoMascara, EspacoOuFimTerminamATexto)
{
    EXPECT_EQ(Converte("1.2 ", "9.99"), "1.02 ");
    EXPECT_EQ(Converte("", "9.9"), "");
    EXPECT_EQ(Converte("1..2", "9.9.9"), "1.") << "an empty level ends the conversion";
    bool ok = true;
    EXPECT_EQ(Converte("1.2", "99 .9", &ok), "10.") << "a space ends the mask too";
    EXPECT_FALSE(ok);
}

} // namespace
