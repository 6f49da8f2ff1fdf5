// Basic types of the binary interface, the same on both builds.
#pragma once

#include <cstddef>
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#include <objbase.h>
#else
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int32_t BOOL;
typedef int32_t HRESULT;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef char16_t WCHAR;
typedef WCHAR OLECHAR;
typedef OLECHAR* BSTR;
typedef const OLECHAR* LPCOLESTR;

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
typedef GUID IID;
typedef GUID CLSID;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif
#ifndef S_OK
#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#endif
#endif

static_assert(sizeof(DWORD) == 4 && sizeof(HRESULT) == 4 && sizeof(ULONG) == 4);
static_assert(sizeof(OLECHAR) == 2 && sizeof(GUID) == 16);

// HRESULT helpers that the whole server uses, independent of the platform's macros.
constexpr bool TQFalhou(HRESULT hr) { return hr < 0; }
constexpr HRESULT TQHResult(uint32_t valor) { return static_cast<HRESULT>(valor); }

// The platform's general codes, named once for every layer.
constexpr HRESULT kFalha = TQHResult(0x80004005);            // E_FAIL
constexpr HRESULT kNaoImplementado = TQHResult(0x80004001);   // E_NOTIMPL
constexpr HRESULT kSemInterface = TQHResult(0x80004002);      // E_NOINTERFACE
constexpr HRESULT kPonteiroNulo = TQHResult(0x80004003);      // E_POINTER
constexpr HRESULT kSemMemoria = TQHResult(0x8007000E);        // E_OUTOFMEMORY
constexpr HRESULT kParametroIncorreto = TQHResult(0x80070057); // E_INVALIDARG
