// What the registration of ZAZAZU.exe takes from its own resources: scripts 100 and 101 of type
// "REGISTRY" and the type library of resource TYPELIB 1.
#pragma once

#include <string>

#include "platform/Tipos.h"

// The text of the executable's "REGISTRY" resource (empty when missing).
std::string TQScriptDoRecurso(int id);

// Registers or unregisters the executable's type library, per user or per machine.
HRESULT TQRegistraBibliotecaTipos(bool registra, bool porUsuario);
