// What both client modules (in process, and the local server's proxy) export with C linkage.
#pragma once

#include <cstddef>
#include <cstdint>

#include "server/Contrato.h"

#define ZAZ_EXPORTA extern "C" __attribute__((visibility("default")))

ZAZ_EXPORTA HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv);
ZAZ_EXPORTA HRESULT DllCanUnloadNow();
ZAZ_EXPORTA BSTR SysAllocString(const OLECHAR* texto);
ZAZ_EXPORTA BSTR SysAllocStringLen(const OLECHAR* texto, uint32_t caracteres);
ZAZ_EXPORTA void SysFreeString(BSTR texto);
ZAZ_EXPORTA uint32_t SysStringLen(BSTR texto);
ZAZ_EXPORTA void* CoTaskMemAlloc(size_t bytes);
ZAZ_EXPORTA void CoTaskMemFree(void* bloco);
