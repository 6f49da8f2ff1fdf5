// The report builder reached as the service reaches it: CMontaRelatorio over the TQGERADOR of the
// installed suite, for company "0001" whose data directory is the test's own.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "apoio/SuiteInstalada.h"
#include "suite/Rotinas/MontaRelatorio.h"
#include "suite/TQGERADOR/CodigosGerador.h"

namespace teste {

// Texts of the tests are UTF-8; the builder gets them in code page 1252, as the service has them.
constexpr const char* kRazaoSocial = "Comércio \"A & B\" <Ltda>";
constexpr const char* kRelatorio = "Plano alternativo";
constexpr const char* kEmpresa = "0001";

// A line as the service hands it: the text of each field code (none: empty).
using LinhaTeste = std::map<int64_t, std::string>;

// The width the service gives each field code.
uint16_t LarguraDoCampo(int64_t codigo);

// The text cut or padded with blanks to the width.
std::string Ajusta(const std::string& texto, size_t largura);

// The pieces of a text between the separators (nothing after a final one).
std::vector<std::string> Divide(const std::string& texto, const std::string& separador);

class RelatorioTeste : public SuiteInstalada {
protected:
    void SetUp() override;

    HRESULT Inicia(CMontaRelatorio& monta, const std::string& arquivo, const std::string& empresa = kEmpresa);
    // Each chosen field with its text and width; the first line describes the columns when asked.
    static void Preenche(CMontaRelatorio& monta, const std::vector<LinhaTeste>& linhas, bool descreve = true);
    // The report of the lines written to nome in the test's directory: its contents, UTF-8.
    std::string Gera(const std::string& nome, const std::vector<LinhaTeste>& linhas, bool descreve = true);

    void GravaRelatoriosIni(const std::string& conteudo);
    // The names in the test's directory.
    std::vector<std::string> Nomes() const;

    std::string m_dados;
};

} // namespace teste
