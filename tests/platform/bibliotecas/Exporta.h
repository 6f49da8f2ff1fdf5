// Exports of the two small libraries that the loading tests load.
#pragma once

#ifdef _WIN32
#define ZAZ_EXPORTA extern "C" __declspec(dllexport)
#else
#define ZAZ_EXPORTA extern "C" __attribute__((visibility("default")))
#endif

extern "C" int ZazDobro(int x);
