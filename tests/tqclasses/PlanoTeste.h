// A chart of accounts for the store's tests: a company whose "DF" data directory is a scratch
// directory of the test, chart records built field by field, the chart file written as the
// store expects it, the index read back as entries, and a store bound to that chart.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "apoio/RegistroIsolado.h"
#include "df/tqclasses/Classificacao.h"
#include "df/tqlibex/TQTrace.h"

namespace teste {

constexpr uint16_t kTamanhoRegistroPlano = 96;
constexpr uint16_t kTamanhoNomePlano = 50;
constexpr uint16_t kTamanhoCodigoPlano = 10;
constexpr const char* kEmpresaPlano = "EMPTESTE";
constexpr const char* kArquivoPlano = "DFPLA001.DAT";
constexpr const char* kArquivoIndice = "DFIND001.DAT";

// One account as the tests describe it (texts in code page 1252).
struct ContaPlano {
    std::string classificacao;
    uint8_t status = 0; // kStatusTitulo, kStatusExcluido, kStatusS, kStatusG
    std::string codigo;
    std::string nome;
};

// A 96-byte chart record: packed classification at 0, status at 14, own code at 16, name at 26,
// zero-padded; bytes 76 to 95 zero.
std::vector<uint8_t> RegistroPlano(const ContaPlano& conta);
// The bytes of a chart file: record 0 zero, then one record per account.
std::string ConteudoPlano(const std::vector<ContaPlano>& contas);
// The index entries of a file, entry 0 included (a tail shorter than an entry is left out).
std::vector<REGCON_INDEX> LeIndice(const std::string& caminho);
// One entry as it should be written.
REGCON_INDEX EntradaIndice(uint32_t tipoIndCon, std::string_view classificacao);
// Record number, type bits and unpacked classification, for readable failures.
std::string DescreveEntrada(const REGCON_INDEX& entrada);

// "Operation: expression" of each trace line that a store wrote, in order.
std::vector<std::string> ExpressoesDoTrace(const std::vector<LinhaTrace>& linhas);

class PlanoTeste : public RegistroIsolado {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string CaminhoPlano() const { return m_dir + kArquivoPlano; }
    std::string CaminhoIndice() const { return m_dir + kArquivoIndice; }
    void GravaPlano(const std::vector<ContaPlano>& contas);

    // Binds a store to the test's chart as the service does: Inicializa, then SetTamanhoCodigo(10).
    HRESULT Inicializa(CClassificacao& plano);
    // The test's store, bound at its first use (the binding must succeed).
    CClassificacao& Plano();

    std::string m_dir; // the company's data directory, with a trailing separator
    std::unique_ptr<CClassificacao> m_plano;
};

} // namespace teste
