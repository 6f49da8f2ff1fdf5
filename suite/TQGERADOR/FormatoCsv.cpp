// Comma-separated values as RFC 4180 has them: a header row of the column headings, a row per
// line, CRLF line ends; a field with a comma, a quote or a line break is quoted, its quotes
// doubled. The blanks that pad a field to its width are not data: they are trimmed.
#include "suite/TQGERADOR/Formatos.h"

namespace gerador {

namespace {

constexpr const char* kFimLinha = "\r\n";

std::string CampoCsv(const std::string& texto)
{
    const std::string t = SemBrancosFinais(texto);
    if (t.find_first_of(",\"\r\n") == std::string::npos)
        return t;
    std::string s = "\"";
    for (char c : t) {
        if (c == '"')
            s += '"';
        s += c;
    }
    return s + '"';
}

template <class Texto>
std::string LinhaCsv(size_t colunas, Texto texto)
{
    std::string s;
    for (size_t i = 0; i < colunas; ++i) {
        if (i)
            s += ',';
        s += CampoCsv(texto(i));
    }
    return s + kFimLinha;
}

} // namespace

std::string FormataCsv(const Relatorio& relatorio)
{
    const size_t colunas = relatorio.colunas.size();
    std::string s = LinhaCsv(colunas, [&](size_t i) { return relatorio.colunas[i].titulo; });
    for (const Linha& linha : relatorio.linhas)
        s += LinhaCsv(colunas, [&](size_t i) { return TextoNaColuna(linha, i); });
    return s;
}

} // namespace gerador
