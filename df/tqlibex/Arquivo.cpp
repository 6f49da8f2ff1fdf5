#include "df/tqlibex/Arquivo.h"

#include <algorithm>

#include "df/tqlibex/FuncoesArq.h"

namespace {

constexpr int kTentativas = 30;
constexpr uint32_t kPedaco = 65536;

using namespace statusarq;

// Per operation: {code, at once}; codes without "at once" come on the last attempt.
constexpr RegrasCausa kRegrasLe = {
    {}, {}, {}, {}, {}, {AcessoNegado, false}, {ArquivoInvalido, true}, {}, {}, {BuscaFalhou, true},
    {ErroHardware, true}, {Compartilhamento, false}, {Bloqueio, false}, {}, {FimArquivo, true},
};
constexpr RegrasCausa kRegrasGrava = {
    {}, {}, {NaoEncontrado, true}, {CaminhoInvalido, true}, {}, {AcessoNegado, false}, {ArquivoInvalido, true},
    {}, {}, {BuscaFalhou, true}, {ErroHardware, true}, {Compartilhamento, false}, {Bloqueio, false},
    {DiscoCheio, false}, {},
};
// One attempt: every listed cause answers at once, the others 16144.
constexpr RegrasCausa kRegrasPosiciona = {
    {}, {}, {}, {}, {}, {AcessoNegado, true}, {ArquivoInvalido, true}, {}, {}, {BuscaFalhou, true},
    {ErroHardware, true}, {Compartilhamento, true}, {Bloqueio, true}, {}, {FimArquivo, true},
};
constexpr const RegrasCausa& kRegrasFecha = kRegrasPosiciona;

// Runs passo up to 30 times; a failure is mapped with the rules of the operation.
template <typename Passo>
StatusArq ComTentativas(const RegrasCausa& regras, Passo passo)
{
    for (int k = 0; k < kTentativas; ++k) {
        const DWORD e = passo();
        if (e == 0)
            return Ok;
        if (StatusArq r = StatusDoErro(e, regras, k == kTentativas - 1))
            return r;
    }
    return TentativasEsgotadas;
}

} // namespace

CArquivo::~CArquivo()
{
    if (EstaAberto())
        Fecha();
}

StatusArq CArquivo::Abre(const std::string& caminho, char modo)
{
    plataforma::ModoArquivo flags;
    if (!ModoDaLetra(modo, flags) || caminho.empty())
        return ArgumentoInvalido;
    const size_t barra = caminho.find_last_of(plataforma::kSeparador);
    m_sNome = barra == std::string::npos ? caminho : caminho.substr(barra + 1);
    return ComTentativas(kRegrasAbertura, [&] { return m_arquivo.Abre(caminho.c_str(), flags); });
}

StatusArq CArquivo::Le(uint32_t tamanho, void* buffer)
{
    if (!buffer)
        return ArgumentoInvalido;
    auto* destino = static_cast<char*>(buffer);
    return ComTentativas(kRegrasLe, [&]() -> DWORD {
        if (DWORD e = m_arquivo.Posiciona(0, plataforma::Origem::Inicio))
            return e;
        for (uint32_t feito = 0; feito < tamanho;) {
            const DWORD pedaco = std::min(tamanho - feito, kPedaco);
            DWORD lidos = 0;
            if (DWORD e = m_arquivo.Le(destino + feito, pedaco, lidos))
                return e;
            if (lidos < pedaco)
                return plataforma::erro::FimArquivo;
            feito += lidos;
        }
        return 0;
    });
}

StatusArq CArquivo::Grava(const void* buffer, uint32_t tamanho, char onde)
{
    if ((onde != 'I' && onde != 'F') || !buffer)
        return ArgumentoInvalido;
    const auto* origem = static_cast<const char*>(buffer);
    return ComTentativas(kRegrasGrava, [&]() -> DWORD {
        const auto de = onde == 'I' ? plataforma::Origem::Inicio : plataforma::Origem::Fim;
        if (DWORD e = m_arquivo.Posiciona(0, de))
            return e;
        for (uint32_t feito = 0; feito < tamanho;) {
            const DWORD pedaco = std::min(tamanho - feito, kPedaco);
            if (DWORD e = m_arquivo.Grava(origem + feito, pedaco))
                return e;
            feito += pedaco;
        }
        return 0;
    });
}

StatusArq CArquivo::Posiciona(char onde, int32_t deslocamento, uint32_t& tamanho)
{
    tamanho = 0;
    if (onde != 'I' && onde != 'F' && onde != 'P')
        return ArgumentoInvalido;
    DWORD e = 0;
    if (onde == 'I') {
        e = m_arquivo.Posiciona(0, plataforma::Origem::Inicio);
    } else {
        uint64_t fim = 0;
        e = m_arquivo.Posiciona(0, plataforma::Origem::Fim, &fim);
        if (!e && onde == 'F')
            tamanho = uint32_t(fim);
        if (!e && onde == 'P') {
            if (deslocamento < 0 || uint64_t(deslocamento) >= fim)
                return FimArquivo;
            e = m_arquivo.Posiciona(deslocamento, plataforma::Origem::Inicio);
        }
    }
    return e ? StatusDoErro(e, kRegrasPosiciona, true) : Ok;
}

StatusArq CArquivo::TravaConteudo(bool exclusiva)
{
    // The longest holder rewrites a whole index of 65,500 entries: a few milliseconds.
    constexpr DWORD kEsperaMs = 5000;
    const DWORD e = m_arquivo.Trava(exclusiva, kEsperaMs);
    return e ? StatusDoErro(e, kRegrasPosiciona, true) : Ok;
}

StatusArq CArquivo::Trunca(uint32_t tamanho)
{
    DWORD e = m_arquivo.Posiciona(tamanho, plataforma::Origem::Inicio);
    if (!e)
        e = m_arquivo.DefineFim();
    return e ? StatusDoErro(e, kRegrasPosiciona, true) : Ok;
}

StatusArq CArquivo::Fecha()
{
    const DWORD e = m_arquivo.Fecha();
    return e ? StatusDoErro(e, kRegrasFecha, true) : Ok;
}
