#include "df/planoalt/ConversaoMascara.h"

#include <cstring>

namespace {

bool FimDeSegmento(char c) { return c == '.' || c == ' ' || c == '\0'; }

// The next segment from `pos` and the character that ended it ('\0' at the end of the text).
std::string_view Segmento(std::string_view texto, size_t& pos, char& terminador)
{
    const size_t inicio = pos;
    while (pos < texto.size() && !FimDeSegmento(texto[pos]))
        ++pos;
    const std::string_view segmento = texto.substr(inicio, pos - inicio);
    terminador = pos < texto.size() ? texto[pos] : '\0';
    if (terminador == '.')
        ++pos; // only a separator leads to another segment
    else
        pos = texto.size();
    return segmento;
}

} // namespace

bool ConverteClassificacao(std::string_view classificacao, std::string_view mascara, std::string& convertida)
{
    convertida.clear();
    bool preservada = true;
    size_t pc = 0, pm = 0;
    for (;;) {
        char fimC = '\0', fimM = '\0';
        const std::string_view c = Segmento(classificacao, pc, fimC);
        const std::string_view m = pm < mascara.size() ? Segmento(mascara, pm, fimM) : std::string_view();
        const size_t a = c.size(), b = m.size();
        if (a == 0)
            break;
        if (a < b) {
            if (convertida.empty()) {
                convertida += c;
                convertida.append(b - a, '0');
            } else {
                convertida.append(b - a, '0');
                convertida += c;
            }
        } else {
            const std::string_view perdidos = c.substr(0, a - b);
            if (perdidos.find_first_not_of('0') != std::string_view::npos)
                preservada = false;
            convertida += c.substr(a - b);
        }
        if (fimC == '\0')
            break;
        convertida += fimC;
        if (fimC != '.')
            break;
    }
    return preservada;
}

bool CabeNaMascara(std::string_view classificacao, std::string_view mascara)
{
    if (classificacao.empty() || classificacao.size() > mascara.size())
        return false;
    for (size_t i = 0; i < classificacao.size(); ++i) {
        const bool separador = mascara[i] == '.';
        if (separador != (classificacao[i] == '.'))
            return false;
        if (!separador && (classificacao[i] < '0' || classificacao[i] > '9'))
            return false;
    }
    return classificacao.size() == mascara.size() || mascara[classificacao.size()] == '.';
}

bool CabeNasMascaras(std::string_view classificacao, const char mascaras[10][28])
{
    if (classificacao.empty() || classificacao[0] < '0' || classificacao[0] > '9')
        return false;
    const char* mascara = mascaras[classificacao[0] - '0'];
    return CabeNaMascara(classificacao, std::string_view(mascara, strnlen(mascara, 28)));
}

std::string_view ClassificacaoDoTitulo(std::string_view classificacao)
{
    const size_t ponto = classificacao.rfind('.');
    return ponto == std::string_view::npos ? std::string_view() : classificacao.substr(0, ponto);
}
