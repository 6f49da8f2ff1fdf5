// The generated identifier files include this; everything they need is in unknwn.h.
#pragma once

#include "unknwn.h"
