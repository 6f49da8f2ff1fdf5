#include "suite/Rotinas/TQAcessoEmpresarial.h"

#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQModulos.h"
#include "df/tqlibex/TQPath.h"

CTQAcessoEmpresarialBuffer::CTQAcessoEmpresarialBuffer(std::string empresa) : m_sEmpresa(std::move(empresa)) {}

CTQAcessoEmpresarialBuffer::~CTQAcessoEmpresarialBuffer() = default;

ITQPlanoEmpresarial* CTQAcessoEmpresarialBuffer::Plano()
{
    if (m_bCarregou)
        return m_pPlano.get();
    m_bCarregou = true;
    m_biblioteca = CTQPath::CarregaBibliotecaModulo(kBibliotecaTQLDadosDF, kModuloDF);
    if (!m_biblioteca)
        return nullptr;
    auto cria = reinterpret_cast<PFN_TQCriaPlanoEmpresarial>(m_biblioteca->Simbolo(kExportTQCriaPlanoEmpresarial));
    if (cria)
        m_pPlano.reset(cria(m_sEmpresa.c_str()));
    return m_pPlano.get();
}

uint32_t CTQAcessoEmpresarialBuffer::LePlanoEmpresarial(const uint32_t& lPosicao, CTQDadosDF_PlanoEmpresarial& conta,
                                                        int iOpcoes)
{
    conta.m_conta = {};
    ITQPlanoEmpresarial* plano = Plano();
    return plano ? plano->Le(lPosicao, &conta.m_conta) : statusarq::NaoEncontrado.Codigo();
}

uint32_t CTQAcessoEmpresarialBuffer::GetQuantidade(uint32_t& quantidade)
{
    quantidade = 0;
    ITQPlanoEmpresarial* plano = Plano();
    return plano ? plano->Quantidade(&quantidade) : statusarq::NaoEncontrado.Codigo();
}
