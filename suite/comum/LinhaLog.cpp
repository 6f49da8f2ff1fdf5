#include "suite/comum/LinhaLog.h"

#include <cstdio>

#include "platform/Arquivo.h"
#include "platform/Tempo.h"

namespace suite {

namespace {

constexpr int kTentativas = 200;
constexpr DWORD kEsperaMs = 10;

} // namespace

DWORD AcrescentaLinha(const std::string& caminho, const std::string& linha)
{
    plataforma::ModoArquivo modo;
    modo.escrita = true;
    modo.compartilhaEscrita = false; // one append at a time
    modo.disposicao = plataforma::Disposicao::AbreSempre;
    plataforma::ArquivoSO arquivo;
    DWORD e = 0;
    for (int tentativa = 0; tentativa < kTentativas; ++tentativa) {
        e = arquivo.Abre(caminho.c_str(), modo);
        if (e != plataforma::erro::ViolacaoCompartilhamento)
            break;
        plataforma::Dorme(kEsperaMs);
    }
    if (e != 0)
        return e;
    if ((e = arquivo.Posiciona(0, plataforma::Origem::Fim)) != 0)
        return e;
    std::string texto;
    texto.reserve(linha.size() + 1);
    texto.append(linha).push_back('\n');
    if ((e = arquivo.Grava(texto.data(), DWORD(texto.size()))) != 0)
        return e;
    return arquivo.Fecha();
}

std::string MomentoLocal()
{
    const plataforma::DataHoraLocal agora = plataforma::AgoraLocal();
    char texto[64];
    std::snprintf(texto, sizeof texto, "%02u/%02u/%04u %02u:%02u:%02u.%03u", agora.dia, agora.mes, agora.ano,
                  agora.hora, agora.minuto, agora.segundo, agora.milissegundo);
    return texto;
}

std::string SemQuebras(const char* texto)
{
    std::string s = texto ? texto : "";
    for (char& c : s)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return s;
}

} // namespace suite
