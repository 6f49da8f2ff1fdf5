// ZAZAZU.exe as a client under Wine meets it: registered by install.cmd in this executable's
// Wine prefix, started by COM, counted and awaited by its process.
#pragma once

#include <string>
#include <vector>

#include "server/Contrato.h"

namespace local {

// The build's server, and a folder holding install.cmd and uninstall.cmd beside it.
std::string CaminhoServidor();

// Runs ZAZAZU.exe with the arguments; its exit code (0xFFFFFFFF when it did not end in 60 s).
DWORD RodaServidor(const std::vector<std::string>& argumentos);
// Runs a .cmd of the server's folder through the command interpreter; its exit code.
DWORD RodaScript(const char* nome);

// The running ZAZAZU.exe processes.
std::vector<DWORD> ProcessosServidor();
// Waits for the process to end; false when it still runs after the limit.
bool EsperaFimProcesso(DWORD pid, DWORD limiteMs);

// A new object of the class, through COM's local-server activation.
HRESULT CriaLocal(ITQDF_PlanoAlt** pp);

// A whole session of a client: catalogue, masks, accounts, a mask change and links, in the
// company's directory dir (the main chart written there first).
void RodaSessao(ITQDF_PlanoAlt* obj, const char* empresa, const std::string& dir);

// The data files the session leaves in dir, by name (logs left out).
std::vector<std::pair<std::string, std::string>> ArquivosDeDados(const std::string& dir);

} // namespace local

#include "apoio/SuiteInstalada.h"
#include "platform/Com.h"

namespace local {

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
