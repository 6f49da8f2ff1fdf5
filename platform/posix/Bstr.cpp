// BSTR as OLE lays it out: a 4-byte length in bytes before the text, a 16-bit NUL after it.
#include <errno.h>
#include <sys/random.h>

#include <cstdlib>
#include <cstring>

#include "platform/Bstr.h"

namespace plataforma {

namespace {


uint32_t* Prefixo(BSTR texto)
{
    return reinterpret_cast<uint32_t*>(reinterpret_cast<char*>(texto) - sizeof(uint32_t));
}

} // namespace

BSTR AlocaBstr(const OLECHAR* texto, uint32_t caracteres)
{
    const size_t bytesTexto = static_cast<size_t>(caracteres) * sizeof(OLECHAR);
    if (bytesTexto > 0xFFFFFFFFu - sizeof(uint32_t) - sizeof(OLECHAR))
        return nullptr;
    char* bloco = static_cast<char*>(std::malloc(sizeof(uint32_t) + bytesTexto + sizeof(OLECHAR)));
    if (!bloco)
        return nullptr;
    const uint32_t tamanho = static_cast<uint32_t>(bytesTexto);
    std::memcpy(bloco, &tamanho, sizeof tamanho);
    BSTR bstr = reinterpret_cast<BSTR>(bloco + sizeof(uint32_t));
    if (texto)
        std::memcpy(bstr, texto, bytesTexto);
    else
        std::memset(bstr, 0, bytesTexto);
    bstr[caracteres] = u'\0';
    return bstr;
}

void LiberaBstr(BSTR texto)
{
    if (texto)
        std::free(Prefixo(texto));
}

uint32_t TamanhoBstr(BSTR texto)
{
    if (!texto)
        return 0;
    uint32_t bytes;
    std::memcpy(&bytes, Prefixo(texto), sizeof bytes);
    return bytes / sizeof(OLECHAR);
}

void* AlocaTarefa(size_t bytes)
{
    return std::malloc(bytes);
}

void LiberaTarefa(void* bloco)
{
    std::free(bloco);
}

HRESULT CriaGuid(GUID& guid)
{
    unsigned char bytes[sizeof(GUID)];
    size_t lidos = 0;
    while (lidos < sizeof bytes) {
        ssize_t n = getrandom(bytes + lidos, sizeof bytes - lidos, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return kFalha;
        lidos += static_cast<size_t>(n);
    }
    std::memcpy(&guid, bytes, sizeof guid);
    // Version 4 (random), variant 10 (RFC 4122).
    guid.Data3 = static_cast<uint16_t>((guid.Data3 & 0x0FFF) | 0x4000);
    guid.Data4[0] = static_cast<uint8_t>((guid.Data4[0] & 0x3F) | 0x80);
    return S_OK;
}

} // namespace plataforma
