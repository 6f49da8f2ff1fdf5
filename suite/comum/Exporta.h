// Marks the C exports of the suite's libraries; everything else stays inside each library.
#pragma once

#ifdef _WIN32
#define TQ_EXPORTA extern "C" __declspec(dllexport)
#else
#define TQ_EXPORTA extern "C" __attribute__((visibility("default")))
#endif
