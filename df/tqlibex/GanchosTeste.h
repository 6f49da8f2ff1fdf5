// Hooks for tests only: the product never calls these.
#pragma once

#include "platform/Tipos.h"

// Shortens the wait of a taker for a busy mark.
void TQDefineEsperaMarcaParaTestes(DWORD milissegundos);

// The next profiler decision re-reads "log.ini" and the profiler file's name is computed again.
void TQInvalidaProfilerParaTestes();

// Sends the posted analytics counts now, on the calling thread.
void TQAnalyticsEnviaAgora();
// The next question to the analytics switch reads the registry again.
void TQAnalyticsReleChaveParaTestes();

// Ends the process, as a kill would, at the Nth critical point it passes from now on (0: never).
void TQDefinePassoFatalParaTestes(int passo);
constexpr int kSaidaPassoFatal = 86;
