// Version texts that trace lines carry, as "%d.%d.%d.%d".
#pragma once

#include <string>

#include "platform/Tipos.h"

namespace plataforma {

// The file version of the running executable (Windows: its version resource; POSIX: the
// project's version). Empty when it has none.
std::string VersaoExecutavel();
// The operating system's version (Windows: the file version of kernel32.dll; POSIX: the
// kernel release).
std::string VersaoSistema();

// The system's text for a system error number (one line, may be empty).
std::string TextoErroSistema(DWORD erroSistema);

} // namespace plataforma
