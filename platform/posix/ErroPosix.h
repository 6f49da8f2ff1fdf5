// Internal to the POSIX backend: errno as Windows system errors, and names as the file system sees them.
#pragma once

#include <string>

#include "platform/Tipos.h"

namespace plataforma::posix {

// The one place where errno becomes a Windows system error number.
DWORD ErroDeErrno(int e);

// An ANSI path as the file system's UTF-8 name, resolved without regard to case:
// each component that does not exist as written is looked up in its directory.
// A missing last component keeps the case given (so a create uses it).
std::string CaminhoNativo(const char* caminhoAnsi);
// The name that CaminhoNativo found before for this path, without looking at the disk.
bool NomeLembrado(const std::string& caminhoUtf8, std::string& nativo);

} // namespace plataforma::posix
