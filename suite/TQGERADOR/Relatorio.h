// What the builder gathered for one report, as the formats read it. Texts are ANSI (code page
// 1252): one byte is one character, so widths are counted in bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gerador {

struct Campo {
    std::string texto;
    uint16_t largura;
};

using Linha = std::vector<Campo>;

// A column of the report: the field code the user chose, its heading and its width.
struct Coluna {
    int64_t codigo;
    std::string titulo;
    uint16_t largura;
};

struct Relatorio {
    std::string empresa;
    std::string titulo;
    std::string momento; // "dd/mm/yyyy hh:mm:ss"
    std::vector<Coluna> colunas;
    std::vector<Linha> linhas;
};

// The heading of a field code; empty for a code the builder does not know.
std::string TituloDoCampo(int64_t codigo);

// The field at a column of a line; a line shorter than the columns has empty fields there.
const std::string& TextoNaColuna(const Linha& linha, size_t coluna);

// The lines of links to the main chart are indented by five blanks in their fields.
bool EhLinhaDeVinculo(const Linha& linha);

// The level of an account line: the number of '.' in its classification (field 103), 0 without it.
unsigned NivelDaLinha(const Relatorio& relatorio, const Linha& linha);

// The text without its trailing blanks.
std::string SemBrancosFinais(const std::string& texto);

} // namespace gerador
