// Plain text for a printer: fixed-width columns one blank apart, pages of 60 lines, each opening
// with the company, the title, the moment, the page number and the column headings. A page
// after the first starts with a form feed.
#include <algorithm>

#include "suite/TQGERADOR/Formatos.h"

namespace gerador {

namespace {

constexpr size_t kLinhasPorPagina = 60;
constexpr size_t kLinhasCabecalho = 4;
constexpr size_t kLinhasCorpo = kLinhasPorPagina - kLinhasCabecalho;
constexpr const char* kFimLinha = "\r\n";
constexpr char kQuebraPagina = '\f';
// "Página" in code page 1252.
constexpr const char* kPagina = "P\xE1gina ";

// The text cut or padded with blanks to the width.
std::string Ajusta(const std::string& texto, size_t largura)
{
    std::string s = texto.substr(0, largura);
    s.resize(largura, ' ');
    return s;
}

// One cell per column; texto(i) and largura(i) give column i's.
template <class Texto, class Largura>
std::string LinhaDeColunas(size_t colunas, Texto texto, Largura largura)
{
    std::string s;
    for (size_t i = 0; i < colunas; ++i) {
        if (i)
            s += ' ';
        s += Ajusta(texto(i), largura(i));
    }
    return s;
}

// Two texts at the ends of a line of the given width, at least two blanks apart.
std::string NasPontas(const std::string& esquerda, const std::string& direita, size_t largura)
{
    const size_t usado = esquerda.size() + direita.size();
    return esquerda + std::string(std::max<size_t>(2, largura > usado ? largura - usado : 0), ' ') + direita;
}

} // namespace

std::string FormataTexto(const Relatorio& relatorio)
{
    const auto& colunas = relatorio.colunas;
    const auto larguraColuna = [&](size_t i) { return colunas[i].largura; };
    const std::string titulos =
        LinhaDeColunas(colunas.size(), [&](size_t i) { return colunas[i].titulo; }, larguraColuna);
    const std::string tracos =
        LinhaDeColunas(colunas.size(), [&](size_t i) { return std::string(colunas[i].largura, '-'); }, larguraColuna);

    const size_t paginas = std::max<size_t>(1, (relatorio.linhas.size() + kLinhasCorpo - 1) / kLinhasCorpo);
    std::string s;
    for (size_t pagina = 0; pagina < paginas; ++pagina) {
        if (pagina)
            s += kQuebraPagina;
        s += NasPontas(relatorio.empresa, kPagina + std::to_string(pagina + 1), titulos.size()) + kFimLinha;
        s += NasPontas(relatorio.titulo, relatorio.momento, titulos.size()) + kFimLinha;
        s += titulos + kFimLinha;
        s += tracos + kFimLinha;
        const size_t fim = std::min(relatorio.linhas.size(), (pagina + 1) * kLinhasCorpo);
        for (size_t n = pagina * kLinhasCorpo; n < fim; ++n) {
            const Linha& linha = relatorio.linhas[n];
            // A field keeps the width it came with; a missing one takes its column's.
            s += LinhaDeColunas(
                     colunas.size(), [&](size_t i) { return TextoNaColuna(linha, i); },
                     [&](size_t i) { return i < linha.size() ? linha[i].largura : colunas[i].largura; }) +
                 kFimLinha;
        }
    }
    return s;
}

} // namespace gerador
