// The report file's formats, named by the output path's extension. Each gives the whole file
// as ANSI text; the writer turns it into UTF-8 once.
#pragma once

#include <string>

#include "suite/TQGERADOR/Relatorio.h"

namespace gerador {

enum class Formato { Nenhum, Texto, Csv, Html };

// ".txt", ".csv" or ".html" in any case; Nenhum for any other name.
Formato FormatoDoCaminho(const std::string& caminho);

std::string Formata(Formato formato, const Relatorio& relatorio);

std::string FormataTexto(const Relatorio& relatorio);
std::string FormataCsv(const Relatorio& relatorio);
std::string FormataHtml(const Relatorio& relatorio);

} // namespace gerador
