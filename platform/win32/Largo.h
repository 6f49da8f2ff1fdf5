// Internal to the Win32 backend: ANSI (1252) texts to and from the wide-character API.
#pragma once

#include <string>
#include <string_view>

#include "platform/Texto.h"

namespace plataforma::win32 {

// A null text becomes an empty one.
inline std::wstring Largo(const char* ansi)
{
    const std::u16string u = AnsiParaUtf16(ansi ? std::string_view(ansi) : std::string_view());
    return std::wstring(u.begin(), u.end());
}

inline std::string Estreito(std::wstring_view largo)
{
    return Utf16ParaAnsi(std::u16string_view(reinterpret_cast<const char16_t*>(largo.data()), largo.size()));
}

// For the API calls that take a null pointer for "none" (a key's default value).
inline const wchar_t* NuloSeVazio(const std::wstring& s)
{
    return s.empty() ? nullptr : s.c_str();
}

} // namespace plataforma::win32
