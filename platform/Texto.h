// Code page 1252 by our own tables, BSTR, the task allocator and GUIDs.
#pragma once

#include <string>
#include <string_view>

#include "platform/Tipos.h"

namespace plataforma {

std::u16string AnsiParaUtf16(std::string_view ansi);
// Characters outside code page 1252 become '?'.
std::string Utf16ParaAnsi(std::u16string_view texto);
std::string AnsiParaUtf8(std::string_view ansi);
// A zero-terminated OLE text (UTF-16 on both builds) in ANSI; null gives an empty text.
std::string OleParaAnsi(const OLECHAR* texto);
std::basic_string<OLECHAR> AnsiParaOle(std::string_view ansi);
std::string Utf8ParaAnsi(std::string_view utf8);

// Case of code page 1252 letters, accented ones included.
char MinusculaAnsi(char c);
char MaiusculaAnsi(char c);
bool IguaisSemCaixa(std::string_view a, std::string_view b);

BSTR AlocaBstr(const OLECHAR* texto, uint32_t caracteres);
BSTR AlocaBstrDeAnsi(std::string_view ansi);
void LiberaBstr(BSTR texto);
uint32_t TamanhoBstr(BSTR texto);
std::string BstrParaAnsi(BSTR texto);

void* AlocaTarefa(size_t bytes);
void LiberaTarefa(void* bloco);

HRESULT CriaGuid(GUID& guid);
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
std::string GuidParaTexto(const GUID& guid);
bool TextoParaGuid(std::string_view texto, GUID& guid);

} // namespace plataforma
