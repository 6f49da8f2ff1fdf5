// Clocks, ticks and waits.
#pragma once

#include "platform/Tipos.h"

namespace plataforma {

// Milliseconds since an arbitrary origin, wrapping at 32 bits, shared by all processes of the machine.
DWORD Ticks();
// 100-ns intervals since 1 January 1601 UTC.
uint64_t Relogio100ns();

struct DataHoraLocal {
    WORD ano;
    WORD mes;
    WORD diaSemana; // 0 = Sunday
    WORD dia;
    WORD hora;
    WORD minuto;
    WORD segundo;
    WORD milissegundo;
};
DataHoraLocal AgoraLocal();

void Dorme(DWORD milissegundos);
// Gives the rest of the time slice to another thread.
void Cede();
// How many times the process called Cede (for measurements).
uint64_t Cessoes();

} // namespace plataforma
