#include "suite/Rotinas/MontaRelatorio.h"

#include "df/tqlibex/TQModulos.h"
#include "df/tqlibex/TQPath.h"

CMontaRelatorio::CMontaRelatorio()
{
    m_biblioteca = CTQPath::CarregaBibliotecaModulo(kBibliotecaTQGERADOR, kModuloDF);
    if (!m_biblioteca)
        return;
    auto cria = reinterpret_cast<PFN_TQCriaMontaRelatorio>(m_biblioteca->Simbolo(kExportTQCriaMontaRelatorio));
    if (cria)
        m_pMonta.reset(cria());
}

CMontaRelatorio::~CMontaRelatorio() = default;

HRESULT CMontaRelatorio::Inicializa(const OLECHAR* empresa, uint16_t usuario, uint32_t sessao,
                                    const OLECHAR* razaoSocial, const OLECHAR* modulo, const OLECHAR* sistema,
                                    const OLECHAR* arquivo, const OLECHAR* relatorio, int32_t opcoes)
{
    if (!m_pMonta)
        return kMontaRelatorioSemBiblioteca;
    return m_pMonta->Inicializa(empresa, usuario, sessao, razaoSocial, modulo, sistema, arquivo, relatorio, opcoes);
}

void CMontaRelatorio::InicializaLinha()
{
    if (m_pMonta)
        m_pMonta->InicializaLinha();
}

uint16_t CMontaRelatorio::GetQtdeCampos() { return m_pMonta ? m_pMonta->GetQtdeCampos() : 0; }

void CMontaRelatorio::GetCampoEscolhido(uint16_t indice, int64_t& codigo)
{
    codigo = 0;
    if (m_pMonta)
        m_pMonta->GetCampoEscolhido(indice, &codigo);
}

void CMontaRelatorio::Adiciona(const std::string& texto, uint16_t largura)
{
    if (m_pMonta)
        m_pMonta->Adiciona(texto.c_str(), largura);
}

void CMontaRelatorio::AdicionaDetalhe(int64_t codigo, int32_t tipo, uint16_t largura, int32_t decimais,
                                      const std::string& mascara, bool visivel, bool totaliza)
{
    if (m_pMonta)
        m_pMonta->AdicionaDetalhe(codigo, tipo, largura, decimais, mascara.c_str(), visivel, totaliza);
}

void CMontaRelatorio::FinalizaLinha()
{
    if (m_pMonta)
        m_pMonta->FinalizaLinha();
}

HRESULT CMontaRelatorio::GeraRelatorio() { return m_pMonta ? m_pMonta->GeraRelatorio() : kMontaRelatorioSemBiblioteca; }

void CMontaRelatorio::Finaliza(bool descarta)
{
    if (m_pMonta)
        m_pMonta->Finaliza(descarta);
}
