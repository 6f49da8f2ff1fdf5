// The chart of the store's benchmarks: 65,500 accounts under the masks 9.9.99.999.9999, titles
// on the first four levels and analytic accounts below, written once per process to a scratch
// company directory that the registry names, and the same rows for the SQLite comparisons.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "df/tqclasses/Classificacao.h"

namespace bench {

constexpr uint32_t kContasBench = 65500;
constexpr uint16_t kTamanhoRegistroBench = 96;
constexpr uint16_t kTamanhoNomeBench = 50;
constexpr uint16_t kTamanhoCodigoBench = 10;

struct ContaBench {
    std::string classificacao;
    uint8_t status;
    std::string codigo;
    std::string nome; // code page 1252
};

struct PlanoBench {
    std::string dir;            // the company's data directory, trailing separator
    std::string empresa;        // registered with "DF" = dir
    std::string arquivoPlano;   // name within dir
    std::string arquivoIndice;  // name within dir
    std::vector<ContaBench> contas; // contas[i] is record i + 1, in no particular order
    std::string bytesPlano;     // the chart file as written (record 0 zero)
};

// Built at the first call; the directory and the registry file go when the process ends.
const PlanoBench& Plano();
std::string CaminhoPlano();
std::string CaminhoIndice();

// Puts the chart file back as generated (after a benchmark that rewrote it).
void RestauraPlano();

// Binds a store to the benchmark chart as the service does (Inicializa, SetTamanhoCodigo(10)).
HRESULT InicializaPlano(CClassificacao& plano);

// The 96-byte chart record of an account.
void MontaRegistro(const ContaBench& conta, uint8_t registro[kTamanhoRegistroBench]);

} // namespace bench
