// Waiting on a descriptor that another library owns (POSIX only: the local server's bus), with a
// wake-up that other threads ring when they have work for the waiting thread.
#pragma once

#include <cstdint>

namespace plataforma {

// A descriptor this object opened and closes.
class DescritorProprio {
public:
    DescritorProprio(const DescritorProprio&) = delete;
    DescritorProprio& operator=(const DescritorProprio&) = delete;
    bool Valido() const { return m_fd >= 0; }
    int Descritor() const { return m_fd; }

protected:
    explicit DescritorProprio(int fd) : m_fd(fd) {}
    ~DescritorProprio();
    int m_fd;
};

class Despertador : public DescritorProprio {
public:
    Despertador();
    void Toca();
};

// A one-shot timer that a thread waits on: arming it wakes nobody, so a thread can ask for help
// only if its work runs long, at the price of a system call instead of a wake-up.
class Alarme : public DescritorProprio {
public:
    Alarme();
    // Rings after the microseconds given; 0 disarms.
    void Arma(uint32_t microssegundos);
    // Waits for the ring (true) or the wake-up (false); either is consumed.
    bool Espera(Despertador& despertador);
};

// Waits for the events (poll bits) of fd, for the wake-up, or until the monotonic clock reaches
// the limit in microseconds (UINT64_MAX: no limit). 0 or a negative errno; a ring is consumed.
int EsperaDescritor(int fd, int eventos, uint64_t limiteMonotonico, Despertador& despertador);

} // namespace plataforma
