#include "suite/Rotinas/TQBaseParaRotinas.h"

#include "df/tqlibex/TQModulos.h"
#include "df/tqlibex/TQPath.h"

namespace {

constexpr HRESULT kModuloNaoEncontrado = TQHResult(0x8007007E);
constexpr HRESULT kProcedimentoNaoEncontrado = TQHResult(0x8007007F);

thread_local CTQBaseParaRotinas* t_pAcessoDefault = nullptr;

} // namespace

CTQBaseParaRotinas::CTQBaseParaRotinas() = default;

CTQBaseParaRotinas::~CTQBaseParaRotinas()
{
    // A dead object must not stay the thread's default.
    if (t_pAcessoDefault == this)
        t_pAcessoDefault = nullptr;
}

HRESULT CTQBaseParaRotinas::CriaRotina()
{
    m_conx = CTQPath::CarregaBibliotecaModulo(kBibliotecaTQLConx, kModuloDF);
    if (!m_conx)
        return kModuloNaoEncontrado;
    auto cria = reinterpret_cast<PFN_TQCriaBaseParaRotinas>(m_conx->Simbolo(kExportTQCriaBaseParaRotinas));
    if (!cria)
        return kProcedimentoNaoEncontrado;
    m_pRotina.reset(cria());
    return m_pRotina ? S_OK : kSemMemoria;
}

HRESULT CTQBaseParaRotinas::Inicializa(const _REG_DF_INICIALIZAPS& registro)
{
    m_bInicializado = false;
    // The main-chart access belongs to the old session's company.
    m_pAcessoEmpresarial.reset();
    if (!m_pRotina) {
        const HRESULT hr = CriaRotina();
        if (TQFalhou(hr))
            return hr;
    }
    HRESULT hr = m_pRotina->InicializaSessao(registro);
    if (TQFalhou(hr))
        return hr;
    hr = OnInicializa();
    m_bInicializado = !TQFalhou(hr);
    return hr;
}

HRESULT CTQBaseParaRotinas::OnInicializa() { return S_OK; }

HRESULT CTQBaseParaRotinas::FuncaoGenerica(uint32_t ulFuncao, _REG_DF_FUNCAO_GENERICAPS regInps,
                                           _REG_DF_FUNCAO_GENERICAPS** ppregOutps)
{
    if (ppregOutps)
        *ppregOutps = nullptr;
    return kNaoImplementado;
}

const char* CTQBaseParaRotinas::GetEmpresa() const { return m_pRotina ? m_pRotina->GetEmpresa() : ""; }

uint16_t CTQBaseParaRotinas::GetUsuario() const { return m_pRotina ? m_pRotina->GetUsuario() : 0; }

uint32_t CTQBaseParaRotinas::GetNumeroSessao() const { return m_pRotina ? m_pRotina->GetNumeroSessao() : 0; }

CTQAcessoEmpresarialBuffer* CTQBaseParaRotinas::GetAcessoEmpresarial()
{
    if (!m_pAcessoEmpresarial)
        m_pAcessoEmpresarial = std::make_unique<CTQAcessoEmpresarialBuffer>(GetEmpresa());
    return m_pAcessoEmpresarial.get();
}

void CTQBaseParaRotinas::SetAcessoDefault(CTQBaseParaRotinas* acesso) { t_pAcessoDefault = acesso; }

CTQBaseParaRotinas* CTQBaseParaRotinas::GetAcessoServidoresDefault() { return t_pAcessoDefault; }
