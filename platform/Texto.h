// Code page 1252 by our own tables.
#pragma once

#include <string>
#include <string_view>

#include "platform/Bstr.h"
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

// BSTRs made from and read as code page 1252.
BSTR AlocaBstrDeAnsi(std::string_view ansi);
std::string BstrParaAnsi(BSTR texto);

} // namespace plataforma
