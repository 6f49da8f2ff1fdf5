#include "df/tqlibex/TQAnalytics.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "df/tqlibex/GanchosTeste.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQChavesInicio.h"
#include "df/tqlibex/TQDma.h"
#include "df/tqlibex/TQLConxExports.h"
#include "df/tqlibex/TQLDadosCR.h"
#include "df/tqlibex/TQModulos.h"
#include "df/tqlibex/TQPath.h"
#include "df/tqlibex/TQRegistro.h"
#include "platform/Processo.h"
#include "platform/Sincronizacao.h"
#include "platform/Tempo.h"
#include "platform/Texto.h"

namespace {

constexpr DWORD kValidadeChaveMs = 60000;
constexpr DWORD kIntervaloMs = 60 * 60000;
constexpr DWORD kIntervaloDesenvolvedorMs = 5 * 60000;
constexpr uint32_t kLoteEnvio = 1000;
// Nobody to hand its own counts to: the suite's analytics service itself.
constexpr const char* kServicoAnalytics = "TQSAnalytics";

// The switch, read at most once a minute.
struct Chave {
    std::mutex trava;
    bool lida = false;
    DWORD ticksLeitura = 0;
    bool ligado = false;
};

Chave& ChaveAnalytics()
{
    static Chave chave;
    return chave;
}

bool LeChave()
{
    CTQRegistro suite(plataforma::RaizRegistro::LocalMachine, kChaveSuite);
    return suite.LeDword(kValorDesativarAnalytics, 0) == 0 && !suite.LeTexto(kValorLocalKarvo, "").empty();
}

// The posted trees waiting for the sender.
struct Loja {
    std::mutex trava;
    uint32_t sequencia = 0;
    std::map<uint32_t, ArvoreEstatisticas> postadas;
    std::unique_ptr<plataforma::Evento> evento;
    plataforma::Thread remetente;
    bool rodando = true; // under the lock
};

// Never destroyed: a sender thread of a process that ends without stopping the channel
// may still be waiting on the event.
Loja& LojaAnalytics()
{
    static Loja* loja = new Loja;
    return *loja;
}

std::string NomeServidor()
{
    return CTQPath::GetNomeSemExtensao(plataforma::CaminhoExecutavel());
}

// Numbers names from 0 in the order they first appear.
class Numeracao {
public:
    uint32_t Numero(const std::string& nome)
    {
        auto [it, novo] = m_numeros.try_emplace(nome, uint32_t(m_nomes.size()));
        if (novo)
            m_nomes.push_back(&it->first);
        return it->second;
    }
    void Preenche(std::vector<CTQDadosDF_Texto>& lista) const
    {
        lista.resize(m_nomes.size());
        for (size_t i = 0; i < m_nomes.size(); ++i)
            lista[i].SetTexto(*m_nomes[i]);
    }

private:
    std::map<std::string, uint32_t> m_numeros;
    std::vector<const std::string*> m_nomes; // keys of m_numeros, which never move
};

struct LiberaRotina {
    void operator()(ITQBaseParaRotinas* rotina) const { rotina->Libera(); }
};

// Hands the merged counts to the central data service, one record per company.
void EnviaArvore(const ArvoreEstatisticas& arvore)
{
    // Declared first, so the library goes only after the routine object it made.
    std::unique_ptr<plataforma::Biblioteca> conx = CTQPath::CarregaBibliotecaModulo(kBibliotecaTQLConx, kModuloDF);
    if (!conx)
        return;
    auto cria = reinterpret_cast<PFN_TQCriaBaseParaRotinas>(conx->Simbolo(kExportTQCriaBaseParaRotinas));
    if (!cria)
        return;
    std::unique_ptr<ITQBaseParaRotinas, LiberaRotina> rotina(cria());
    if (!rotina)
        return;
    rotina->SetUsaConexaoDefault(false);
    if (TQFalhou(rotina->Inicializa(kRotinaAnalytics, 65535, 0)))
        return;
    ITQAcessoCore* core = rotina->GetAcessoCore();
    if (!core)
        return;

    const REG_TQDMA hoje = TQDmaHoje();
    const std::string servidor = NomeServidor();
    Numeracao empresas, aplicativos, classes, metodos;
    for (const auto& [empresa, porDia] : arvore) {
        CTQDadosCR_AnalyticsGravacao gravacao;
        gravacao.SetDma(hoje);
        const uint32_t nEmpresa = empresas.Numero(empresa);
        for (const auto& [dia, porAplicativo] : porDia) {
            for (const auto& [aplicativo, porClasse] : porAplicativo) {
                const uint32_t nAplicativo = aplicativos.Numero(aplicativo);
                for (const auto& [classe, porMetodo] : porClasse) {
                    const uint32_t nClasse = classes.Numero(classe);
                    for (const auto& [metodo, porUsuario] : porMetodo) {
                        const uint32_t nMetodo = metodos.Numero(metodo);
                        for (const auto& [usuario, contadores] : porUsuario) {
                            CTQDadosCR_Analytics dados;
                            dados.SetQtdExecucoes(contadores.chamadas);
                            dados.SetSomatorioTempoExecucoes(contadores.totalMs);
                            dados.SetMaiorTempoExecucao(contadores.maiorMs);
                            dados.SetMenorTempoExecucao(contadores.menorMs);
                            dados.SetPonteiroUsuario(usuario);
                            dados.SetIndexEmpresa(nEmpresa);
                            dados.SetIndexOrigem(nAplicativo);
                            dados.SetIndexInterface(nClasse);
                            dados.SetIndexMetodo(nMetodo);
                            gravacao.AdicionaDadosAnalytics(dados);
                        }
                    }
                }
            }
        }
        gravacao.SetServidor(servidor);
        empresas.Preenche(gravacao.Lista(ListaAnalytics::Empresas));
        aplicativos.Preenche(gravacao.Lista(ListaAnalytics::Origens));
        classes.Preenche(gravacao.Lista(ListaAnalytics::Interfaces));
        metodos.Preenche(gravacao.Lista(ListaAnalytics::Metodos));
        if (TQFalhou(core->GravaAnalytics(gravacao)))
            return;
    }
}

// Failures are not reported: the merged counts of a failed send are lost.
void Envia()
{
    Loja& loja = LojaAnalytics();
    ArvoreEstatisticas fundida;
    {
        std::lock_guard<std::mutex> guarda(loja.trava);
        for (const auto& [sequencia, arvore] : loja.postadas)
            TQFundeEstatisticas(fundida, arvore);
        loja.postadas.clear();
        loja.sequencia = 0;
    }
    // Nothing posted since the last send: no library to load.
    if (fundida.empty())
        return;
    if (!TQAnalyticsLigado() || plataforma::IguaisSemCaixa(NomeServidor(), kServicoAnalytics))
        return;
    try {
        EnviaArvore(fundida);
    } catch (...) {
        // Out of memory while building a record: this send is lost, the process goes on.
    }
}

DWORD IntervaloEnvio()
{
    return CTQChavesInicio::ModoDesenvolvedor() ? kIntervaloDesenvolvedorMs : kIntervaloMs;
}

void Remetente(plataforma::Evento* evento)
{
    Loja& loja = LojaAnalytics();
    DWORD ultimoEnvio = plataforma::Ticks();
    evento->Espera();
    for (;;) {
        uint32_t sequencia;
        {
            std::lock_guard<std::mutex> guarda(loja.trava);
            if (!loja.rodando)
                return;
            sequencia = loja.sequencia;
        }
        if (plataforma::Ticks() - ultimoEnvio >= IntervaloEnvio() || (sequencia != 0 && sequencia % kLoteEnvio == 0)) {
            Envia();
            ultimoEnvio = plataforma::Ticks();
        }
        evento->Espera();
    }
}

} // namespace

bool TQAnalyticsLigado()
{
    Chave& chave = ChaveAnalytics();
    std::lock_guard<std::mutex> guarda(chave.trava);
    const DWORD agora = plataforma::Ticks();
    if (!chave.lida || agora - chave.ticksLeitura >= kValidadeChaveMs) {
        chave.ligado = LeChave();
        chave.ticksLeitura = agora;
        chave.lida = true;
    }
    return chave.ligado;
}

void TQPostaEstatisticas(const ArvoreEstatisticas& arvore)
{
    if (arvore.empty() || !TQAnalyticsLigado())
        return;
    Loja& loja = LojaAnalytics();
    plataforma::Evento* evento;
    {
        std::lock_guard<std::mutex> guarda(loja.trava);
        loja.postadas.emplace(++loja.sequencia, arvore);
        if (!loja.evento)
            loja.evento = std::make_unique<plataforma::Evento>();
        evento = loja.evento.get();
        // Once stopped, what is posted waits for the final send.
        if (loja.rodando && !loja.remetente.joinable())
            loja.remetente = plataforma::Thread(Remetente, evento);
    }
    evento->Sinaliza();
}

CTQAnalytics::~CTQAnalytics()
{
    Loja& loja = LojaAnalytics();
    plataforma::Evento* evento;
    {
        std::lock_guard<std::mutex> guarda(loja.trava);
        loja.rodando = false;
        evento = loja.evento.get();
    }
    // The thread is only started under the lock with the event, and only this stop joins it.
    if (evento) {
        evento->Sinaliza();
        if (loja.remetente.joinable()) {
            // A send in progress should finish before the process ends.
            plataforma::PrioridadeMaxima(loja.remetente);
            loja.remetente.join();
        }
    }
    Envia();
}

void TQAnalyticsEnviaAgora()
{
    Envia();
}

void TQAnalyticsReleChaveParaTestes()
{
    Chave& chave = ChaveAnalytics();
    std::lock_guard<std::mutex> guarda(chave.trava);
    chave.lida = false;
}
