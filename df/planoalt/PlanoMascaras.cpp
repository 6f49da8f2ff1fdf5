// The masks of a plan: stored and read.
#include <cstring>
#include <string>

#include "df/planoalt/AlternativoBase.h"
#include "df/planoalt/ArquivosPlano.h"
#include "df/planoalt/ServicoComum.h"
#include "df/planoalt/CopiaCampo.h"
#include "df/tqlibex/StatusArquivo.h"

HRESULT CBasePlanoAlternativo::SetMascara(LONG lPosicaoPlano, REG_MASCARA_ALT_PS RegMascaraps)
{
    if (lPosicaoPlano == 0)
        return S_OK;
    RegPlano plano;
    if (StatusArq s = LeUmRegistro(Caminho(kArquivoPlanos), 'G', kTamanhoPlano, uint32_t(lPosicaoPlano), &plano))
        return Falha("SetMascara", "arqPlanos.Le(lPosicaoPlano, &RegPlano)", s.ComoHResult());
    if (const HRESULT hr = TomaMarca("SetMascara", kTipoMarcaMascara); TQFalhou(hr))
        return hr;
    Desmarcador desmarca{m_arqMarca};
    CTQArqEx arqMascaras;
    if (StatusArq s = arqMascaras.Abre(Caminho(kArquivoMascaras), 'G', kTamanhoMascara, kAbreAgora))
        return Falha("SetMascara", "arqMascaras.Abre(sArquivoMascaras, 'G', 294)", s.ComoHResult());
    // Plans without masks before this one read as empty records.
    static const RegMascara vazia{};
    for (uint64_t n = arqMascaras.GetTamanhoArquivo() / kTamanhoMascara; n < uint64_t(lPosicaoPlano); ++n) {
        int32_t posicao = 0;
        if (StatusArq s = arqMascaras.Grava(&vazia, posicao))
            return Falha("SetMascara", "arqMascaras.Grava(&RegVazio, &lPosicao)", s.ComoHResult());
    }
    int32_t posicao = int32_t(lPosicaoPlano);
    if (StatusArq s = arqMascaras.Grava(&RegMascaraps, posicao))
        return Falha("SetMascara", "arqMascaras.Grava(&RegMascaraps, &lPosicaoPlano)", s.ComoHResult());
    arqMascaras.Fecha();
    return S_OK;
}

HRESULT CBasePlanoAlternativo::BuscaMascara(LONG lPosicaoPlano, REG_MASCARA_ALT_PS* RegMascaraps)
{
    if (!RegMascaraps)
        return Falha("BuscaMascara", "RegMascaraps", kPonteiroNulo);
    std::memset(RegMascaraps, 0, sizeof *RegMascaraps);
    if (lPosicaoPlano == 0)
        return S_OK;
    if (StatusArq s =
            LeUmRegistro(Caminho(kArquivoMascaras), 'L', kTamanhoMascara, uint32_t(lPosicaoPlano), RegMascaraps))
        return Falha("BuscaMascara", "arqMascaras.Le(lPosicaoPlano, RegMascaraps)", s.ComoHResult());
    return S_OK;
}
