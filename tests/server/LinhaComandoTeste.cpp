// The registration switches: either prefix, any case, a word up to the next blank or tab; a
// longer word, the activation switch and anything else run the server.
#include <gtest/gtest.h>

#include "server/LinhaComando.h"

namespace {

TEST(LinhaComando, Chaves)
{
    const struct {
        const char* argumentos;
        EChaveLinha chave;
    } casos[] = {
        {"-regserver", EChaveLinha::RegServer},
        {"/unregserverperuser", EChaveLinha::UnregServerPerUser},
        {"  \t/RegServer\tresto", EChaveLinha::RegServer},
        {"x /UnregServer /RegServer", EChaveLinha::UnregServer},
        {"/RegServerX", EChaveLinha::Nenhuma},
        {"RegServer", EChaveLinha::Nenhuma},
        {"", EChaveLinha::Nenhuma},
    };
    for (const auto& c : casos)
        EXPECT_EQ(TQAnalisaLinhaComando(c.argumentos), c.chave) << c.argumentos;
}

} // namespace
