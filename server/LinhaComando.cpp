#include "server/LinhaComando.h"

#include <cctype>
#include <cstring>

namespace {

struct Palavra {
    const char* texto;
    EChaveLinha chave;
};

constexpr Palavra kPalavras[] = {{"UnregServer", EChaveLinha::UnregServer},
                                 {"RegServer", EChaveLinha::RegServer},
                                 {"UnregServerPerUser", EChaveLinha::UnregServerPerUser},
                                 {"RegServerPerUser", EChaveLinha::RegServerPerUser}};

bool Separador(char c) { return c == ' ' || c == '\t'; }

bool MesmaPalavra(const std::string& a, const char* b)
{
    if (a.size() != std::strlen(b))
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

EChaveLinha TQAnalisaLinhaComando(const std::string& argumentos)
{
    size_t i = 0;
    while (i < argumentos.size()) {
        while (i < argumentos.size() && Separador(argumentos[i]))
            ++i;
        size_t fim = i;
        while (fim < argumentos.size() && !Separador(argumentos[fim]))
            ++fim;
        if (fim > i && (argumentos[i] == '-' || argumentos[i] == '/')) {
            const std::string palavra = argumentos.substr(i + 1, fim - i - 1);
            for (const Palavra& p : kPalavras)
                if (MesmaPalavra(palavra, p.texto))
                    return p.chave;
        }
        i = fim;
    }
    return EChaveLinha::Nenhuma;
}
