// The suite installed for a test: module 1's installation directory is the build tree's "suite"
// directory, whose "x64" holds the suite's libraries; a scratch directory of the test's own.
#pragma once

#include <string>

#include "apoio/RegistroIsolado.h"

namespace teste {

// The build tree's "suite" directory, found beside the tests' own directory.
std::string DiretorioSuite();

extern const std::string kChaveModuloDF;   // suite key \ subkey of module 1
extern const std::string kChaveTQSDataBase; // suite key \ "TQSDataBase"

class SuiteInstalada : public RegistroIsolado {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string m_dir; // with a trailing separator
};

} // namespace teste
