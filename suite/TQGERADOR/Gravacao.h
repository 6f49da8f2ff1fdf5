// The report file written whole or not at all.
#pragma once

#include <string>

#include "platform/Tipos.h"

namespace gerador {

// Writes the text under a temporary name in the file's directory, then puts it in the file's
// place in one step, so the name never holds half a report. 0 or the system error; after a
// failure nothing of this write is left.
DWORD GravaSubstituindo(const std::string& caminho, const std::string& conteudo);

} // namespace gerador
