#include "suite/TQGERADOR/Gravacao.h"

#include <atomic>

#include "platform/Arquivo.h"
#include "platform/Processo.h"

namespace gerador {

namespace {

// Two builders of one process, or of two, never share a temporary name.
std::string NomeTemporario(const std::string& caminho)
{
    static std::atomic<unsigned> contador{0};
    return caminho + '.' + std::to_string(plataforma::IdProcesso()) + '.' + std::to_string(++contador) + ".tmp";
}

DWORD Grava(const std::string& caminho, const std::string& conteudo)
{
    plataforma::ModoArquivo modo;
    modo.escrita = true;
    modo.compartilhaLeitura = false;
    modo.compartilhaEscrita = false;
    modo.disposicao = plataforma::Disposicao::CriaSempre;
    plataforma::ArquivoSO arquivo;
    DWORD e = arquivo.Abre(caminho.c_str(), modo);
    if (e == 0 && !conteudo.empty())
        e = arquivo.Grava(conteudo.data(), DWORD(conteudo.size()));
    if (e == 0)
        e = arquivo.Descarrega();
    // Closed before the rename, which a handle left open would refuse.
    const DWORD fecha = arquivo.EstaAberto() ? arquivo.Fecha() : 0;
    return e ? e : fecha;
}

} // namespace

DWORD GravaSubstituindo(const std::string& caminho, const std::string& conteudo)
{
    const std::string temporario = NomeTemporario(caminho);
    DWORD e = Grava(temporario, conteudo);
    if (e == 0)
        e = plataforma::SubstituiArquivo(temporario.c_str(), caminho.c_str());
    if (e != 0)
        plataforma::ApagaArquivo(temporario.c_str());
    return e;
}

} // namespace gerador
