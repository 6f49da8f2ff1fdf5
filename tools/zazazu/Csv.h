// The chart as CSV: UTF-8 in the file, code page 1252 in the records. Columns: classificacao,
// codigo, tipo, nome, caracteristica, vinculos (main-chart positions separated by spaces).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zazazu {

struct LinhaCsv {
    unsigned linha = 0; // in the file, the header being line 1
    std::string classificacao, codigo, nome; // ANSI
    char tipo = 0;
    uint16_t caracteristica = 0;
    std::vector<int32_t> vinculos;
};

struct RecusaCsv {
    unsigned linha;
    std::string motivo;
};

// Reads the file: each readable row, and a refusal per row that cannot be one (with its line).
// A file that is not CSV at all (missing, empty, binary, without the header) gives one refusal.
void LeCsv(const std::string& caminho, std::vector<LinhaCsv>& linhas, std::vector<RecusaCsv>& recusas);

// The file written whole; false when it cannot be.
bool EscreveCsv(const std::string& caminho, const std::vector<LinhaCsv>& linhas);

} // namespace zazazu
