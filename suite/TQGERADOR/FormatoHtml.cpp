// One page that needs nothing else: inline style, no scripts, no links. A header with the
// company, the title and the moment, then a table. An account line's first cell is indented by
// the level of its classification; the lines of links to the main chart have a class of their own.
#include "suite/TQGERADOR/Formatos.h"

namespace gerador {

namespace {

constexpr const char* kInicio = R"(<!DOCTYPE html>
<html lang="pt-BR">
<head>
<meta charset="utf-8">
<title>)";

constexpr const char* kEstilo = R"(</title>
<style>
body { font-family: sans-serif; margin: 1.5em; }
header p { margin: 0.2em 0; }
.empresa { font-weight: bold; font-size: 1.2em; }
table { border-collapse: collapse; margin-top: 1em; }
th, td { text-align: left; padding: 0.2em 0.6em; border-bottom: 1px solid #ddd; white-space: pre; }
tr.vinculo td { color: #555; font-style: italic; background: #f6f6f6; }
</style>
</head>
<body>
)";

constexpr const char* kFim = "</tbody>\n</table>\n</body>\n</html>\n";

std::string Escapa(const std::string& texto)
{
    std::string s;
    s.reserve(texto.size());
    for (char c : texto) {
        switch (c) {
        case '&': s += "&amp;"; break;
        case '<': s += "&lt;"; break;
        case '>': s += "&gt;"; break;
        case '"': s += "&quot;"; break;
        case '\'': s += "&#39;"; break;
        default: s += c;
        }
    }
    return s;
}

std::string Paragrafo(const char* classe, const std::string& texto)
{
    return std::string("<p class=\"") + classe + "\">" + Escapa(texto) + "</p>\n";
}

std::string LinhaHtml(const Relatorio& relatorio, const Linha& linha)
{
    const bool vinculo = EhLinhaDeVinculo(linha);
    const unsigned nivel = vinculo ? 0 : NivelDaLinha(relatorio, linha);
    std::string s = vinculo ? "<tr class=\"vinculo\">" : "<tr class=\"conta\">";
    for (size_t i = 0; i < relatorio.colunas.size(); ++i) {
        s += i == 0 && nivel ? "<td style=\"padding-left: " + std::to_string(nivel * 2) + "em\">" : "<td>";
        s += Escapa(SemBrancosFinais(TextoNaColuna(linha, i))) + "</td>";
    }
    return s + "</tr>\n";
}

} // namespace

std::string FormataHtml(const Relatorio& relatorio)
{
    std::string s = kInicio + Escapa(relatorio.titulo) + kEstilo;
    s += "<header>\n" + Paragrafo("empresa", relatorio.empresa) + Paragrafo("titulo", relatorio.titulo) +
         Paragrafo("momento", relatorio.momento) + "</header>\n<table>\n<thead><tr>";
    for (const Coluna& coluna : relatorio.colunas)
        s += "<th>" + Escapa(coluna.titulo) + "</th>";
    s += "</tr></thead>\n<tbody>\n";
    for (const Linha& linha : relatorio.linhas)
        s += LinhaHtml(relatorio, linha);
    return s + kFim;
}

} // namespace gerador
