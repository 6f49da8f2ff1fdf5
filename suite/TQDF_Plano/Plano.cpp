// The company's main chart as its COM server answers it: slot 7 binds the session's company,
// slot 8 reads one account into the 312-byte record.
#include "suite/TQDF_Plano/Plano.h"

#include <cstring>
#include <string>

#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQModulos.h"
#include "df/tqlibex/TQPath.h"

namespace {

static_assert(kContaPlanoClassificacao + sizeof(TQ_CONTA_EMPRESARIAL::szClassificacao) <= kContaPlanoCodigo);
static_assert(kContaPlanoCodigo + sizeof(TQ_CONTA_EMPRESARIAL::szCodigo) <= kContaPlanoNome);
static_assert(kContaPlanoNome + sizeof(TQ_CONTA_EMPRESARIAL::szNome) <= kContaPlanoTipo);

void CopiaTexto(uint8_t* conta, size_t posicao, const char* texto)
{
    std::memcpy(conta + posicao, texto, std::strlen(texto));
}

} // namespace

HRESULT CTQDF_Plano::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return kPonteiroNulo;
    if (std::memcmp(&riid, &IID_IUnknown, sizeof(IID)) != 0 && std::memcmp(&riid, &IID_ITQDF_Plano, sizeof(IID)) != 0) {
        *ppv = nullptr;
        return kSemInterface;
    }
    AddRef();
    *ppv = static_cast<ITQDF_Plano*>(this);
    return S_OK;
}

ULONG CTQDF_Plano::Release()
{
    const long restantes = --m_referencias;
    if (restantes == 0)
        delete this;
    return ULONG(restantes);
}

HRESULT CTQDF_Plano::Inicializa(const uint8_t* sessao)
{
    if (!sessao)
        return kPonteiroNulo;
    if (const HRESULT hr = FalhaDeTeste(7))
        return hr;
    const char* campo = reinterpret_cast<const char*>(sessao + kSessaoPlanoEmpresa);
    const std::string empresa(campo, strnlen(campo, kSessaoPlanoEmpresaTamanho));
    std::string dir;
    try {
        dir = empresa.empty() ? std::string() : CTQPath::GetDiretorioDadosModulo(kModuloDF, empresa);
    } catch (...) {
        return kFalha;
    }
    if (dir.empty())
        return kEmpresaSemDiretorio;
    std::lock_guard<std::mutex> guarda(m_trava);
    m_leitor = std::make_unique<CPlanoEmpresarial>(dir + kArquivoPlanoEmpresarial);
    return S_OK;
}

// A position that holds no account answers the record file's status as an HRESULT: 0x80043F33
// (invalid argument) for 0 or a negative one, 0x80043E95 (end of file) past the last account.
HRESULT CTQDF_Plano::LeConta(LONG posicao, uint8_t* conta)
{
    if (!conta)
        return kPonteiroNulo;
    std::memset(conta, 0, kTamanhoContaPlano);
    std::lock_guard<std::mutex> guarda(m_trava);
    if (!m_leitor)
        return kInesperado;
    if (const HRESULT hr = FalhaDeTeste(8))
        return hr;
    if (posicao <= 0)
        return statusarq::ArgumentoInvalido.ComoHResult();
    TQ_CONTA_EMPRESARIAL lida{};
    if (const uint32_t status = m_leitor->Le(uint32_t(posicao), &lida))
        return StatusArq(status).ComoHResult();
    CopiaTexto(conta, kContaPlanoClassificacao, lida.szClassificacao);
    CopiaTexto(conta, kContaPlanoCodigo, lida.szCodigo);
    CopiaTexto(conta, kContaPlanoNome, lida.szNome);
    conta[kContaPlanoTipo] = (lida.cStatus & 1) ? 'T' : 'A';
    return S_OK;
}
