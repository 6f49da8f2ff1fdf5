// The one identifier that every interface of the POSIX build answers to.
#include "platform/posix/com/unknwn.h"

EXTERN_C const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
