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
        return Falha("ExportaContas", __LINE__, "m_pClassificacao", kSemPlanoSelecionado);
    std::vector<ContaLida> contas;
    if (const HRESULT hr = LeContasVivas("ExportaContas", contas); TQFalhou(hr))
        return hr;
    CTQArqEx arqVinculos;
    std::vector<RegVinculoPlano> cadeias;
    if (const HRESULT hr = LeArquivoVinculos("ExportaContas", arqVinculos, 'L', cadeias); TQFalhou(hr))
        return hr;
    const auto registros = uint32_t(cadeias.size() - 1);
    std::vector<uint8_t> saida(sizeof(CabecalhoExportacao) + contas.size() * sizeof(REG_PLANO_ALT_PS));
    std::vector<VinculoExportado> vinculos;
    for (size_t i = 0; i < contas.size(); ++i) {
        REG_PLANO_ALT_PS conta;
        CarregaEstrutura(contas[i].posicao, reinterpret_cast<const uint8_t*>(&contas[i].r), &conta);
        std::memcpy(saida.data() + sizeof(CabecalhoExportacao) + i * sizeof conta, &conta, sizeof conta);
        if (contas[i].r.bStatus & kStatusTitulo)
            continue; // a title has no links
        // A chain is never followed further than the file is long, whatever loops it holds.
        uint32_t passos = 0;
        for (uint32_t q = contas[i].r.ulPrimeiroVinculo; q != 0 && q <= registros && passos++ <= registros;
             q = cadeias[q].ulProximo)
            if (!(cadeias[q].bFlags & kVinculoRemovido))
                vinculos.push_back({int32_t(contas[i].posicao), cadeias[q].lPosicaoPla,
                                    uint16_t(cadeias[q].iCaracteristicaPla), 0});
    }
    const CabecalhoExportacao cab{uint32_t(contas.size()), uint32_t(vinculos.size())};
    std::memcpy(saida.data(), &cab, sizeof cab);
    const auto* bytes = reinterpret_cast<const uint8_t*>(vinculos.data());
    saida.insert(saida.end(), bytes, bytes + vinculos.size() * sizeof(VinculoExportado));
    return EntregaBytes("ExportaContas", saida, ppSaida);
}

HRESULT CBasePlanoAlternativo::LeArquivoVinculos(const char* funcao, CTQArqEx& arqVinculos, char modo,
                                                 std::vector<RegVinculoPlano>& vinculos)
{
    if (const uint32_t s = arqVinculos.Abre(Caminho(NomeArquivoVinculos(m_szArquivoPlano)), modo, kTamanhoVinculo, 1, true))
        return Falha(funcao, __LINE__, "arqVinculos.Abre(sArquivoVinculos, 'L', 32)", TQHResultDoStatus(s));
    const auto registros = uint32_t(std::max(arqVinculos.QuantidadeRegistros(true), 0));
    vinculos.assign(size_t(registros) + 1, RegVinculoPlano{});
    for (uint32_t q = 1; q <= registros; ++q)
        if (const uint32_t s = arqVinculos.Le(q, &vinculos[q]))
            return Falha(funcao, __LINE__, "arqVinculos.Le(lProximo, &RegVinculo)", TQHResultDoStatus(s));
    return S_OK;
}
