// A chart of accounts for the store's tests: a company whose "DF" data directory is a scratch
// directory of the test, chart records built field by field, the chart file written as the
// store expects it, the index read back as entries, and a store bound to that chart.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "apoio/RegistroIsolado.h"
#include "df/tqclasses/Classificacao.h"
#include "df/tqlibex/TQTrace.h"
#include "platform/Texto.h"

namespace teste {

constexpr uint16_t kTamanhoRegistroPlano = 96;
constexpr uint16_t kTamanhoNomePlano = 50;
constexpr uint16_t kTamanhoCodigoPlano = 10;
constexpr const char* kEmpresaPlano = "EMPTESTE";
constexpr const char* kArquivoPlano = "DFPLA001.DAT";
constexpr const char* kArquivoIndice = "DFIND001.DAT";
// Status bytes of a title and of an analytic account.
constexpr uint8_t T = kStatusTitulo;
constexpr uint8_t A = 0;

inline std::basic_string<OLECHAR> Ole(const std::string& ansi) { return plataforma::AnsiParaOle(ansi); }

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
// Nine accounts in index order: 1 "1" T; 2 "1.1" T; 3 "1.1.01" and 4 "1.1.02" analytic;
// 5 "1.1.03" 'G'; 6 "1.2" T; 7 "1.2.01" excluded; 8 "1.2.02" 'S'; 9 "5.2" T.
std::vector<ContaPlano> ContasExemplo();
// The index entries of a file, entry 0 included (a tail shorter than an entry is left out).
std::vector<REGCON_INDEX> LeIndice(const std::string& caminho);
std::string BytesIndice(const std::vector<REGCON_INDEX>& entradas);
// One entry as it should be written.
REGCON_INDEX EntradaIndice(uint32_t tipoIndCon, std::string_view classificacao);
// Entry 0, then the entries of the given records of `contas` (numbered from 1), in that order.
std::vector<REGCON_INDEX> IndiceDasContas(const std::vector<ContaPlano>& contas,
                                          const std::vector<uint32_t>& registros);
// Record number, type bits and unpacked classification, for readable failures; packed bytes
// that the text does not give back (anything after its end, say) are shown in hex.
std::string DescreveEntrada(const REGCON_INDEX& entrada);
std::vector<std::string> Descreve(const std::vector<REGCON_INDEX>& entradas);

// "Operation: expression" of each trace line that a store wrote, in order.
std::vector<std::string> ExpressoesDoTrace(const std::vector<LinhaTrace>& linhas);

class PlanoTeste : public RegistroIsolado {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string CaminhoPlano() const { return m_dir + kArquivoPlano; }
    std::string CaminhoIndice() const { return m_dir + kArquivoIndice; }
    void GravaPlano(const std::vector<ContaPlano>& contas);
    void GravaIndice(const std::vector<REGCON_INDEX>& entradas);
    // The index file described entry by entry, and a last line for a tail shorter than an entry.
    std::vector<std::string> IndiceDescrito() const;
    // The bytes of the chart file and of the index file.
    std::pair<std::string, std::string> Arquivos() const;

    // Binds a store to the test's chart as the service does: Inicializa, then SetTamanhoCodigo(10).
    HRESULT Inicializa(CClassificacao& plano);
    // The test's store, bound at its first use (the binding must succeed).
    CClassificacao& Plano();
    // Writes account c at pos (0 = new) through GravaDados and, when that succeeds, into
    // m_contas; a new account must land after the last record, an altered one stay put, and a
    // failure leave pos as it was.
    HRESULT Grava(const ContaPlano& c, uint32_t& pos);
    // Deletes record pos through Exclui; m_contas marks it whatever the answer.
    HRESULT Exclui(uint32_t pos);

    std::string m_dir; // the company's data directory, with a trailing separator
    std::unique_ptr<CClassificacao> m_plano;
    std::vector<ContaPlano> m_contas; // the chart as the test has written it
};

// The chart of ContasExemplo() and its index as the generator writes it.
class PlanoExemplo : public PlanoTeste {
protected:
    void SetUp() override;
};

} // namespace teste
