#include "df/tqlibex/ArquivoIni.h"

#include <limits>

#include "df/tqlibex/FuncoesArq.h"
#include "platform/Texto.h"

namespace {

constexpr std::string_view kBrancos = " \t\r\v\f";
// A profile file beyond this is not a configuration file: read only its beginning.
constexpr DWORD kTamanhoMaximo = 1u << 20;

std::string_view Apara(std::string_view s)
{
    const size_t ini = s.find_first_not_of(kBrancos);
    if (ini == std::string_view::npos)
        return {};
    return s.substr(ini, s.find_last_not_of(kBrancos) - ini + 1);
}

std::string_view Desaspa(std::string_view s)
{
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        return s.substr(1, s.size() - 2);
    return s;
}

} // namespace

bool TQIniLeTexto(std::string_view conteudo, std::string_view secao, std::string_view chave, std::string& valor)
{
    if (conteudo.substr(0, 3) == "\xEF\xBB\xBF")
        conteudo.remove_prefix(3);
    bool naSecao = false;
    while (!conteudo.empty()) {
        const size_t fim = conteudo.find('\n');
        const std::string_view linha = Apara(conteudo.substr(0, fim));
        conteudo.remove_prefix(fim == std::string_view::npos ? conteudo.size() : fim + 1);
        if (linha.empty() || linha.front() == ';')
            continue;
        if (linha.front() == '[') {
            const size_t fecha = linha.rfind(']');
            const std::string_view nome = Apara(linha.substr(1, fecha == std::string_view::npos ? linha.npos : fecha - 1));
            // Past the wanted section nothing more can be found in it.
            if (naSecao)
                return false;
            naSecao = plataforma::IguaisSemCaixa(nome, secao);
            continue;
        }
        if (!naSecao)
            continue;
        const size_t igual = linha.find('=');
        if (!plataforma::IguaisSemCaixa(Apara(linha.substr(0, igual)), chave))
            continue;
        valor = igual == std::string_view::npos ? std::string() : std::string(Desaspa(Apara(linha.substr(igual + 1))));
        return true;
    }
    return false;
}

unsigned TQIniLeNumero(std::string_view conteudo, std::string_view secao, std::string_view chave, unsigned padrao)
{
    std::string valor;
    if (!TQIniLeTexto(conteudo, secao, chave, valor) || valor.empty())
        return padrao;
    size_t i = 0;
    while (i < valor.size() && (valor[i] == ' ' || valor[i] == '\t'))
        ++i;
    bool negativo = false;
    if (i < valor.size() && (valor[i] == '+' || valor[i] == '-'))
        negativo = valor[i++] == '-';
    uint64_t numero = 0;
    for (; i < valor.size() && valor[i] >= '0' && valor[i] <= '9'; ++i) {
        numero = numero * 10 + unsigned(valor[i] - '0');
        if (numero > std::numeric_limits<unsigned>::max())
            numero = std::numeric_limits<unsigned>::max();
    }
    return negativo ? 0 : unsigned(numero);
}

std::string TQIniLeArquivo(const std::string& caminho)
{
    std::string conteudo;
    if (!TQLeArquivoInteiro(caminho, conteudo, kTamanhoMaximo))
        return {};
    return conteudo;
}
