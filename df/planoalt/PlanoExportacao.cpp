// Bulk export (FuncaoGenerica kFuncaoExportaContas): the live accounts of the selected plan in
// chart order and their live links, in one block.
#include <algorithm>
#include <cstring>

#include "df/planoalt/AlternativoBase.h"
#include "df/planoalt/FuncoesGenericas.h"
#include "df/planoalt/ServicoComum.h"

HRESULT CBasePlanoAlternativo::ExportaContas(_REG_DF_FUNCAO_GENERICAPS** ppSaida)
{
    if (!m_pClassificacao || m_lPlanoAtual == 0)
        return Falha("ExportaContas", "m_pClassificacao", kSemPlanoSelecionado);
    std::vector<ContaLida> contas;
    if (const HRESULT hr = LeContasVivas("ExportaContas", contas); TQFalhou(hr))
        return hr;
    CTQArqEx arqVinculos;
    std::vector<RegVinculoPlano> cadeias;
    if (const HRESULT hr = LeArquivoVinculos("ExportaContas", arqVinculos, 'L', cadeias); TQFalhou(hr))
        return hr;
    const auto registros = uint32_t(cadeias.size() - 1);
    // The links first, so that the block is allocated once at its size and filled in place.
    std::vector<VinculoExportado> vinculos;
    for (const ContaLida& c : contas) {
        if (c.r.bStatus & kStatusTitulo)
            continue; // a title has no links
        // A chain is never followed further than the file is long, whatever loops it holds.
        uint32_t passos = 0;
        for (uint32_t q = c.r.ulPrimeiroVinculo; q != 0 && q <= registros && passos++ <= registros; q = cadeias[q].ulProximo)
            if (!(cadeias[q].bFlags & kVinculoRemovido))
                vinculos.push_back({int32_t(c.posicao), cadeias[q].lPosicaoPla, uint16_t(cadeias[q].iCaracteristicaPla), 0});
    }
    const size_t bytesContas = contas.size() * sizeof(REG_PLANO_ALT_PS);
    const size_t bytesVinculos = vinculos.size() * sizeof(VinculoExportado);
    uint8_t* destino = nullptr;
    if (const HRESULT hr = AlocaSaida("ExportaContas", sizeof(CabecalhoExportacao) + bytesContas + bytesVinculos, ppSaida,
                                      destino);
        TQFalhou(hr))
        return hr;
    const CabecalhoExportacao cab{uint32_t(contas.size()), uint32_t(vinculos.size())};
    std::memcpy(destino, &cab, sizeof cab);
    auto* registro = reinterpret_cast<REG_PLANO_ALT_PS*>(destino + sizeof cab);
    for (const ContaLida& c : contas)
        CarregaEstrutura(c.posicao, reinterpret_cast<const uint8_t*>(&c.r), registro++);
    if (bytesVinculos)
        std::memcpy(destino + sizeof cab + bytesContas, vinculos.data(), bytesVinculos);
    return S_OK;
}

HRESULT CBasePlanoAlternativo::LeArquivoVinculos(const char* funcao, CTQArqEx& arqVinculos, char modo,
                                                 std::vector<RegVinculoPlano>& vinculos)
{
    if (const StatusArq s = arqVinculos.Abre(Caminho(NomeArquivoVinculos(m_szArquivoPlano)), modo, kTamanhoVinculo, kAbreAgora))
        return Falha(funcao, "arqVinculos.Abre(sArquivoVinculos, 'L', 32)", s.ComoHResult());
    const auto registros = uint32_t(std::max(arqVinculos.QuantidadeRegistros(true), 0));
    vinculos.assign(size_t(registros) + 1, RegVinculoPlano{});
    for (uint32_t q = 1; q <= registros; ++q)
        if (const StatusArq s = arqVinculos.Le(q, &vinculos[q]))
            return Falha(funcao, "arqVinculos.Le(lProximo, &RegVinculo)", s.ComoHResult());
    return S_OK;
}
