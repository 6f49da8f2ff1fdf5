// The export of TQLMensagem that describes an HRESULT, exactly as the library defines it
// (C linkage, default calling convention).
#pragma once

#include "platform/Tipos.h"

extern "C" {

// Nonzero when the library has a text for hr; saida receives it (code page 1252),
// cut to tamanhoSaida - 1 characters. Zero leaves saida an empty text.
typedef int (*PFN_TQGetDescricaoHRESULT)(HRESULT hr, char* saida, unsigned long tamanhoSaida);

} // extern "C"

constexpr const char* kExportTQGetDescricaoHRESULT = "TQGetDescricaoHRESULT";
constexpr const char* kBibliotecaTQLMensagem = "TQLMensagem.dll";
