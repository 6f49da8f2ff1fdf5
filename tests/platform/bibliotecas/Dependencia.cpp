// Needed by the other test library: found only if its directory is searched.
#include "Exporta.h"

ZAZ_EXPORTA int ZazDobro(int x)
{
    return 2 * x;
}
