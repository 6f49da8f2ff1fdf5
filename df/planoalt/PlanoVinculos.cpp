// Links of the selected plan's accounts to accounts of the main chart, chained per account.
#include <cstring>
#include <vector>

#include "df/planoalt/AlternativoBase.h"
#include "df/planoalt/ArquivosPlano.h"
#include "df/planoalt/ServicoComum.h"
#include "suite/Rotinas/TQAcessoEmpresarial.h"

namespace {

// Visits the live and removed link records of a chain in order, until visita answers true;
// 0 or the status of a failed read. A chain that loops would never end: none is longer than the file.
template <typename Visita>
StatusArq PercorreCadeia(CTQArqEx& arqVinculos, uint32_t primeiro, Visita visita)
{
    const uint64_t limite = arqVinculos.GetTamanhoArquivo() / kTamanhoVinculo;
    uint64_t passos = 0;
    for (int32_t q = int32_t(primeiro); q >= 1 && passos++ <= limite;) {
        RegVinculoPlano v;
        if (StatusArq s = arqVinculos.Le(uint32_t(q), &v))
            return s;
        if (visita(q, v))
            break;
        q = int32_t(v.ulProximo);
    }
    return statusarq::Ok;
}

} // namespace

HRESULT CBasePlanoAlternativo::BuscaPosVinculos(uint32_t posicao, std::vector<ParVinculo>& vinculos)
{
    vinculos.clear();
    if (posicao == 0)
        return S_OK;
    RegContaPlano conta;
    StatusArq s = LeUmRegistro(Caminho(m_szArquivoPlano), 'L', kTamanhoConta, posicao, &conta);
    if (s)
        return Falha("BuscaPosVinculos", "arqPlano.Le(lPosicao, &RegConta)", s.ComoHResult());
    if (conta.bStatus & kStatusTitulo)
        return S_OK;
    CTQArqEx arqVinculos;
    if ((s = arqVinculos.Abre(Caminho(NomeArquivoVinculos(m_szArquivoPlano)), 'L', kTamanhoVinculo, kAbreAgora)))
        return Falha("BuscaPosVinculos", "arqVinculos.Abre(sArquivoVinculos, 'L', 32)", s.ComoHResult());
    s = PercorreCadeia(arqVinculos, conta.ulPrimeiroVinculo, [&](int32_t, const RegVinculoPlano& v) {
        if (!(v.bFlags & kVinculoRemovido))
            vinculos.push_back({v.lPosicaoPla, v.iCaracteristicaPla});
        return false;
    });
    if (s)
        return Falha("BuscaPosVinculos", "arqVinculos.Le(lProximo, &RegVinculo)", s.ComoHResult());
    return S_OK;
}

HRESULT CBasePlanoAlternativo::Vinculo(REG_VINCULO_ALT RegVinculo)
{
    // Record 0 is no account: writing its chain would append a phantom account to the chart.
    if (RegVinculo.lPosicaoAlt < 1)
        return Falha("Vinculo", "arqPlano.Le(RegVinculo.lPosicaoAlt, &RegConta)", kForaDoArquivo);
    if (const HRESULT hr = TomaMarca("Vinculo", kTipoMarcaPlanoEVinculo); TQFalhou(hr))
        return hr;
    Desmarcador desmarca{m_arqMarca};
    CTQArqEx arqPlano, arqVinculos;
    RegContaPlano conta;
    // The account first: a refused position creates no link file.
    StatusArq s = arqPlano.Abre(Caminho(m_szArquivoPlano), 'G', kTamanhoConta, kAbreAgora);
    if (!s)
        s = arqPlano.Le(uint32_t(RegVinculo.lPosicaoAlt), &conta);
    if (!s)
        s = arqVinculos.Abre(Caminho(NomeArquivoVinculos(m_szArquivoPlano)), 'G', kTamanhoVinculo, kAbreAgora);
    if (s)
        return Falha("Vinculo", "arqPlano.Le(RegVinculo.lPosicaoAlt, &RegConta)", s.ComoHResult());
    if (RegVinculo.bExcluir == 0) {
        RegVinculoPlano novo{};
        novo.lPosicaoPla = RegVinculo.lPosicaoPla;
        novo.lPosicaoAlt = RegVinculo.lPosicaoAlt;
        novo.iCaracteristicaPla = int16_t(RegVinculo.iCaracteristicaPla);
        int32_t r = 0;
        if ((s = arqVinculos.Grava(&novo, r)))
            return Falha("Vinculo", "arqVinculos.Grava(&RegVinculo, &lPosicao)", s.ComoHResult());
        // The tail of the chain; an empty chain reads record 0, whose next is 0.
        uint32_t q = conta.ulPrimeiroVinculo;
        RegVinculoPlano cauda;
        const uint64_t limite = arqVinculos.GetTamanhoArquivo() / kTamanhoVinculo;
        for (uint64_t passos = 0;; ++passos) {
            if ((s = arqVinculos.Le(q, &cauda)))
                return Falha("Vinculo", "arqVinculos.Le(lProximo, &RegVinculo)", s.ComoHResult());
            if (cauda.ulProximo == 0 || passos > limite)
                break;
            q = cauda.ulProximo;
        }
        int32_t posicao;
        if (conta.ulPrimeiroVinculo != 0) {
            cauda.ulProximo = uint32_t(r);
            posicao = int32_t(q);
            s = arqVinculos.Grava(&cauda, posicao);
        } else {
            conta.ulPrimeiroVinculo = uint32_t(r);
            posicao = RegVinculo.lPosicaoAlt;
            s = arqPlano.Grava(&conta, posicao);
        }
        if (s)
            return Falha("Vinculo", "Grava(&RegEncadeado, &lPosicao)", s.ComoHResult());
    } else {
        // The first live link of the pair; the characteristic is not compared.
        StatusArq sGrava;
        s = PercorreCadeia(arqVinculos, conta.ulPrimeiroVinculo, [&](int32_t q, RegVinculoPlano v) {
            if (v.lPosicaoAlt != RegVinculo.lPosicaoAlt || v.lPosicaoPla != RegVinculo.lPosicaoPla ||
                (v.bFlags & kVinculoRemovido))
                return false;
            v.bFlags |= kVinculoRemovido;
            sGrava = arqVinculos.Grava(&v, q);
            return true;
        });
        if (s)
            return Falha("Vinculo", "arqVinculos.Le(lProximo, &RegVinculo)", s.ComoHResult());
        if (sGrava)
            return Falha("Vinculo", "arqVinculos.Grava(&RegVinculo, &lPosicao)", sGrava.ComoHResult());
    }
    arqVinculos.Fecha();
    arqPlano.Fecha();
    return S_OK;
}

HRESULT CBasePlanoAlternativo::BuscaVinculo(LONG lPosicaoAlt, ARRAY_REGCON_INDEX_ALT_PS** ppArrayRegConIndexps)
{
    if (!ppArrayRegConIndexps)
        return Falha("BuscaVinculo", "ppArrayRegConIndexps", kPonteiroNulo);
    std::vector<REGCON_INDEX_ALT_PS> lista;
    HRESULT resultado = S_OK;
    std::vector<ParVinculo> pares;
    if (lPosicaoAlt != 0 && (resultado = BuscaPosVinculos(uint32_t(lPosicaoAlt), pares)) == S_OK) {
        for (const ParVinculo& par : pares) {
            CTQDadosDF_PlanoEmpresarial conta;
            const uint32_t posicao = uint32_t(par.lPosicaoPla);
            if (GetAcessoEmpresarial()->LePlanoEmpresarial(posicao, conta, 0) != 0)
                continue; // a main-chart account that is gone is left out
            REGCON_INDEX_ALT_PS& e = lista.emplace_back();
            std::memset(&e, 0, sizeof e);
            e.Tipo_IndCon = (conta.GetTipo() & kStatusTitulo) ? IDX_INDCON(posicao) : (posicao | kTipoA);
            e.iCaracteristica = uint16_t(par.iCaracteristica);
            uint8_t empacotada[kTamanhoEmpacotado];
            EmpacotaClassificacao(conta.GetClassificacao(), empacotada);
            std::memcpy(e.Classificacao, empacotada, sizeof e.Classificacao);
        }
    }
    if (const HRESULT hr = EntregaIndice("BuscaVinculo", lista, ppArrayRegConIndexps); TQFalhou(hr))
        return hr;
    return resultado;
}
