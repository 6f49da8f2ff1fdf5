#include "platform/ParametroInvalido.h"

namespace plataforma {

// The C library here has no such reports: only our own checked routines make them.
void LigaRelatosDoRuntime() {}

} // namespace plataforma
