// Copying text into the fixed-width fields of records.
#pragma once

#include <cstddef>
#include <string_view>

// Where a copy is made, for the report of a text cut to fit.
struct LocalFonte {
    const char* arquivo;
    const char* funcao;
    const char* data;
    const char* hora;
    int linha;
};
#define TQ_AQUI (LocalFonte{__FILE__, __func__, __DATE__, __TIME__, __LINE__})

// The message that reports a text cut to fit its field.
constexpr long kMensagemTextoCortado = 987654358;

// Clears the field of `tamanho` bytes and copies the text, cut to leave a NUL after it; with
// usaTudo the text may fill every byte (masks, the report's company), with no terminator then.
// A text longer than the room is reported through the message library; the copy goes on cut.
void TQCopiaCampo(char* campo, size_t tamanho, std::string_view texto, const LocalFonte& local, bool usaTudo = false);
