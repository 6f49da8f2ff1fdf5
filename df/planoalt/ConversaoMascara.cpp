#include "df/planoalt/ConversaoMascara.h"

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
