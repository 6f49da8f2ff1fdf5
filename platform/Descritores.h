// Waiting on a descriptor that another library owns (POSIX only: the local server's bus), with a
// wake-up that other threads ring when they have work for the waiting thread.
#pragma once

#include <cstdint>

namespace plataforma {

class Despertador {
public:
    Despertador();
    ~Despertador();
    Despertador(const Despertador&) = delete;
    Despertador& operator=(const Despertador&) = delete;

    bool Valido() const { return m_fd >= 0; }
    void Toca();
    int Descritor() const { return m_fd; }

private:
    int m_fd = -1;
};

// Waits for the events (poll bits) of fd, for the wake-up, or until the monotonic clock reaches
// the limit in microseconds (UINT64_MAX: no limit). 0 or a negative errno; a ring is consumed.
int EsperaDescritor(int fd, int eventos, uint64_t limiteMonotonico, Despertador& despertador);

} // namespace plataforma
