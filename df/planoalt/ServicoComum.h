// What the service's operations share: blocks for the caller, the release of a mark, codes.
#pragma once

#include <cstring>

#include <string>

#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQArq.h"
#include "df/tqlibex/TQArqEx.h"
#include "platform/Bstr.h"
#include "platform/Texto.h"

constexpr uint8_t kTipoMarcaPlanoEVinculo = 4;
constexpr uint8_t kTipoMarcaMascara = 8;

// A zero-filled block of the task allocator, which the caller frees; none for no elements.
template <typename T>
T* AlocaZerado(size_t quantidade)
{
    if (quantidade == 0)
        return nullptr;
    void* bloco = plataforma::AlocaTarefa(sizeof(T) * quantidade);
    if (bloco)
        std::memset(bloco, 0, sizeof(T) * quantidade);
    return static_cast<T*>(bloco);
}

// One record of a file opened for that read alone (created when missing); 0 or the status of
// the open or of the read.
inline StatusArq LeUmRegistro(const std::string& caminho, char modo, uint32_t tamanho, uint32_t posicao, void* destino)
{
    CTQArqEx arq;
    const StatusArq s = arq.Abre(caminho, modo, tamanho, kAbreAgora);
    return s ? s : arq.Le(posicao, destino);
}

// An own code as the store compares it: ASCII letters without regard to case.
inline std::string ChaveCodigoProprio(const char* codigo, size_t tamanho)
{
    std::string chave(codigo, strnlen(codigo, tamanho));
    for (char& c : chave)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return chave;
}

// The mark is released on every way out of the operation that took it.
struct Desmarcador {
    CTQarq& marca;
    ~Desmarcador() { marca.Desmarca(); }
};
