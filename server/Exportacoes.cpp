// The string and memory allocators a client of either module frees our blocks with.
#include "server/Exportacoes.h"

#include <string>

#include "platform/Bstr.h"
#include "platform/Texto.h"

ZAZ_EXPORTA BSTR SysAllocString(const OLECHAR* texto)
{
    if (texto == nullptr)
        return nullptr;
    return plataforma::AlocaBstr(texto, uint32_t(std::char_traits<OLECHAR>::length(texto)));
}

ZAZ_EXPORTA BSTR SysAllocStringLen(const OLECHAR* texto, uint32_t caracteres)
{
    return plataforma::AlocaBstr(texto, caracteres);
}

ZAZ_EXPORTA void SysFreeString(BSTR texto) { plataforma::LiberaBstr(texto); }

ZAZ_EXPORTA uint32_t SysStringLen(BSTR texto) { return plataforma::TamanhoBstr(texto); }

ZAZ_EXPORTA void* CoTaskMemAlloc(size_t bytes) { return plataforma::AlocaTarefa(bytes); }

ZAZ_EXPORTA void CoTaskMemFree(void* bloco) { plataforma::LiberaTarefa(bloco); }
