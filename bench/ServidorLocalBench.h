// The local server for the benchmarks: a private bus started once per process, the server
// registered into it, and objects created through libZAZAZUps.so as a client creates them.
#pragma once

#include <cstdint>
#include <string>

#include "ObjetoBench.h"
#include "server/dbus/SdBus.h"

namespace bench {

// A new object in the local server after Inicializa_Padrao for the company (registered with
// DiretorioEmpresa); null when a step fails.
ObjetoPlano ObjetoNoServidor(const std::string& empresa);

// The bus connection of the process, and the unique name of the server that serves it (empty
// when there is none yet).
sd_bus* BarramentoBench();
std::string NomeServidor();

// The server's resident memory in bytes (0 when unknown).
uint64_t MemoriaServidor();

} // namespace bench
