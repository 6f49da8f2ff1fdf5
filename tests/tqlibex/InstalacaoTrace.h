// Module 1 installed in the test's own directory, with the suite's message libraries in its
// "x64": the error logs of the programs land there, one per test.
#pragma once

#include <string>
#include <vector>

#include "apoio/SuiteInstalada.h"

namespace teste {

class InstalacaoTrace : public SuiteInstalada {
protected:
    void SetUp() override;

    // The error log of the programs for this month, and its lines of type ERRO.
    std::string ArquivoErrosProgramas() const;
    std::vector<std::string> LinhasErro(const std::string& arquivo) const;
};

// The pieces of texto between separators (a final one ends the last piece).
std::vector<std::string> Divide(const std::string& texto, char separador);

// The name of a suite library as the platform's loader finds it.
std::string NomeBibliotecaSuite(const std::string& nome);

} // namespace teste
