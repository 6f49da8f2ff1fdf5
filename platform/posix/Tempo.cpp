#include "platform/Tempo.h"

#include <errno.h>
#include <sched.h>
#include <time.h>

#include "platform/Contadores.h"

namespace plataforma {

namespace {

// Seconds between 1 January 1601 and 1 January 1970, in 100-ns units.
constexpr uint64_t kDe1601Ate1970 = 116444736000000000ULL;

} // namespace

DWORD Ticks()
{
    // Counts from boot for every process of the machine; the coarse clock has the resolution
    // of the Windows tick count at a fraction of the cost.
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    const uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000 + static_cast<uint64_t>(ts.tv_nsec) / 1000000;
    return static_cast<DWORD>(ms);
}

uint64_t Relogio100ns()
{
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 10000000 + static_cast<uint64_t>(ts.tv_nsec) / 100 + kDe1601Ate1970;
}

DataHoraLocal AgoraLocal()
{
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    localtime_r(&ts.tv_sec, &local);
    DataHoraLocal agora;
    agora.ano = static_cast<WORD>(local.tm_year + 1900);
    agora.mes = static_cast<WORD>(local.tm_mon + 1);
    agora.diaSemana = static_cast<WORD>(local.tm_wday);
    agora.dia = static_cast<WORD>(local.tm_mday);
    agora.hora = static_cast<WORD>(local.tm_hour);
    agora.minuto = static_cast<WORD>(local.tm_min);
    // A leap second shows as 59, as Windows never shows 60.
    agora.segundo = static_cast<WORD>(local.tm_sec > 59 ? 59 : local.tm_sec);
    agora.milissegundo = static_cast<WORD>(ts.tv_nsec / 1000000);
    return agora;
}

void Dorme(DWORD milissegundos)
{
    timespec falta{static_cast<time_t>(milissegundos / 1000), static_cast<long>(milissegundos % 1000) * 1000000};
    // A signal cuts the sleep short; the rest is slept.
    while (nanosleep(&falta, &falta) != 0 && errno == EINTR) {
    }
}

void Cede()
{
    ContaCessao();
    sched_yield();
}

} // namespace plataforma
