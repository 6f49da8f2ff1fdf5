// This test executable started again as a child process, to run one test there.
#pragma once

#include <string>
#include <vector>

#include "platform/Processo.h"

namespace teste {

// True in a child started by RodaFilho; the child-only tests skip themselves otherwise.
bool SouFilho();

// Starts a child that runs only the named test, with extra arguments after the test's flags.
DWORD RodaFilho(const char* teste, const std::vector<std::string>& extras, plataforma::ProcessoFilho& filho);

// The child's extra arguments, as RodaFilho passed them.
std::vector<std::string> ArgumentosDoFilho();

} // namespace teste
