// The logs of the suite's libraries: text files to which several processes append lines.
#pragma once

#include <string>

#include "platform/Tipos.h"

namespace suite {

// Appends the line and a line feed, creating the file when absent. Another writer holds the
// file only for its own append, so a sharing violation is waited out. 0 or a system error.
DWORD AcrescentaLinha(const std::string& caminho, const std::string& linha);

// "dd/mm/yyyy hh:mm:ss.mmm" of the local time now.
std::string MomentoLocal();

// Tabs and line breaks of a text would split its column or its line: they become blanks.
std::string SemQuebras(const char* texto);

} // namespace suite
