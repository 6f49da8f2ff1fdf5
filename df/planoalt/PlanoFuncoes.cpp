// The extension functions of FuncaoGenerica: administrative and bulk work that reaches every
// client the same way, in process or through a local server. Unknown numbers go to the
// framework, which answers them as it always has.
#include <cstring>

#include "df/planoalt/AlternativoBase.h"
#include "df/planoalt/ServicoComum.h"
#include "df/tqlibex/TQArq.h"
#include "platform/Bstr.h"

HRESULT CBasePlanoAlternativo::FuncaoGenerica(uint32_t ulFuncao, _REG_DF_FUNCAO_GENERICAPS regInps,
                                              _REG_DF_FUNCAO_GENERICAPS** ppregOutps)
{
    if (ulFuncao != kFuncaoLiberaMarcaDeixada && ulFuncao != kFuncaoImportaContas &&
        ulFuncao != kFuncaoVerificaPlano && ulFuncao != kFuncaoReparaPlano && ulFuncao != kFuncaoExportaContas)
        return CTQBaseParaRotinas::FuncaoGenerica(ulFuncao, regInps, ppregOutps);
    if (!ppregOutps)
        return Falha("FuncaoGenerica", "ppregOutps", kPonteiroNulo);
    *ppregOutps = nullptr;
    if (ulFuncao == kFuncaoImportaContas)
        return ImportaContas(regInps, ppregOutps);
    if (ulFuncao == kFuncaoExportaContas)
        return ExportaContas(ppregOutps);
    if (ulFuncao != kFuncaoLiberaMarcaDeixada)
        return VerificaPlano(ulFuncao == kFuncaoReparaPlano, ppregOutps);
    uint8_t tipo = 0;
    if (const uint32_t s = CTQarq::LiberaMarcaDeixada(m_sDiretorioDados, tipo))
        return Falha("FuncaoGenerica", "CTQarq::LiberaMarcaDeixada(m_sDiretorioDados)", HRESULT(s));
    return EntregaBytes("FuncaoGenerica", {tipo}, ppregOutps);
}

HRESULT CBasePlanoAlternativo::AlocaSaida(const char* funcao, size_t bytes, _REG_DF_FUNCAO_GENERICAPS** ppSaida,
                                          uint8_t*& destino)
{
    auto* saida = AlocaZerado<_REG_DF_FUNCAO_GENERICAPS>(1);
    destino = bytes ? static_cast<uint8_t*>(plataforma::AlocaTarefa(bytes)) : nullptr;
    if (!saida || (bytes && !destino) || bytes > UINT32_MAX) {
        plataforma::LiberaTarefa(saida);
        plataforma::LiberaTarefa(destino);
        return Falha(funcao, "CoTaskMemAlloc(sizeof(_REG_DF_FUNCAO_GENERICAPS))", kSemMemoria);
    }
    saida->ulQtdBytes = uint32_t(bytes);
    saida->pListaBytes = destino;
    *ppSaida = saida;
    return S_OK;
}

HRESULT CBasePlanoAlternativo::EntregaBytes(const char* funcao, const std::vector<uint8_t>& bytes,
                                            _REG_DF_FUNCAO_GENERICAPS** ppSaida)
{
    uint8_t* destino = nullptr;
    if (const HRESULT hr = AlocaSaida(funcao, bytes.size(), ppSaida, destino); TQFalhou(hr))
        return hr;
    if (!bytes.empty())
        std::memcpy(destino, bytes.data(), bytes.size());
    return S_OK;
}
