#include "platform/Bstr.h"
#include "platform/Texto.h"

#include <array>

namespace plataforma {

namespace {

// Bytes 0x80-0x9F of code page 1252. The five unassigned bytes keep their C1 code
// points, as the system's own conversion does, so they survive a round trip.
constexpr std::array<char16_t, 32> kAlto = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

constexpr char16_t kSubstituto = 0xFFFD;

char16_t ByteParaUtf16(unsigned char b)
{
    return (b >= 0x80 && b < 0xA0) ? kAlto[b - 0x80] : char16_t(b);
}

char Utf16ParaByte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (size_t i = 0; i < kAlto.size(); ++i)
        if (kAlto[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

bool AltoSubstituto(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool BaixoSubstituto(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void AcrescentaUtf16(std::u16string& s, char32_t cp)
{
    if (cp < 0x10000) {
        s += static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        s += static_cast<char16_t>(0xD800 + (cp >> 10));
        s += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
}

void AcrescentaUtf8(std::string& s, char32_t cp)
{
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (cp >> 18));
        s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string Utf16ParaUtf8(std::u16string_view texto)
{
    std::string saida;
    saida.reserve(texto.size());
    for (size_t i = 0; i < texto.size(); ++i) {
        char32_t cp = texto[i];
        if (AltoSubstituto(texto[i]) && i + 1 < texto.size() && BaixoSubstituto(texto[i + 1])) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (texto[i + 1] - 0xDC00);
            ++i;
        } else if (AltoSubstituto(texto[i]) || BaixoSubstituto(texto[i])) {
            cp = kSubstituto;
        }
        AcrescentaUtf8(saida, cp);
    }
    return saida;
}

// Bounds of the second byte of a well-formed sequence, by lead byte (Unicode table 3-7).
struct Sequencia {
    int continuacoes;
    unsigned char min2;
    unsigned char max2;
};

bool Sequencia8(unsigned char lider, Sequencia& seq)
{
    if (lider >= 0xC2 && lider <= 0xDF)
        seq = {1, 0x80, 0xBF};
    else if (lider == 0xE0)
        seq = {2, 0xA0, 0xBF};
    else if (lider == 0xED)
        seq = {2, 0x80, 0x9F}; // no surrogates
    else if (lider >= 0xE1 && lider <= 0xEF)
        seq = {2, 0x80, 0xBF};
    else if (lider == 0xF0)
        seq = {3, 0x90, 0xBF};
    else if (lider == 0xF4)
        seq = {3, 0x80, 0x8F}; // nothing beyond U+10FFFF
    else if (lider >= 0xF1 && lider <= 0xF3)
        seq = {3, 0x80, 0xBF};
    else
        return false;
    return true;
}

// An ill-formed sequence becomes one replacement character per maximal valid prefix.
std::u16string Utf8ParaUtf16(std::string_view utf8)
{
    std::u16string saida;
    saida.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const auto lider = static_cast<unsigned char>(utf8[i++]);
        if (lider < 0x80) {
            saida += char16_t(lider);
            continue;
        }
        Sequencia seq;
        if (!Sequencia8(lider, seq)) {
            saida += kSubstituto;
            continue;
        }
        char32_t cp = lider & (0x3F >> seq.continuacoes);
        int lidas = 0;
        while (lidas < seq.continuacoes && i < utf8.size()) {
            const auto b = static_cast<unsigned char>(utf8[i]);
            const bool valido = lidas == 0 ? (b >= seq.min2 && b <= seq.max2) : (b >= 0x80 && b <= 0xBF);
            if (!valido)
                break;
            cp = (cp << 6) | (b & 0x3F);
            ++lidas;
            ++i;
        }
        if (lidas == seq.continuacoes)
            AcrescentaUtf16(saida, cp);
        else
            saida += kSubstituto;
    }
    return saida;
}

unsigned char U(char c) { return static_cast<unsigned char>(c); }

} // namespace

std::u16string AnsiParaUtf16(std::string_view ansi)
{
    std::u16string saida(ansi.size(), u'\0');
    for (size_t i = 0; i < ansi.size(); ++i)
        saida[i] = ByteParaUtf16(U(ansi[i]));
    return saida;
}

std::string Utf16ParaAnsi(std::u16string_view texto)
{
    std::string saida;
    saida.reserve(texto.size());
    for (size_t i = 0; i < texto.size(); ++i) {
        // A character outside the basic plane is one character: one '?'.
        if (AltoSubstituto(texto[i]) && i + 1 < texto.size() && BaixoSubstituto(texto[i + 1]))
            ++i;
        saida += Utf16ParaByte(texto[i]);
    }
    return saida;
}

std::string AnsiParaUtf8(std::string_view ansi)
{
    return Utf16ParaUtf8(AnsiParaUtf16(ansi));
}

std::string Utf8ParaAnsi(std::string_view utf8)
{
    return Utf16ParaAnsi(Utf8ParaUtf16(utf8));
}

char MinusculaAnsi(char c)
{
    const unsigned char b = U(c);
    if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7))
        return static_cast<char>(b + 0x20);
    switch (b) {
    case 0x8A: return static_cast<char>(0x9A); // Š
    case 0x8C: return static_cast<char>(0x9C); // Œ
    case 0x8E: return static_cast<char>(0x9E); // Ž
    case 0x9F: return static_cast<char>(0xFF); // Ÿ
    default: return c;
    }
}

char MaiusculaAnsi(char c)
{
    const unsigned char b = U(c);
    if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7))
        return static_cast<char>(b - 0x20);
    switch (b) {
    case 0x9A: return static_cast<char>(0x8A); // š
    case 0x9C: return static_cast<char>(0x8C); // œ
    case 0x9E: return static_cast<char>(0x8E); // ž
    case 0xFF: return static_cast<char>(0x9F); // ÿ
    default: return c;
    }
}

bool IguaisSemCaixa(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (MinusculaAnsi(a[i]) != MinusculaAnsi(b[i]))
            return false;
    return true;
}

BSTR AlocaBstrDeAnsi(std::string_view ansi)
{
    const std::u16string texto = AnsiParaUtf16(ansi);
    return AlocaBstr(reinterpret_cast<const OLECHAR*>(texto.data()), static_cast<uint32_t>(texto.size()));
}

std::string BstrParaAnsi(BSTR texto)
{
    if (!texto)
        return {};
    return Utf16ParaAnsi(std::u16string_view(reinterpret_cast<const char16_t*>(texto), TamanhoBstr(texto)));
}

std::string OleParaAnsi(const OLECHAR* texto)
{
    if (!texto)
        return {};
    size_t n = 0;
    while (texto[n])
        ++n;
    return Utf16ParaAnsi(std::u16string_view(reinterpret_cast<const char16_t*>(texto), n));
}

std::basic_string<OLECHAR> AnsiParaOle(std::string_view ansi)
{
    const std::u16string largo = AnsiParaUtf16(ansi);
    return std::basic_string<OLECHAR>(reinterpret_cast<const OLECHAR*>(largo.data()), largo.size());
}

} // namespace plataforma
