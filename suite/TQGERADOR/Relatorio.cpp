#include "suite/TQGERADOR/Relatorio.h"

#include <algorithm>

namespace gerador {

namespace {

constexpr int64_t kCampoClassificacao = 103;
constexpr const char* kRecuoVinculo = "     ";

struct TituloCampo {
    int64_t codigo;
    const char* titulo;
};
// Code page 1252: "Código", "Classificação".
constexpr TituloCampo kTitulos[] = {
    {101, "C\xF3" "digo"}, {102, "Tipo"}, {103, "Classifica\xE7\xE3o"}, {104, "Nome"}, {105, "Sinal"},
};

} // namespace

std::string TituloDoCampo(int64_t codigo)
{
    for (const TituloCampo& t : kTitulos)
        if (t.codigo == codigo)
            return t.titulo;
    return {};
}

const std::string& TextoNaColuna(const Linha& linha, size_t coluna)
{
    static const std::string vazio;
    return coluna < linha.size() ? linha[coluna].texto : vazio;
}

bool EhLinhaDeVinculo(const Linha& linha)
{
    return std::any_of(linha.begin(), linha.end(), [](const Campo& c) { return c.texto.starts_with(kRecuoVinculo); });
}

unsigned NivelDaLinha(const Relatorio& relatorio, const Linha& linha)
{
    for (size_t i = 0; i < relatorio.colunas.size(); ++i)
        if (relatorio.colunas[i].codigo == kCampoClassificacao) {
            const std::string& texto = TextoNaColuna(linha, i);
            return unsigned(std::count(texto.begin(), texto.end(), '.'));
        }
    return 0;
}

std::string SemBrancosFinais(const std::string& texto)
{
    const size_t fim = texto.find_last_not_of(' ');
    return fim == std::string::npos ? std::string() : texto.substr(0, fim + 1);
}

} // namespace gerador
