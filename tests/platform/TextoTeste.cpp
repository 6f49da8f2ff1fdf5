// Code page 1252 and UTF-8 conversions and case folding, by our own tables.
#include <gtest/gtest.h>

#include "platform/Texto.h"

using namespace plataforma;

TEST(Texto1252, IdaEVoltaPelaPaginaPropria)
{
    std::string todos;
    for (int b = 1; b < 256; ++b)
        todos += static_cast<char>(b);
    EXPECT_EQ(Utf16ParaAnsi(AnsiParaUtf16(todos)), todos);
    EXPECT_EQ(Utf8ParaAnsi(AnsiParaUtf8(todos)), todos);
    // Typographic punctuation goes back to its byte; Latin-1 is the identity.
    EXPECT_EQ(Utf16ParaAnsi(u"€‚ƒ„…Š Œ Ž ‘’“”•–—˜™šœžŸ"),
              "\x80\x82\x83\x84\x85\x8A \x8C \x8E \x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9C\x9E\x9F");
    EXPECT_EQ(AnsiParaUtf16("A\xE7\xE3o \xC9\xFF\xA0"), u"Ação Éÿ\u00A0");
    EXPECT_EQ(AnsiParaUtf8("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(AnsiParaUtf8("\x81"), "\xC2\x81");
    EXPECT_EQ(Utf8ParaAnsi("\xE2\x80\x9C" "aspas" "\xE2\x80\x9D"), "\x93" "aspas" "\x94");
}

TEST(Texto1252, ForaDaPaginaOuInvalidoViraInterrogacao)
{
    const std::pair<std::u16string, std::string> utf16[] = {
        {u"\u03A9", "?"},        // Greek omega
        {u"\u0080\u009F", "??"}, // C1 codes other than the five unassigned bytes
        {u"x\U0001F600y", "x?y"}, // one character, one '?'
        {std::u16string(1, char16_t(0xD800)), "?"}, // lone surrogate
        {std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& [entrada, esperado] : utf16)
        EXPECT_EQ(Utf16ParaAnsi(entrada), esperado);
    const std::pair<const char*, const char*> utf8[] = {
        {"\xC3", "?"},                 // cut at the end
        {"a\xFF" "b", "a?b"},          // never valid
        {"\x80" "x", "?x"},            // stray continuation
        {"\xC0\xAF", "??"},            // overlong
        {"\xED\xA0\x80", "???"},       // encoded surrogate
        {"\xF4\x90\x80\x80", "????"}, // beyond U+10FFFF
        {"\xE2\x82" "A", "?A"},        // one '?' for a cut sequence
        {"\xF0\x9F\x98\x80", "?"},    // valid, but outside the page
    };
    for (const auto& [entrada, esperado] : utf8)
        EXPECT_EQ(Utf8ParaAnsi(entrada), esperado) << entrada;
}

TEST(TextoCaixa, LetrasAcentuadas)
{
    // The ends of the accented range and the pairs outside it; signs and letters without a pair stay.
    const char pares[][2] = {{'\xC0', '\xE0'}, {'\xDE', '\xFE'}, {'\x8A', '\x9A'}, {'\x9F', '\xFF'}, {'Q', 'q'},
                             {'\xD7', '\xD7'}, {'\xF7', '\xF7'}, {'\xDF', '\xDF'}, {'\xB5', '\xB5'}, {'@', '@'},
                             {'[', '['},       {'`', '`'},       {'{', '{'},       {'\x9D', '\x9D'}};
    for (const auto& p : pares) {
        EXPECT_EQ(MinusculaAnsi(p[0]), p[1]) << int(static_cast<unsigned char>(p[0]));
        EXPECT_EQ(MaiusculaAnsi(p[1]), p[0]) << int(static_cast<unsigned char>(p[1]));
    }
}

TEST(TextoCaixa, IguaisSemCaixa)
{
    EXPECT_TRUE(IguaisSemCaixa("A\xC7\xC3O \x8A\x9F", "a\xE7\xE3o \x9A\xFF"));
    EXPECT_FALSE(IguaisSemCaixa("\xD7", "\xF7"));
    EXPECT_FALSE(IguaisSemCaixa("abc", "abcd"));
    EXPECT_FALSE(IguaisSemCaixa("a\xE7", "a\xE3"));
}
