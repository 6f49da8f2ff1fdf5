// The extension functions of FuncaoGenerica: administrative work that reaches every client the
// same way, in process or through a local server.
#include "df/planoalt/AlternativoBase.h"
#include "df/planoalt/ServicoComum.h"
#include "df/tqlibex/TQArq.h"

HRESULT CBasePlanoAlternativo::FuncaoGenerica(uint32_t ulFuncao, _REG_DF_FUNCAO_GENERICAPS regInps,
                                              _REG_DF_FUNCAO_GENERICAPS** ppregOutps)
{
    if (ulFuncao != kFuncaoLiberaMarcaDeixada)
        return CTQBaseParaRotinas::FuncaoGenerica(ulFuncao, regInps, ppregOutps);
    if (!ppregOutps)
        return Falha("FuncaoGenerica", __LINE__, "ppregOutps", kPonteiroNulo);
    *ppregOutps = nullptr;
    uint8_t tipo = 0;
    if (const uint32_t s = CTQarq::LiberaMarcaDeixada(m_sDiretorioDados, tipo))
        return Falha("FuncaoGenerica", __LINE__, "CTQarq::LiberaMarcaDeixada(m_sDiretorioDados)", HRESULT(s));
    auto* saida = AlocaZerado<_REG_DF_FUNCAO_GENERICAPS>(1);
    auto* bytes = AlocaZerado<unsigned char>(1);
    if (!saida || !bytes) {
        plataforma::LiberaTarefa(saida);
        plataforma::LiberaTarefa(bytes);
        return Falha("FuncaoGenerica", __LINE__, "CoTaskMemAlloc(sizeof(_REG_DF_FUNCAO_GENERICAPS))", kSemMemoria);
    }
    bytes[0] = tipo;
    saida->ulQtdBytes = 1;
    saida->pListaBytes = bytes;
    *ppregOutps = saida;
    return S_OK;
}
