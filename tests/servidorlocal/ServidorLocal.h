// ZAZAZU.exe as a client under Wine meets it: registered by install.cmd in this executable's
// Wine prefix, started by COM, counted and awaited by its process.
#pragma once

#include <string>
#include <vector>

#include "apoio/SuiteInstalada.h"
#include "platform/Com.h"
#include "server/Contrato.h"

namespace local {

// The build's server, and a folder holding install.cmd and uninstall.cmd beside it.
std::string CaminhoServidor();
// Runs ZAZAZU.exe with the arguments; its exit code (0xFFFFFFFF when it did not end in 60 s).
DWORD RodaServidor(const std::vector<std::string>& argumentos);

// The running ZAZAZU.exe processes.
std::vector<DWORD> ProcessosServidor();
// Waits for the process to end; false when it still runs after the limit.
bool EsperaFimProcesso(DWORD pid, DWORD limiteMs);

// A new object of the class, through COM's local-server activation.
HRESULT CriaLocal(ITQDF_PlanoAlt** pp);

// install.cmd once for the test suite (uninstall.cmd at its end); COM on the test's thread.
class ServidorInstalado : public teste::SuiteInstalada {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    // Company `empresa` with its data directory `nome` below the test's directory (returned).
    std::string Empresa(const char* empresa, const char* nome);

    plataforma::ApartamentoCom m_com;
};

} // namespace local
