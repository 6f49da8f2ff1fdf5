// Registration of the local server, shared by both local servers: scripts 100 (the application
// identifier) and 101 (the class) in the order of the switches' table, the per-user mapping, and
// the type library through a hook of the transport (none on Linux).
#pragma once

#include <functional>
#include <string>

#include "platform/Tipos.h"
#include "server/LinhaComando.h"

constexpr int kScriptAppId = 100;
constexpr int kScriptClasse = 101;
constexpr const char* kAppIdZazAzu = "{27C3B970-9A91-44F4-9A80-A51BFE4C9926}";

// The text of a script by its resource number (empty when unknown).
using TQTextoScript = std::function<std::string(int id)>;
// Registers (true) or unregisters the type library, per user or per machine.
using TQBibliotecaTipos = std::function<HRESULT(bool registra, bool porUsuario)>;

// Scripts 100 and 101 as built into the program, from server/registro/*.rgs (the Windows
// resources of type "REGISTRY" hold the same files).
std::string TQScriptEmbutido(int id);

// What a switch asks, with caminhoModulo as the server's LocalServer32 path (%MODULE% is it in
// double quotes). Register: 100, then 101 and the type library; unregister: 101 and the type
// library, then 100 only if those succeeded. Nenhuma does nothing and answers S_OK.
HRESULT TQExecutaRegistro(EChaveLinha chave, const std::string& caminhoModulo,
                          const TQTextoScript& script = TQScriptEmbutido, const TQBibliotecaTipos& bibliotecaTipos = {});
