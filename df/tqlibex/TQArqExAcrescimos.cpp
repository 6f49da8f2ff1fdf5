// Batched appends of the record file.
#include "df/tqlibex/TQArqEx.h"

#include "platform/Tempo.h"

namespace {

constexpr size_t kTamanhoLote = 65536; // bytes gathered before one write

} // namespace

uint32_t CTQArqEx::AcumulaAcrescimos(bool acumula)
{
    const uint32_t r = acumula ? 0 : DescarregaAcrescimos();
    m_bAcumula = acumula;
    return r;
}

uint32_t CTQArqEx::Acumula(const void* registro, int32_t& posicao)
{
    if (m_acrescimos.empty()) {
        uint64_t fim = 0;
        if (uint32_t r = Comprimento(fim))
            return r;
        // After a last record cut short, as a single append would land.
        m_ullInicioAcrescimos = fim - fim % m_ulTamanhoRegistro;
        m_acrescimos.reserve(kTamanhoLote + m_ulTamanhoRegistro);
    }
    const auto* bytes = static_cast<const char*>(registro);
    posicao = int32_t((m_ullInicioAcrescimos + m_acrescimos.size()) / m_ulTamanhoRegistro);
    m_acrescimos.insert(m_acrescimos.end(), bytes, bytes + m_ulTamanhoRegistro);
    return m_acrescimos.size() >= kTamanhoLote ? DescarregaAcrescimos() : 0;
}

uint32_t CTQArqEx::EscreveAcrescimos()
{
    plataforma::Cede();
    const uint32_t r = GravaEm(m_ullInicioAcrescimos, m_acrescimos.data(), uint32_t(m_acrescimos.size()));
    // Written or refused, the batch is settled: its failure is the answer of this call.
    m_acrescimos.clear();
    return r;
}
