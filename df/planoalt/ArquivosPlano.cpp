#include "df/planoalt/ArquivosPlano.h"

#include <cstdio>

std::string NomeArquivoPlano(uint64_t numeroPlano)
{
    char nome[32];
    std::snprintf(nome, sizeof nome, "DFPLA%03llu.DAT", static_cast<unsigned long long>(numeroPlano));
    return std::string(nome).substr(0, kTamanhoNomeArquivo - 1);
}

std::string NomeArquivoDerivado(const std::string& arquivoPlano, const char troca[3])
{
    std::string nome = arquivoPlano;
    for (size_t i = 0; i < 3 && 2 + i < nome.size(); ++i)
        nome[2 + i] = troca[i];
    return nome;
}

bool NomeArquivoSeguro(const std::string& nome)
{
    return !nome.empty() && nome.find_first_of("\\/:") == std::string::npos && nome != "." &&
           nome.find("..") == std::string::npos;
}
