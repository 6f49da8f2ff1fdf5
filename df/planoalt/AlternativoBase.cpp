#include "df/planoalt/AlternativoBase.h"

#include <cstring>
#include <new>

#include "df/planoalt/ArquivosPlano.h"
#include "df/planoalt/CopiaCampo.h"
#include "df/planoalt/ServicoComum.h"
#include "df/tqlibex/CodigosMarca.h"
#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQModulos.h"
#include "df/tqlibex/TQPath.h"
#include "df/tqlibex/TQTrace.h"
#include "platform/Texto.h"

namespace {

constexpr int kLinhaInicializacaoBase = 50; // the line this trace has always carried
constexpr uint16_t kTamanhoNome = 50;
constexpr uint16_t kTamanhoCodigo = 10;

} // namespace

CAlternativoBase::~CAlternativoBase() = default;

CTQProfilerEmpresa CAlternativoBase::Identidade() const
{
    return CTQProfilerEmpresa(GetEmpresa(), GetUsuario(), GetNumeroSessao());
}

HRESULT CAlternativoBase::Falha(TQLocal onde, const char* expressao, HRESULT hr) const
{
    CTQProfilerEmpresa identidade = Identidade();
    const std::string nome = std::string("CBasePlanoAlternativo::") + onde.funcao;
    TQTraceHResult(&identidade, {nome.c_str(), onde.linha}, "BasePlanoAlternativo", "hr", expressao, hr);
    return hr;
}

HRESULT CAlternativoBase::TomaMarca(const char* funcao, uint8_t tipo)
{
    if (const uint32_t s = m_arqMarca.Marca(m_sDiretorioDados, tipo, GetUsuario()))
        return Falha(funcao,
                     tipo == kTipoMarcaMascara ? "m_arqMarca.Marca(m_sDiretorioDados, 8, GetUsuario())"
                               : "m_arqMarca.Marca(m_sDiretorioDados, 4, GetUsuario())",
                     HResultDaMarca(s));
    return S_OK;
}

HRESULT CAlternativoBase::InicializaPlano()
{
    if (!*GetEmpresa() || !m_szArquivoPlano[0])
        return S_OK;
    TQCopiaCampo(m_szArquivoIndice, sizeof m_szArquivoIndice, NomeArquivoIndice(m_szArquivoPlano));
    if (!m_pClassificacao) {
        m_pClassificacao.reset(new (std::nothrow) CClassificacao);
        if (!m_pClassificacao)
            return S_OK;
    }
    VinculaLoja(*m_pClassificacao, m_szArquivoPlano, m_szArquivoIndice);
    return S_OK;
}

HRESULT CAlternativoBase::VinculaLoja(CClassificacao& loja, const char* arquivoPlano, const char* arquivoIndice)
{
    const auto empresa = plataforma::AnsiParaOle(GetEmpresa());
    const auto modulo = plataforma::AnsiParaOle(TQCodigoModulo(kModuloDF));
    const auto plano = plataforma::AnsiParaOle(arquivoPlano);
    const auto indice = plataforma::AnsiParaOle(arquivoIndice);
    const HRESULT hr = loja.Inicializa(empresa.c_str(), GetUsuario(), modulo.c_str(), plano.c_str(),
                                       uint16_t(kTamanhoConta), indice.c_str(), kTamanhoNome);
    if (hr == S_OK)
        loja.SetTamanhoCodigo(kTamanhoCodigo);
    return hr;
}

HRESULT CAlternativoBase::CarregaEstrutura(uint32_t posicao, const uint8_t* registro, REG_PLANO_ALT_PS* saida)
{
    REG_PLANO_ALT_PS& o = *saida;
    std::memset(&o, 0, sizeof o);
    o.lPosicaoConta = LONG(posicao);
    const auto& r = *reinterpret_cast<const RegContaPlano*>(registro);
    std::memcpy(o.cCodigoProprio, r.cCodigo, sizeof r.cCodigo);
    o.cCodigoProprio[11] = 0;
    std::memcpy(o.cNome, r.cNome, sizeof r.cNome);
    o.cNome[51] = 0;
    o.iIndTitulo = r.iIndTitulo;
    o.iCaracteristica = r.iCaracteristica;
    DesempacotaClassificacao(r.cClassificacao, o.cClassificacao);
    o.cClassificacao[28] = 0;
    m_bContaExcluida = (r.bStatus & kStatusExcluido) != 0;
    if (m_bContaExcluida)
        o.cExcluida = 1;
    o.cTipo = (r.bStatus & kStatusTitulo) ? 'T' : 'A';
    TQDigitoConta(posicao, o.cCodigoUsado, sizeof o.cCodigoUsado);
    if (!o.cCodigoProprio[0])
        TQCopiaCampo(o.cCodigoProprio, sizeof o.cCodigoProprio, o.cCodigoUsado);
    return S_OK;
}

HRESULT CBasePlanoAlternativo::OnInicializa()
{
    const HRESULT hr = CTQBaseParaRotinas::OnInicializa();
    if (TQFalhou(hr))
        return Falha({"OnInicializa", kLinhaInicializacaoBase}, "__super::OnInicializa()", hr);
    m_sDiretorioDados = CTQPath::GetDiretorioDadosModulo(kModuloDF, GetEmpresa());
    if (m_sDiretorioDados.empty())
        return Falha("OnInicializa", "MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, PROBLEMAS_NO_REGISTRY)",
                     kProblemasNoRegistry);
    return hr;
}

void TQDigitoConta(uint32_t numero, char* campo, size_t tamanho)
{
    TQCopiaCampo(campo, tamanho, TQDigitoConta(numero));
}
