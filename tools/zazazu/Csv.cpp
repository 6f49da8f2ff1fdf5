#define CSV_IO_NO_THREAD
#include "tools/zazazu/Csv.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include <fmt/core.h>
#include <libfccp/csv.h>

#include "platform/Texto.h"

namespace zazazu {

namespace {

constexpr const char* kColunas[] = {"classificacao", "codigo", "tipo", "nome", "caracteristica", "vinculos"};
constexpr size_t kMaxClassificacao = 28, kMaxCodigo = 10, kMaxNome = 50;

using Leitor = io::CSVReader<6, io::trim_chars<>, io::double_quote_escape<',', '"'>>;

// A UTF-8 text in code page 1252, or why it cannot be: what does not come back unchanged from
// the code page is a character it cannot hold (or no UTF-8 at all).
bool ParaAnsi(const std::string& utf8, std::string& ansi, std::string& motivo, const char* coluna)
{
    ansi = plataforma::Utf8ParaAnsi(utf8);
    if (plataforma::AnsiParaUtf8(ansi) == utf8)
        return true;
    motivo = fmt::format("{}: a character that code page 1252 cannot hold, or not UTF-8", coluna);
    return false;
}

bool Numero(std::string_view texto, long long minimo, long long maximo, long long& valor)
{
    const auto [fim, erro] = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
    return erro == std::errc() && fim == texto.data() + texto.size() && valor >= minimo && valor <= maximo;
}

// One row's fields into a record; empty when it is one, else why not.
std::string Converte(const std::string (&c)[6], LinhaCsv& l)
{
    std::string motivo;
    if (!ParaAnsi(c[0], l.classificacao, motivo, "classificacao") || !ParaAnsi(c[1], l.codigo, motivo, "codigo") ||
        !ParaAnsi(c[3], l.nome, motivo, "nome"))
        return motivo;
    if (l.classificacao.empty() || l.classificacao.size() > kMaxClassificacao)
        return fmt::format("classificacao: 1 to {} characters", kMaxClassificacao);
    if (l.codigo.size() > kMaxCodigo)
        return fmt::format("codigo: at most {} characters", kMaxCodigo);
    if (l.nome.empty() || l.nome.size() > kMaxNome)
        return fmt::format("nome: 1 to {} characters", kMaxNome);
    if (c[2] != "T" && c[2] != "A")
        return "tipo: T (title) or A (analytic)";
    l.tipo = c[2][0];
    long long v = 0;
    if (!c[4].empty() && !Numero(c[4], 0, 65535, v))
        return "caracteristica: a number from 0 to 65535";
    l.caracteristica = uint16_t(v);
    std::istringstream vinculos(c[5]);
    for (std::string p; vinculos >> p;) {
        if (!Numero(p, 1, 0x7FFFFFFF, v))
            return "vinculos: main-chart positions (numbers from 1) separated by spaces";
        l.vinculos.push_back(int32_t(v));
    }
    if (l.tipo == 'T' && !l.vinculos.empty())
        return "vinculos: a title account has no links";
    return {};
}

std::string Aspas(const std::string& campo)
{
    if (campo.find_first_of(",\"\r\n") == std::string::npos && (campo.empty() || (campo.front() != ' ' && campo.back() != ' ')))
        return campo;
    std::string r = "\"";
    for (char c : campo)
        r += c == '"' ? std::string("\"\"") : std::string(1, c);
    return r + '"';
}

} // namespace

void LeCsv(const std::string& caminho, std::vector<LinhaCsv>& linhas, std::vector<RecusaCsv>& recusas)
{
    linhas.clear();
    recusas.clear();
    std::ifstream arquivo(caminho, std::ios::binary);
    if (!arquivo) {
        recusas.push_back({0, "cannot be read"});
        return;
    }
    const std::string texto{std::istreambuf_iterator<char>(arquivo), std::istreambuf_iterator<char>()};
    if (texto.find_first_not_of(" \t\r\n") == std::string::npos) {
        recusas.push_back({1, "empty file: no header"});
        return;
    }
    if (const size_t nulo = texto.find('\0'); nulo != std::string::npos) {
        const auto linha = unsigned(std::count(texto.begin(), texto.begin() + nulo, '\n') + 1);
        recusas.push_back({linha, "binary data (a NUL byte): not a CSV text file"});
        return;
    }
    Leitor leitor(caminho, texto.data(), texto.data() + texto.size());
    try {
        leitor.read_header(io::ignore_no_column, kColunas[0], kColunas[1], kColunas[2], kColunas[3], kColunas[4],
                           kColunas[5]);
    } catch (const std::exception&) {
        recusas.push_back({1, "the header must be classificacao,codigo,tipo,nome,caracteristica,vinculos"});
        return;
    }
    for (;;) {
        std::string c[6];
        LinhaCsv l;
        try {
            if (!leitor.read_row(c[0], c[1], c[2], c[3], c[4], c[5]))
                break;
        } catch (const io::error::base& e) {
            // The reader's messages name the file and line; the line is what the person needs.
            std::string motivo = "not a row of six columns";
            if (dynamic_cast<const io::error::escaped_string_not_closed*>(&e))
                motivo = "a quoted field is not closed";
            else if (dynamic_cast<const io::error::too_few_columns*>(&e))
                motivo = "too few columns (six expected)";
            else if (dynamic_cast<const io::error::too_many_columns*>(&e))
                motivo = "too many columns (six expected)";
            else if (dynamic_cast<const io::error::line_length_limit_exceeded*>(&e))
                motivo = "line too long";
            recusas.push_back({leitor.get_file_line(), motivo});
            if (dynamic_cast<const io::error::line_length_limit_exceeded*>(&e))
                return;
            continue;
        }
        l.linha = leitor.get_file_line();
        if (std::string motivo = Converte(c, l); !motivo.empty())
            recusas.push_back({l.linha, motivo});
        else
            linhas.push_back(std::move(l));
    }
}

bool EscreveCsv(const std::string& caminho, const std::vector<LinhaCsv>& linhas)
{
    std::string texto = "classificacao,codigo,tipo,nome,caracteristica,vinculos\n";
    for (const LinhaCsv& l : linhas) {
        std::string vinculos;
        for (int32_t v : l.vinculos)
            vinculos += (vinculos.empty() ? "" : " ") + std::to_string(v);
        texto += fmt::format("{},{},{},{},{},{}\n", Aspas(plataforma::AnsiParaUtf8(l.classificacao)),
                             Aspas(plataforma::AnsiParaUtf8(l.codigo)), l.tipo, Aspas(plataforma::AnsiParaUtf8(l.nome)),
                             l.caracteristica, vinculos);
    }
    // Written beside, then put in place: a failed export leaves no half file.
    const std::string temporario = caminho + ".tmp";
    {
        std::ofstream arquivo(temporario, std::ios::binary | std::ios::trunc);
        if (!arquivo || !arquivo.write(texto.data(), std::streamsize(texto.size())) || !arquivo.flush()) {
            std::remove(temporario.c_str());
            return false;
        }
    }
    if (std::rename(temporario.c_str(), caminho.c_str()) != 0) {
        std::remove(temporario.c_str());
        return false;
    }
    return true;
}

} // namespace zazazu
