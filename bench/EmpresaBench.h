// Scratch companies of the benchmarks, in one registry file of the process: module 1 is
// installed at the build tree's "suite" directory, whose "x64" holds the stand-in libraries that
// the business object loads, and each company has a data directory of its own. Everything goes
// when the process ends.
#pragma once

#include <string>

namespace bench {

// The company's data directory with a trailing separator, created and registered (value "DF")
// at the first call. Every call points ZAZAZU_REGISTRY at this registry again: other benchmarks
// point it at their own.
std::string DiretorioEmpresa(const std::string& empresa);

// Removes every file of a data directory; the directory stays.
void EsvaziaDiretorio(const std::string& dir);

} // namespace bench
