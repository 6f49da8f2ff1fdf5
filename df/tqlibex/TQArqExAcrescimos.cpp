// Batched appends of the record file.
#include "df/tqlibex/TQArqEx.h"

#include "platform/Tempo.h"

namespace {

constexpr size_t kTamanhoLote = 65536; // bytes gathered before one write

} // namespace

StatusArq CTQArqEx::AcumulaAcrescimos(bool acumula)
{
    const StatusArq r = acumula ? statusarq::Ok : DescarregaAcrescimos();
    m_bAcumula = acumula;
    return r;
}

StatusArq CTQArqEx::Acumula(const void* registro, int32_t& posicao)
{
    if (m_acrescimos.empty()) {
        uint64_t fim = 0;
        if (StatusArq r = Comprimento(fim))
            return r;
        // After a last record cut short, as a single append would land.
        m_ullInicioAcrescimos = fim - fim % m_ulTamanhoRegistro;
        m_acrescimos.reserve(kTamanhoLote + m_ulTamanhoRegistro);
    }
    const auto* bytes = static_cast<const char*>(registro);
    posicao = int32_t((m_ullInicioAcrescimos + m_acrescimos.size()) / m_ulTamanhoRegistro);
    m_acrescimos.insert(m_acrescimos.end(), bytes, bytes + m_ulTamanhoRegistro);
    return m_acrescimos.size() >= kTamanhoLote ? DescarregaAcrescimos() : statusarq::Ok;
}

StatusArq CTQArqEx::EscreveAcrescimos()
{
    plataforma::Cede();
    const StatusArq r = GravaEm(m_ullInicioAcrescimos, m_acrescimos.data(), uint32_t(m_acrescimos.size()));
    // Written or refused, the batch is settled: its failure is the answer of this call.
    m_acrescimos.clear();
    return r;
}
