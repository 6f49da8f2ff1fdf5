// The index file against the index the chart gives, for the plan check: read only.
#include <cstring>

#include "df/tqclasses/Classificacao.h"
#include "df/tqlibex/Arquivo.h"
#include "df/tqlibex/StatusArquivo.h"

HRESULT CClassificacao::ComparaIndice(bool& igual)
{
    igual = false;
    if (const HRESULT hr = VerificaAberturaArquivoPadrao(); hr < 0)
        return Falha("ComparaIndice", "VerificaAberturaArquivoPadrao()", hr);
    m_arqPadraoLeitura.InvalidaCache(true);
    std::vector<REGCON_INDEX> gerado;
    if (const HRESULT hr = MontaIndice("ComparaIndice", gerado); hr < 0)
        return hr;
    CArquivo ArqIndex;
    uint32_t tamanho = 0;
    const HRESULT hr =
        LeIndiceInteiro("ComparaIndice", ArqIndex, 'L', m_indiceBusca, tamanho, "ArqIndex.Le( uiTamanho, RegPonteiro )");
    if (hr == statusarq::NaoEncontrado.ComoHResult())
        return S_OK; // no index at all: it differs
    if (TQFalhou(hr))
        return hr;
    igual = tamanho == gerado.size() * sizeof(REGCON_INDEX) && m_indiceBusca.size() == gerado.size() &&
            std::memcmp(m_indiceBusca.data(), gerado.data(), tamanho) == 0;
    return S_OK;
}
