// sd-bus names parameters "interface", which the COM headers define as a keyword.
#pragma once

#pragma push_macro("interface")
#undef interface
#include <systemd/sd-bus.h>
#pragma pop_macro("interface")
