// The columns the user chose for a report: "Relatorios.ini" in the company's data directory,
// section = the report's name, key "Campos" = the field codes in order ("101,103,104").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gerador {

// Without the file, the section or the key, or without any known code in it: every field,
// 101 to 105 in order. Codes without a heading are left out, so each column gets a field.
std::vector<int64_t> CamposEscolhidos(const std::string& diretorioDados, const std::string& relatorio);

} // namespace gerador
