// The trivial local server of the benchmark: the same interface (so the same proxy/stub), every
// method empty. Run by COM with "-Embedding"; ends when its last object goes.
#pragma once

#include <windows.h>

// {6B3C2B4E-6F31-4D0E-9E57-2D7A1C0B9A11}
constexpr CLSID kClsidVazio = {0x6B3C2B4E, 0x6F31, 0x4D0E, {0x9E, 0x57, 0x2D, 0x7A, 0x1C, 0x0B, 0x9A, 0x11}};

int ServeVazio();
