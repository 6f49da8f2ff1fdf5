// The change of the selected plan's masks, with every account rewritten under the new ones, as
// one atomic step: after a crash at any instant, or a swap refused because another process holds
// the chart, the chart and the masks agree and no account is lost.
//
// The steps, and what a crash after each leaves (the next process that takes the mark of the
// masks or selects a plan finishes or undoes it):
//   1. every account converted into "Plano.dat", flushed      nothing changed ("Plano.dat" is scratch)
//   2. the intent written and flushed ("Plano.int")            undone: the intent removed
//   3. "Plano.old" made a second name of the chart            undone: the intent removed
//   4. "Plano.dat" put in the chart's place in one step        finished: steps 5 to 7
//   5. the index rebuilt from the new chart                    finished: steps 5 to 7
//   6. the new masks written and flushed                       finished: steps 5 to 7
//   7. the intent removed                                      done
// Whether the swap happened is told by "Plano.dat": the swap consumes it.
#include <cstring>
#include <memory>
#include <string>

#include "df/planoalt/AlternativoBase.h"
#include "df/planoalt/ArquivosPlano.h"
#include "df/planoalt/ConversaoMascara.h"
#include "df/planoalt/CopiaCampo.h"
#include "df/planoalt/IntencaoMascara.h"
#include "df/planoalt/ServicoComum.h"
#include "df/tqlibex/FuncoesArq.h"
#include "df/tqlibex/PassoCritico.h"
#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Arquivo.h"
#include "platform/Tempo.h"

namespace {

constexpr uint32_t kUltimaPosicao = 0xFFFF; // the conversion counts positions in 16 bits
constexpr int kTentativasTroca = 200;        // 10 ms apart: about 2 seconds for a holder to let go

// A mask of the change: up to its NUL, without its trailing spaces.
std::string MascaraNova(const char (&campo)[32])
{
    std::string m(campo, strnlen(campo, sizeof campo));
    while (!m.empty() && m.back() == ' ')
        m.pop_back();
    return m;
}

bool Compartilhado(DWORD e)
{
    return e == plataforma::erro::ViolacaoCompartilhamento || e == plataforma::erro::AcessoNegado;
}

// Puts `novo` in the place of `plano` once nobody holds the chart, after `antes` (0 or a system
// error) has run with the chart free; the sharing violation after the retries. The look first:
// a replace that a platform let through past a holder would leave the holder on the old chart.
template <typename Antes>
DWORD TrocaQuandoLivre(const std::string& novo, const std::string& plano, Antes antes)
{
    DWORD e = 0;
    for (int k = 0; k < kTentativasTroca; ++k) {
        if (k > 0)
            plataforma::Dorme(10);
        plataforma::ArquivoSO sonda;
        e = sonda.Abre(plano.c_str(), {true, false, false, false, plataforma::Disposicao::AbreExistente});
        sonda.Fecha();
        if (!e)
            e = antes();
        if (!e)
            e = plataforma::SubstituiArquivo(novo.c_str(), plano.c_str());
        if (!Compartilhado(e))
            return e;
    }
    return plataforma::erro::ViolacaoCompartilhamento;
}

// The chart's records 1 to n as the conversion read them: the swap compares them with the old
// chart afterwards, so that a write that slipped in between is never lost.
struct Impressao {
    uint64_t tamanho = 0;
    uint64_t crc = 0;
};

Impressao ImpressaoDoArquivo(const std::string& caminho, uint64_t registros)
{
    std::string conteudo;
    if (!TQLeArquivoInteiro(caminho, conteudo))
        return {UINT64_MAX, 0};
    const size_t inicio = std::min<size_t>(kTamanhoConta, conteudo.size());
    const size_t fim = std::min<size_t>(inicio + registros * kTamanhoConta, conteudo.size());
    return {conteudo.size(), TQCrc64(std::string_view(conteudo).substr(inicio, fim - inicio))};
}

} // namespace

HRESULT CBasePlanoAlternativo::TomaMarcaMascaras(const char* funcao)
{
    if (const HRESULT hr = TomaMarca(funcao, kTipoMarcaMascara); TQFalhou(hr))
        return hr;
    if (const HRESULT hr = RecuperaMudancaMascara(funcao, true); TQFalhou(hr)) {
        m_arqMarca.Desmarca();
        return hr;
    }
    return S_OK;
}

HRESULT CBasePlanoAlternativo::RecuperaMudancaMascara(const char* funcao, bool marcaTomada)
{
    const std::string caminhoIntencao = Caminho(kArquivoIntencao);
    if (!CTQPath::ExisteArquivo(caminhoIntencao))
        return S_OK;
    // Under the mark of the masks: a change still running elsewhere ends before we look.
    if (!marcaTomada) {
        if (const HRESULT hr = TomaMarca(funcao, kTipoMarcaMascara); TQFalhou(hr))
            return hr;
        Desmarcador desmarca{m_arqMarca};
        return RecuperaMudancaMascara(funcao, true);
    }
    RegIntencaoMascara intencao;
    if (!LeIntencao(caminhoIntencao, intencao)) {
        // Torn, or gone meanwhile: it was written before any rename, so nothing is to be undone.
        plataforma::ApagaArquivo(caminhoIntencao.c_str());
        return S_OK;
    }
    if (CTQPath::ExisteArquivo(Caminho(kArquivoTrabalho))) {
        // The swap never happened: the chart, its index and the masks are the old ones.
        if (const DWORD e = plataforma::ApagaArquivo(caminhoIntencao.c_str()))
            return Falha(funcao, "DeleteFile(\"Plano.int\")", plataforma::HResultDoErro(e));
        return S_OK;
    }
    return CompletaMudancaMascara(funcao, intencao);
}

HRESULT CBasePlanoAlternativo::CompletaMudancaMascara(const char* funcao, const RegIntencaoMascara& intencao)
{
    const std::string plano = Caminho(intencao.arquivoPlano);
    CTQArqEx::InvalidaCachesDoArquivo(plano);
    // The index from the new chart, through this object's store when it is bound to that chart.
    std::unique_ptr<CClassificacao> outra;
    CClassificacao* loja = m_pClassificacao.get();
    if (!loja || std::strcmp(m_szArquivoPlano, intencao.arquivoPlano) != 0) {
        outra = std::make_unique<CClassificacao>();
        loja = outra.get();
        if (const HRESULT hr = VinculaLoja(*loja, intencao.arquivoPlano, intencao.arquivoIndice); TQFalhou(hr))
            return Falha(funcao, "m_pClassificacao->Inicializa(...)", hr);
    } else {
        loja->VerificaFechamentoArquivoPadrao();
    }
    const HRESULT indice = loja->GeraClassificacao();
    TQPassoCritico();
    // The masks follow the chart even when the index failed: the two must agree.
    CTQArqEx arqMascaras;
    StatusArq s = arqMascaras.Abre(Caminho(kArquivoMascaras), 'G', kTamanhoMascara, kAbreAgora);
    int32_t posicao = int32_t(intencao.plano);
    if (!s)
        s = arqMascaras.Grava(&intencao.novas, posicao);
    if (!s && arqMascaras.Descarrega() != 0)
        s = statusarq::ErroHardware;
    arqMascaras.Fecha();
    if (s)
        return Falha(funcao, "arqMascaras.Grava(&RegMascara, &m_lPlanoAtual)", s.ComoHResult());
    TQPassoCritico();
    // An index that failed keeps the intent, so that the next process rebuilds it.
    if (TQFalhou(indice))
        return Falha(funcao, "m_pClassificacao->GeraClassificacao()", indice);
    if (const DWORD e = plataforma::ApagaArquivo(Caminho(kArquivoIntencao).c_str()))
        return Falha(funcao, "DeleteFile(\"Plano.int\")", plataforma::HResultDoErro(e));
    plataforma::DescarregaDiretorio(m_sDiretorioDados.c_str());
    TQPassoCritico();
    return S_OK;
}

HRESULT CBasePlanoAlternativo::AlteraMascara(const _MASCARA_PLANO_ALT* Mascara)
{
    if (!m_pClassificacao)
        return Falha("AlteraMascara", "m_pClassificacao", kSemPlanoSelecionado);
    if (!Mascara)
        return Falha("AlteraMascara", "Mascara", kPonteiroNulo);
    if (const HRESULT hr = TomaMarcaMascaras("AlteraMascara"); TQFalhou(hr))
        return hr;
    Desmarcador desmarca{m_arqMarca};
    std::string novas[kMascaras];
    for (size_t d = 0; d < kMascaras; ++d)
        novas[d] = MascaraNova(Mascara->Nova[d]);

    const std::string plano = Caminho(m_szArquivoPlano);
    const std::string trabalho = Caminho(kArquivoTrabalho);
    const std::string antigo = Caminho(kArquivoTrabalhoAntigo);
    Impressao lida;
    uint64_t registros = 0;
    {
        // Writers of the chart wait while it is converted: what they wrote would miss the new chart.
        CTQArqEx arqPlano, arqTrabalho;
        if (StatusArq s = arqPlano.Abre(plano, 'G', kTamanhoConta, kAbreAgora))
            return Falha("AlteraMascara", "arqPlano.Abre(sArquivoPlano, 'L', 96)", s.ComoHResult());
        lida.tamanho = arqPlano.GetTamanhoArquivo();
        const RegContaPlano zero{};
        int32_t posicao = 0;
        StatusArq s = arqTrabalho.Abre(trabalho, 'C', kTamanhoConta, kAbreAgora);
        if (!s)
            s = arqTrabalho.Grava(&zero, posicao);
        if (s)
            return Falha("AlteraMascara", "arqTrabalho.Abre(\"Plano.dat\", 'C', 96)", s.ComoHResult());
        for (uint32_t p = 1; p <= kUltimaPosicao; ++p) {
            RegContaPlano r;
            s = arqPlano.Le(p, &r);
            if (s == statusarq::FimArquivo)
                break;
            // Any other failure stops the change: a partial chart is never swapped in.
            if (s)
                return Falha("AlteraMascara", "arqPlano.Le(lPosicao, &RegConta)", s.ComoHResult());
            lida.crc = TQCrc64(std::string_view(reinterpret_cast<const char*>(&r), sizeof r), lida.crc);
            ++registros;
            bool preservada = true;
            if (!(r.bStatus & kStatusExcluido)) {
                const std::string atual = DesempacotaClassificacao(r.cClassificacao);
                if (!atual.empty() && atual[0] >= '0' && atual[0] <= '9') {
                    std::string convertida;
                    preservada = ConverteClassificacao(atual, novas[atual[0] - '0'], convertida);
                    convertida.resize(32, ' ');
                    EmpacotaClassificacao(std::string_view(convertida).substr(0, kTamanhoClassificacao),
                                          r.cClassificacao);
                }
            }
            posicao = 0;
            if ((s = arqTrabalho.Grava(&r, posicao)))
                return Falha("AlteraMascara", "arqTrabalho.Grava(&RegConta, &lPosicao)", s.ComoHResult());
            if (!preservada)
                return kMascaraPerderiaDigito;
        }
        // The new chart stands whole on the disk before anything points at it.
        if (const DWORD e = arqTrabalho.Descarrega())
            return Falha("AlteraMascara", "arqTrabalho.Flush()", plataforma::HResultDoErro(e));
    }
    TQPassoCritico();

    RegIntencaoMascara intencao{};
    intencao.plano = m_lPlanoAtual;
    TQCopiaCampo(intencao.arquivoPlano, sizeof intencao.arquivoPlano, m_szArquivoPlano);
    TQCopiaCampo(intencao.arquivoIndice, sizeof intencao.arquivoIndice, m_szArquivoIndice);
    if (StatusArq s = LeUmRegistro(Caminho(kArquivoMascaras), 'G', kTamanhoMascara, m_lPlanoAtual, &intencao.antigas))
        return Falha("AlteraMascara", "arqMascaras.Le(m_lPlanoAtual, &RegMascara)", s.ComoHResult());
    intencao.novas = intencao.antigas;
    for (size_t d = 0; d < kMascaras; ++d)
        TQCopiaCampo(intencao.novas.cMascara[d], sizeof intencao.novas.cMascara[d], novas[d], true);
    const std::string caminhoIntencao = Caminho(kArquivoIntencao);
    if (const DWORD e = GravaIntencao(caminhoIntencao, intencao)) {
        plataforma::ApagaArquivo(caminhoIntencao.c_str());
        return Falha("AlteraMascara", "GravaIntencao(\"Plano.int\")", plataforma::HResultDoErro(e));
    }
    TQPassoCritico();

    const auto desiste = [&](const char* expressao, HRESULT hr,
                             TQOnde onde = TQOnde::Atual()) {
        plataforma::ApagaArquivo(caminhoIntencao.c_str());
        return Falha({"AlteraMascara", onde}, expressao, hr);
    };
    // Windows refuses to replace an open file: the store lets go of its read handle first.
    m_pClassificacao->VerificaFechamentoArquivoPadrao();
    // "Plano.old" keeps the chart as it was: a second name before the swap, the only one after.
    const auto guardaAntigo = [&]() -> DWORD {
        plataforma::ApagaArquivo(antigo.c_str());
        const DWORD e = plataforma::CriaLigacao(plano.c_str(), antigo.c_str());
        TQPassoCritico();
        return e;
    };
    if (const DWORD e = TrocaQuandoLivre(trabalho, plano, guardaAntigo)) {
        const HRESULT hr = Compartilhado(e) ? statusarq::Compartilhamento.ComoHResult()
                                            : plataforma::HResultDoErro(e);
        return desiste("MoveFileEx(\"Plano.dat\", sArquivoPlano)", hr);
    }
    plataforma::DescarregaDiretorio(m_sDiretorioDados.c_str());
    TQPassoCritico();
    // A write that slipped in between the conversion and the swap went to the old chart: put
    // it back, and let the client try again.
    const Impressao depois = ImpressaoDoArquivo(antigo, registros);
    if (depois.tamanho != lida.tamanho || depois.crc != lida.crc) {
        if (const DWORD e = TrocaQuandoLivre(antigo, plano, [] { return DWORD(0); }))
            return Falha("AlteraMascara", "MoveFileEx(\"Plano.old\", sArquivoPlano)",
                         plataforma::HResultDoErro(e));
        CTQArqEx::InvalidaCachesDoArquivo(plano);
        return desiste("CompareChart(\"Plano.old\")", statusarq::Compartilhamento.ComoHResult());
    }
    if (const HRESULT hr = CompletaMudancaMascara("AlteraMascara", intencao); TQFalhou(hr))
        return hr;
    // The store reads under the new masks from now on, as the chart does.
    RecarregaMascaras();
    return S_OK;
}
