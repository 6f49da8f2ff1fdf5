// Threads of the normal scheduling policy all have priority 0 and raising a thread's nice
// value needs privileges, so there is nothing to ask for.
#include "platform/Sincronizacao.h"

namespace plataforma {

bool PrioridadeMaxima(Thread&)
{
    return false;
}

} // namespace plataforma
