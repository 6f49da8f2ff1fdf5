#include "platform/Descritores.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

namespace plataforma {

DescritorProprio::~DescritorProprio()
{
    if (m_fd >= 0)
        close(m_fd);
}

Despertador::Despertador() : DescritorProprio(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

void Despertador::Toca()
{
    const uint64_t um = 1;
    // A full counter already wakes the waiter: nothing is lost when the write is refused.
    [[maybe_unused]] const ssize_t n = write(m_fd, &um, sizeof um);
}

Alarme::Alarme() : DescritorProprio(timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK)) {}

void Alarme::Arma(uint32_t microssegundos)
{
    itimerspec quando{};
    quando.it_value.tv_sec = microssegundos / 1000000u;
    quando.it_value.tv_nsec = long(microssegundos % 1000000u) * 1000;
    timerfd_settime(m_fd, 0, &quando, nullptr);
}

bool Alarme::Espera(Despertador& despertador)
{
    EsperaDescritor(m_fd, POLLIN, UINT64_MAX, despertador);
    // Non-blocking: a timer that has not rung (or was re-armed since) reads nothing.
    uint64_t toques = 0;
    return read(m_fd, &toques, sizeof toques) == ssize_t(sizeof toques);
}

int EsperaDescritor(int fd, int eventos, uint64_t limiteMonotonico, Despertador& despertador)
{
    pollfd fds[2] = {{fd, short(eventos), 0}, {despertador.Descritor(), POLLIN, 0}};
    int ms = -1;
    if (limiteMonotonico != UINT64_MAX) {
        timespec agora{};
        clock_gettime(CLOCK_MONOTONIC, &agora);
        const uint64_t us = uint64_t(agora.tv_sec) * 1000000u + uint64_t(agora.tv_nsec) / 1000u;
        ms = limiteMonotonico <= us ? 0 : int(std::min<uint64_t>((limiteMonotonico - us + 999) / 1000, 60000));
    }
    if (poll(fds, 2, ms) < 0)
        return errno == EINTR ? 0 : -errno;
    if (fds[1].revents & POLLIN) {
        uint64_t lido;
        [[maybe_unused]] const ssize_t n = read(despertador.Descritor(), &lido, sizeof lido);
    }
    return 0;
}

} // namespace plataforma
