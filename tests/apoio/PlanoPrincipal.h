// The suite's main chart of accounts for a test: its record file in a company's data directory,
// and its COM server registered while an object of PlanoPrincipalRegistrado lives.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Biblioteca.h"
#include "platform/Com.h"

namespace teste {

struct ContaPlanoPrincipal {
    std::string classificacao;
    uint8_t status; // bit 0: summary account
    std::string codigo;
    std::string nome;
};

// "DFPLAEMP.DAT" in the directory (with a trailing separator): the accounts at positions 1 up.
void GravaPlanoPrincipal(const std::string& dir, const std::vector<ContaPlanoPrincipal>& contas);

// The main-chart server registered per user by its own DllRegisterServer, unregistered at the
// end, and COM initialized on the calling thread meanwhile (what creating it needs on Windows).
// Use inside a test whose registry is isolated (RegistroIsolado, SuiteInstalada).
class PlanoPrincipalRegistrado {
public:
    PlanoPrincipalRegistrado();
    ~PlanoPrincipalRegistrado();
    PlanoPrincipalRegistrado(const PlanoPrincipalRegistrado&) = delete;
    PlanoPrincipalRegistrado& operator=(const PlanoPrincipalRegistrado&) = delete;

    // The answers of the library's own registration exports (S_OK once done).
    HRESULT Registro() const { return m_hrRegistro; }
    HRESULT Desregistra();
    // The server's test hook: creation (slot 0), slot 7 or 8 answers hr from now on; 0 clears.
    void DefineFalha(int slot, HRESULT hr);

    // The library as the suite installs it.
    static std::string Caminho();

private:
    HRESULT Chama(const char* funcao);

    plataforma::ApartamentoCom m_com;
    plataforma::Biblioteca m_biblioteca;
    HRESULT m_hrRegistro;
};

} // namespace teste
