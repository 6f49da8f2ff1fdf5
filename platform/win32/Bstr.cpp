#include "platform/Bstr.h"

// After windows.h, which it needs.
#include <oleauto.h>

namespace plataforma {

BSTR AlocaBstr(const OLECHAR* texto, uint32_t caracteres)
{
    return SysAllocStringLen(texto, caracteres);
}

void LiberaBstr(BSTR texto)
{
    SysFreeString(texto);
}

uint32_t TamanhoBstr(BSTR texto)
{
    return SysStringLen(texto);
}

void* AlocaTarefa(size_t bytes)
{
    return CoTaskMemAlloc(bytes);
}

void LiberaTarefa(void* bloco)
{
    CoTaskMemFree(bloco);
}

HRESULT CriaGuid(GUID& guid)
{
    return CoCreateGuid(&guid);
}

} // namespace plataforma
