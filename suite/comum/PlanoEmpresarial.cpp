#include "suite/comum/PlanoEmpresarial.h"

#include <cstring>

#include "df/tqclasses/ClassificacaoCodigos.h"
#include "df/tqlibex/StatusArquivo.h"

namespace {

constexpr size_t kStatus = 14;
constexpr size_t kCodigo = 16;
constexpr size_t kTamanhoCodigo = 10;
constexpr size_t kNome = 26;
constexpr size_t kTamanhoNome = 50;

static_assert(sizeof(TQ_CONTA_EMPRESARIAL::szClassificacao) == kTamanhoClassificacao + 1);
static_assert(sizeof(TQ_CONTA_EMPRESARIAL::szCodigo) == kTamanhoCodigo + 1);
static_assert(sizeof(TQ_CONTA_EMPRESARIAL::szNome) == kTamanhoNome + 1);

void CopiaCampo(char* destino, const uint8_t* origem, size_t tamanho)
{
    const size_t n = strnlen(reinterpret_cast<const char*>(origem), tamanho);
    std::memcpy(destino, origem, n);
    destino[n] = '\0';
}

} // namespace

CPlanoEmpresarial::CPlanoEmpresarial(std::string caminho) : m_sCaminho(std::move(caminho))
{
    // Past the end is an ordinary answer here, not a fault worth a trace line.
    m_arq.SetTraceLeituraAlemDoFim(false);
}

// The file is open only for the operation: the main chart's own server may replace it
// between reads, and a missing file is never created here.
template <typename F>
StatusArq CPlanoEmpresarial::Executa(F operacao)
{
    if (m_sCaminho.empty())
        return statusarq::NaoEncontrado;
    StatusArq status;
    // Nothing may leave the library as an exception.
    try {
        status = m_arq.Abre(m_sCaminho, 'L', kTamanhoRegistroPlanoEmpresarial, kAbreExistenteAgora);
        if (!status) {
            // Another process may have written since the last operation.
            m_arq.InvalidaCache(false);
            status = operacao();
        }
    } catch (...) {
        status = statusarq::ArgumentoInvalido;
    }
    m_arq.Fecha();
    return status;
}

uint32_t CPlanoEmpresarial::Le(uint32_t posicao, TQ_CONTA_EMPRESARIAL* conta)
{
    if (!conta || posicao == 0)
        return statusarq::ArgumentoInvalido.Codigo();
    uint8_t r[kTamanhoRegistroPlanoEmpresarial];
    const StatusArq status = Executa([&] { return m_arq.Le(posicao, r); });
    if (status)
        return status.Codigo();
    conta->ulPosicao = posicao;
    conta->cStatus = r[kStatus];
    DesempacotaClassificacao(r, conta->szClassificacao);
    CopiaCampo(conta->szCodigo, r + kCodigo, kTamanhoCodigo);
    CopiaCampo(conta->szNome, r + kNome, kTamanhoNome);
    return 0;
}

uint32_t CPlanoEmpresarial::Quantidade(uint32_t* quantidade)
{
    if (!quantidade)
        return statusarq::ArgumentoInvalido.Codigo();
    int32_t n = 0;
    const StatusArq status = Executa([&] {
        n = m_arq.QuantidadeRegistros(true);
        return statusarq::Ok;
    });
    *quantidade = status ? 0 : uint32_t(n);
    return status.Codigo();
}
