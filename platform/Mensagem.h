// A message for a person. A server runs unattended, so the report goes to the error output;
// a real dialog appears only where an interactive desktop session asks for one
// (Windows, with ZAZAZU_DIALOGOS=1 in the environment).
#pragma once

#include <string>

#include "platform/Tipos.h"

namespace plataforma {

enum class EstiloMensagem { Informacao, Exclamacao, Erro };

void MostraMensagem(const std::string& titulo, const std::string& texto, EstiloMensagem estilo);

} // namespace plataforma
