// The library that the loading tests ask for; it needs the other one.
#include "Exporta.h"

ZAZ_EXPORTA int ZazQuadruplo(int x)
{
    return ZazDobro(ZazDobro(x));
}
