// The generated name tables behind TQNomesErro.h: sorted by number, one name per number.
#pragma once

#include <cstdint>
#include <span>

struct TQNomeNumero {
    uint32_t numero;
    const char* nome;
};

// Facilities (platform's and the suite's), Win32 ERROR_ names, HRESULT names.
std::span<const TQNomeNumero> TQTabelaFacilidades();
std::span<const TQNomeNumero> TQTabelaErros();
std::span<const TQNomeNumero> TQTabelaHResults();

// The name of a number in a table sorted by number; null when absent.
const char* TQBuscaNome(std::span<const TQNomeNumero> tabela, uint32_t numero);
