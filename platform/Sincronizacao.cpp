#include "platform/Sincronizacao.h"

#include <chrono>

namespace plataforma {

void Evento::Sinaliza()
{
    {
        std::lock_guard<std::mutex> trava(m_trava);
        m_sinalizado = true;
    }
    // An auto-reset event releases one waiter; waking the others would only make them sleep again.
    if (m_manual)
        m_cond.notify_all();
    else
        m_cond.notify_one();
}

void Evento::Reinicia()
{
    std::lock_guard<std::mutex> trava(m_trava);
    m_sinalizado = false;
}

bool Evento::Espera(DWORD milissegundos)
{
    std::unique_lock<std::mutex> trava(m_trava);
    const auto sinalizado = [this] { return m_sinalizado; };
    if (milissegundos == kInfinito)
        m_cond.wait(trava, sinalizado);
    else if (!m_cond.wait_for(trava, std::chrono::milliseconds(milissegundos), sinalizado))
        return false;
    if (!m_manual)
        m_sinalizado = false;
    return true;
}

} // namespace plataforma
