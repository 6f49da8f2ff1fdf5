// What "log.ini" in the module directory asks of the profiler, section "Log". The values are
// process-wide, re-read when never read or older than their validity; reading them costs a
// tick count and an atomic load, without a lock.
#pragma once

#include <string>
#include <string_view>

#include "platform/Tipos.h"

struct ValoresProfiler {
    bool entrada = false;     // Entrada: entry lines
    bool saida = false;       // Saida: exit lines
    bool coCreate = false;    // CoCreateInstance: object-creation lines
    bool performance = false; // Performance: start and end ticks
    bool memory = false;      // Memory: start and end private bytes
    bool processoLoga = true; // Processos names this process

    // Entry and exit lines are wanted at all.
    bool LinhasAtivas() const
    {
        return !((performance || memory) && !entrada && !saida) && (entrada || saida || coCreate);
    }
};

class TQProfilerConfig {
public:
    // The values, re-read first when never read or expired.
    static ValoresProfiler Atual();
    // The values as last read.
    static ValoresProfiler Guardados();
    // Processos as last read, lower case.
    static std::string Processos();
    // How long read values stay valid, in ms.
    static DWORD ValidadeMs();
    // The next decision re-reads the file.
    static void Invalida();

    // Whether a process of that lower-case base name logs under that Processos text.
    static bool ProcessoLoga(std::string_view processos, std::string_view nomeProcesso);
    // The values of a "log.ini" text for a process; processos and timeoutSegundos receive those keys.
    static ValoresProfiler Interpreta(std::string_view conteudo, std::string_view nomeProcesso, std::string& processos,
                                      unsigned& timeoutSegundos);
};
