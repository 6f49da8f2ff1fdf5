// GUID texts, and BSTRs as OLE lays them out. (New GUIDs are only the profiler's pairing keys:
// their shape is checked there.)
#include <cstring>

#include <gtest/gtest.h>

#include "platform/Texto.h"

using namespace plataforma;

namespace {

const GUID kConhecido = {0x12345678, 0x9ABC, 0xDEF0, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};

bool Iguais(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct Bstr {
    BSTR b;
    explicit Bstr(BSTR x) : b(x) {}
    ~Bstr() { LiberaBstr(b); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    std::u16string Texto() const { return std::u16string(reinterpret_cast<const char16_t*>(b), TamanhoBstr(b)); }
};

} // namespace

TEST(Guid, EscreveEmMaiusculasELeComOuSemChavesEmQualquerCaixa)
{
    EXPECT_EQ(GuidParaTexto(kConhecido), "{12345678-9ABC-DEF0-0123-456789ABCDEF}");
    const std::pair<const char*, bool> casos[] = {
        {"{12345678-9ABC-DEF0-0123-456789ABCDEF}", true}, {"12345678-9abc-def0-0123-456789abcdef", true},
        {"", false}, {"{12345678-9ABC-DEF0-0123-456789ABCDEF", false}, {"{12345678-9ABC-DEF0-0123-456789ABCDEG}", false},
        {"{123456789-ABC-DEF0-0123-456789ABCDEF}", false}, {"(12345678-9ABC-DEF0-0123-456789ABCDEF)", false}};
    for (const auto& [texto, valido] : casos) {
        GUID g{};
        EXPECT_EQ(TextoParaGuid(texto, g), valido) << texto;
        EXPECT_TRUE(!valido || Iguais(g, kConhecido)) << texto;
    }
}

TEST(Bstr, DeAnsiTemOTamanhoEOTexto)
{
    Bstr b(AlocaBstrDeAnsi("A\xE7\xE3o \x80"));
    ASSERT_NE(b.b, nullptr);
    EXPECT_EQ(TamanhoBstr(b.b), 6u);
    EXPECT_EQ(b.Texto(), u"Ação €");
    EXPECT_EQ(b.b[6], 0); // terminated
    // The length prefix in bytes, just before the text, as the marshaller reads it.
    uint32_t prefixo = 0;
    std::memcpy(&prefixo, reinterpret_cast<const char*>(b.b) - 4, 4);
    EXPECT_EQ(prefixo, 12u);
    EXPECT_EQ(BstrParaAnsi(b.b), "A\xE7\xE3o \x80");
}

TEST(Bstr, GuardaNulosInternosVazioENulo)
{
    const OLECHAR texto[] = {'a', 0, 'b'};
    Bstr b(AlocaBstr(texto, 3));
    EXPECT_EQ(TamanhoBstr(b.b), 3u);
    EXPECT_EQ(b.b[3], 0);
    EXPECT_EQ(BstrParaAnsi(b.b), std::string("a\0b", 3));

    Bstr vazio(AlocaBstrDeAnsi(""));
    ASSERT_NE(vazio.b, nullptr);
    EXPECT_EQ(TamanhoBstr(vazio.b), 0u);
    EXPECT_EQ(BstrParaAnsi(vazio.b), "");

    EXPECT_EQ(TamanhoBstr(nullptr), 0u);
    EXPECT_EQ(BstrParaAnsi(nullptr), "");
    LiberaBstr(nullptr);
}
