// The suite's module table: code, subkey under the suite key, and module number.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct ModuloSuite {
    char codigo[4];       // two or three characters
    const char* subchave; // subkey of the module under the suite key
    long reservado1;      // carried by the suite's table, unused here
    long reservado2;
    long numero;
};

constexpr long kModuloDF = 1;
constexpr long kModuloNFe = 23;          // module 1's directories; data below "NFe"
constexpr long kModuloDFConsolidacao = 26; // module 1's directories

// Empty when the number is not in the table.
std::string TQCodigoModulo(long numero);
std::string TQSubchaveModulo(long numero);
// Compared without regard to case; -1 when absent.
long TQNumeroModuloPorCodigo(std::string_view codigo);
long TQNumeroModuloPorSubchave(std::string_view subchave);

// The rows in table order.
const ModuloSuite* TQTabelaModulos(size_t& quantos);
