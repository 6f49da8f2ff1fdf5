#include <cstring>

#include "platform/Bstr.h"

namespace plataforma {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

// The bytes in the order the text shows them: the first three fields as numbers, then Data4 as it is.
void Ordem(const GUID& g, uint8_t b[16])
{
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<uint8_t>(g.Data1 >> (24 - 8 * i));
    b[4] = static_cast<uint8_t>(g.Data2 >> 8);
    b[5] = static_cast<uint8_t>(g.Data2);
    b[6] = static_cast<uint8_t>(g.Data3 >> 8);
    b[7] = static_cast<uint8_t>(g.Data3);
    std::memcpy(b + 8, g.Data4, 8);
}

int ValorHex(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool Hifen(size_t i) { return i == 8 || i == 13 || i == 18 || i == 23; }

} // namespace

std::string GuidParaTexto(const GUID& guid)
{
    uint8_t b[16];
    Ordem(guid, b);
    std::string s = "{";
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            s += '-';
        s += kHex[b[i] >> 4];
        s += kHex[b[i] & 0xF];
    }
    s += '}';
    return s;
}

bool TextoParaGuid(std::string_view texto, GUID& guid)
{
    if (texto.size() == 38) {
        if (texto.front() != '{' || texto.back() != '}')
            return false;
        texto = texto.substr(1, 36);
    }
    if (texto.size() != 36)
        return false;
    uint8_t b[16] = {};
    int n = 0;
    for (size_t i = 0; i < texto.size(); ++i) {
        if (Hifen(i)) {
            if (texto[i] != '-')
                return false;
            continue;
        }
        const int v = ValorHex(texto[i]);
        if (v < 0)
            return false;
        b[n / 2] = static_cast<uint8_t>(b[n / 2] << 4 | v);
        ++n;
    }
    guid.Data1 = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
    guid.Data2 = static_cast<uint16_t>(b[4] << 8 | b[5]);
    guid.Data3 = static_cast<uint16_t>(b[6] << 8 | b[7]);
    std::memcpy(guid.Data4, b + 8, 8);
    return true;
}

} // namespace plataforma
