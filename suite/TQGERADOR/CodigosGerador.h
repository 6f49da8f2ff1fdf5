// What the builder answers for a report it cannot make, and the hook through which the tests
// make it fail. A failure to write the file answers 0x80070000 | the system error.
#pragma once

#include "platform/Tipos.h"

// No output path (E_INVALIDARG).
constexpr HRESULT kGeradorSemArquivo = TQHResult(0x80070057);
// The output path's extension is not ".txt", ".csv" or ".html" (from ERROR_NOT_SUPPORTED).
constexpr HRESULT kGeradorFormatoDesconhecido = TQHResult(0x80070032);
// The company has no data directory (from ERROR_PATH_NOT_FOUND).
constexpr HRESULT kGeradorEmpresaDesconhecida = TQHResult(0x80070003);
// GeraRelatorio without a successful Inicializa (E_UNEXPECTED).
constexpr HRESULT kGeradorNaoInicializado = TQHResult(0x8000FFFF);

extern "C" {
// Tests only: from now on operacao ("Inicializa" or "GeraRelatorio") answers hr; 0 clears.
typedef void (*PFN_TQDefineFalhaParaTestes)(const char* operacao, HRESULT hr);
}

constexpr const char* kExportTQDefineFalhaParaTestes = "TQDefineFalhaParaTestes";
