// Events, locks and threads: the standard library's, with the event that it lacks.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/Tipos.h"

namespace plataforma {

using Trava = std::mutex;
using Thread = std::thread;

constexpr DWORD kInfinito = 0xFFFFFFFF;

class Evento {
public:
    explicit Evento(bool manual = false, bool sinalizado = false) : m_manual(manual), m_sinalizado(sinalizado) {}
    void Sinaliza();
    void Reinicia();
    // true when signalled within the wait; an auto-reset event is reset by the waiter it releases.
    bool Espera(DWORD milissegundos = kInfinito);

private:
    std::mutex m_trava;
    std::condition_variable m_cond;
    bool m_manual;
    bool m_sinalizado;
};

// Raises a running thread to the highest priority of its process. False where the platform
// offers no such call without privileges (POSIX: normal threads have no priorities to raise).
bool PrioridadeMaxima(Thread& thread);

} // namespace plataforma
