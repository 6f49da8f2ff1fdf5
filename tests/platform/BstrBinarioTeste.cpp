// The binary layout that callers of the other side rely on: BSTR length prefix, GUID version.
#include <cstring>
#include <set>

#include <gtest/gtest.h>

#include "platform/Texto.h"

using namespace plataforma;

TEST(BstrBinario, PrefixoComTamanhoEmBytesENuloFinal)
{
    const OLECHAR texto[] = {u'a', u'\0', u'b'};
    BSTR b = AlocaBstr(texto, 3);
    ASSERT_NE(b, nullptr);
    uint32_t prefixo = 0;
    std::memcpy(&prefixo, reinterpret_cast<const char*>(b) - sizeof prefixo, sizeof prefixo);
    EXPECT_EQ(prefixo, 6u);
    EXPECT_EQ(TamanhoBstr(b), 3u);
    EXPECT_EQ(b[1], u'\0');
    EXPECT_EQ(b[2], u'b');
    EXPECT_EQ(b[3], u'\0');
    LiberaBstr(b);
}

TEST(BstrBinario, SemTextoReservaOEspaco)
{
    BSTR b = AlocaBstr(nullptr, 4);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(TamanhoBstr(b), 4u);
    EXPECT_EQ(b[4], u'\0');
    LiberaBstr(b);
    LiberaBstr(nullptr);
    EXPECT_EQ(TamanhoBstr(nullptr), 0u);
}

TEST(GuidBinario, Versao4EVarianteRfc)
{
    std::set<std::string> vistos;
    for (int i = 0; i < 100; ++i) {
        GUID g{};
        ASSERT_EQ(CriaGuid(g), S_OK);
        EXPECT_EQ(g.Data3 >> 12, 4);
        EXPECT_EQ(g.Data4[0] & 0xC0, 0x80);
        vistos.insert(GuidParaTexto(g));
    }
    EXPECT_EQ(vistos.size(), 100u);
}
