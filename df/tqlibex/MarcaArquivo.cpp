#include "df/tqlibex/MarcaArquivo.h"

#include <atomic>

#include "df/tqlibex/GanchosTeste.h"
#include "df/tqlibex/StatusArquivo.h"
#include "platform/Tempo.h"

namespace {
constexpr DWORD kEsperaPadrao = 50000;
constexpr DWORD kPasso = 10;
std::atomic<DWORD> g_espera{kEsperaPadrao};
} // namespace

DWORD EsperaMarcaMs() { return g_espera.load(std::memory_order_relaxed); }

void TQDefineEsperaMarcaParaTestes(DWORD milissegundos) { g_espera.store(milissegundos, std::memory_order_relaxed); }

std::string CaminhoNoDiretorio(const std::string& diretorio, const std::string& nome)
{
    if (!diretorio.empty() && diretorio.back() == plataforma::kSeparador)
        return diretorio + nome;
    return diretorio + plataforma::kSeparador + nome;
}

uint32_t TomaMarcaAtual(plataforma::ArquivoSO& arquivo, const std::string& caminho, EsquemaMarca esquema,
                        unsigned tipo, bool esperaAcessoNegado)
{
    // Read and write, no sharing, replacing any file left behind.
    const plataforma::ModoArquivo modo{true, true, false, false, plataforma::Disposicao::CriaSempre};
    const DWORD inicio = plataforma::Ticks();
    for (;;) {
        const DWORD e = arquivo.Abre(caminho.c_str(), modo);
        if (e == 0)
            return 0;
        const bool esperando = plataforma::Ticks() - inicio >= EsperaMarcaMs();
        if (e == plataforma::erro::AcessoNegado) {
            if (!esperaAcessoNegado || esperando)
                return statusarq::AcessoNegado.Codigo();
        } else if (e == plataforma::erro::ViolacaoCompartilhamento || e == plataforma::erro::ViolacaoBloqueio) {
            if (esperando)
                return CodigoMarcaOcupada(esquema, tipo);
        } else {
            return uint32_t(plataforma::HResultDoErro(e));
        }
        plataforma::Dorme(kPasso);
    }
}
