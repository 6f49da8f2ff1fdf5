#include "df/planoalt/ArquivosPlano.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "platform/Texto.h"

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

namespace {

// The files of the service and of the record layer in the data directory: never a plan's chart.
constexpr std::array<std::string_view, 8> kNomesReservados = {
    "DFPLANOS.DAT", "DFMASCAR.DAT", "TQCTLARQ.DAT", "Plano.dat",
    "Plano.old",    "Plano.int",    "CNCMARCA.DAT", "marcanovo.dat"};

bool Reservado(const std::string& nome)
{
    for (std::string_view r : kNomesReservados)
        if (plataforma::IguaisSemCaixa(nome, r))
            return true;
    // The mark files of either class: XXMARCA<type>.DAT and XXMARCA<type><suffix>.dat.
    return nome.size() >= 7 && plataforma::IguaisSemCaixa(std::string_view(nome).substr(0, 7), "XXMARCA");
}

} // namespace

bool NomeArquivoPlanoValido(const std::string& nome)
{
    if (!NomeArquivoSeguro(nome))
        return false;
    for (unsigned char c : nome)
        if (c <= ' ' || c == 0x7F)
            return false;
    const size_t ponto = nome.rfind('.');
    if (ponto == std::string::npos || ponto == 0 || ponto + 1 == nome.size())
        return false;
    const std::string indice = NomeArquivoIndice(nome);
    const std::string vinculos = NomeArquivoVinculos(nome);
    return !Reservado(nome) && !Reservado(indice) && !Reservado(vinculos) &&
           !plataforma::IguaisSemCaixa(nome, indice) && !plataforma::IguaisSemCaixa(nome, vinculos) &&
           !plataforma::IguaisSemCaixa(indice, vinculos);
}
