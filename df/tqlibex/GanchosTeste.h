// Hooks for tests only: the product never calls these.
#pragma once

#include "platform/Tipos.h"

// Shortens the wait of a taker for a busy mark.
void TQDefineEsperaMarcaParaTestes(DWORD milissegundos);
