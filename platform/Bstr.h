// What the binary interface allocates and names: BSTR, the task allocator and GUIDs. The
// backends own the allocations; the GUID's text form is common.
#pragma once

#include <string>
#include <string_view>

#include "platform/Tipos.h"

namespace plataforma {

BSTR AlocaBstr(const OLECHAR* texto, uint32_t caracteres);
void LiberaBstr(BSTR texto);
uint32_t TamanhoBstr(BSTR texto);

void* AlocaTarefa(size_t bytes);
void LiberaTarefa(void* bloco);

HRESULT CriaGuid(GUID& guid);
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
std::string GuidParaTexto(const GUID& guid);
bool TextoParaGuid(std::string_view texto, GUID& guid);

} // namespace plataforma
