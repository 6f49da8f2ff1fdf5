// The export of TQMens that reports an error to a person, exactly as the library defines it
// (C linkage, default calling convention). Only plain values and C strings cross.
#pragma once

#include <cstdint>

#include "platform/Tipos.h"

extern "C" {

// Main code, detail HRESULT, a 32-bit value, company, source name, line, show flag, a 0,
// full path of the running executable, report text. The result is not used.
typedef HRESULT (*PFN_TQTrataErroExported)(HRESULT hrPrincipal, HRESULT hrDetalhe, int32_t lValor,
                                           const char* empresa, const char* fonte, int32_t linha,
                                           int32_t bMostra, int32_t zero, const char* executavel,
                                           const char* texto);

} // extern "C"

constexpr const char* kExportTQTrataErroExported = "TQTrataErroExported";
constexpr const char* kBibliotecaTQMens = "TQMens.dll";
