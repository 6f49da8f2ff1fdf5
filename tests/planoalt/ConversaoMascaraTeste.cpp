// Classifications under new masks: levels that grow, shrink, and lose a digit.
#include <string>

#include <gtest/gtest.h>

#include "df/planoalt/ConversaoMascara.h"

namespace {

TEST(ConversaoMascara, NiveisCrescemEncolhemOuPerdemDigito)
{
    struct Caso {
        const char* classificacao;
        const char* mascara;
        const char* convertida;
        bool preservada;
    };
    const Caso casos[] = {
        {"1.1.01.001", "99.9.999.9999", "10.1.001.0001", true}, // the first level grows on the right
        {"1.5", "9.999", "1.005", true},                         // the others on the left
        {"3.01.5", "9.9.9", "3.1.5", true},
        {"3.10.5", "9.9.9", "3.0.5", false}, // the 1 of the second level would be lost
        {"1.1.00", "9.9", "1.1.", true}, // a level beyond the mask keeps only its separator
        {"1.1.01", "9.9", "1.1.", false},
        {"1.2 ", "9.99", "1.02 ", true}, // a space ends the text
        {"1..2", "9.9.9", "1.", true},    // an empty level ends the conversion
        {"1.2", "99 .9", "10.", false},   // a space ends the mask too
    };
    for (const Caso& c : casos) {
        std::string o;
        EXPECT_EQ(ConverteClassificacao(c.classificacao, c.mascara, o), c.preservada) << c.classificacao;
        EXPECT_EQ(o, c.convertida) << c.classificacao << " under " << c.mascara;
    }
}

} // namespace
