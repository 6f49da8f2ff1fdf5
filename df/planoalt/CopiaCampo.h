// Copying text into the fixed-width fields of records.
#pragma once

#include <cstddef>
#include <string_view>

#include "df/tqlibex/TQLocal.h"

// The message that reports a text cut to fit its field.
constexpr long kMensagemTextoCortado = 987654358;

// Clears the field of `tamanho` bytes and copies the text, cut to leave a NUL after it; with
// usaTudo the text may fill every byte (masks, the report's company), with no terminator then.
// A text longer than the room is reported through the message library, with where the copy
// was made; the copy goes on cut.
void TQCopiaCampo(char* campo, size_t tamanho, std::string_view texto, bool usaTudo = false,
                  TQOnde onde = TQOnde::Atual());
