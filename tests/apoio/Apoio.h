// Shared by the tests: a scratch directory per test, whole-file reads, captured trace lines
// and the helper process.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQTrace.h"
#include "platform/FalhasArquivo.h"
#include "platform/Tipos.h"

// The tests state record-file statuses by their codes, and a failed check shows the code.
inline bool operator==(const StatusArq& s, uint32_t codigo) { return s.Codigo() == codigo; }
inline void PrintTo(const StatusArq& s, std::ostream* os) { *os << s.Codigo(); }

namespace apoio {

// What the tick clock may lag: Windows moves it 15.6 ms at a time, and Wine's follows its
// server's updates, which a busy machine delays by a further step. A wait of N ms may show as
// N - kTickRelogioMs on it, so lower bounds allow that.
constexpr DWORD kTickRelogioMs = 32;

// One directory per run of a test executable, removed with all it holds when the run ends.
const std::string& DiretorioDaExecucao();

// A fresh directory named after the running test (with a trailing separator); the caller removes it.
std::string CriaDiretorioDoTeste();

// A fresh directory for each test (with a trailing separator), removed with all it holds.
class DiretorioTemporario : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string Caminho(const std::string& nome) const { return m_dir + nome; }

    std::string m_dir;
};

// A company data directory "EMPRESA" below the test's directory, whose parent may hold the
// suite's marker of the current mark scheme, "DF/marcanovo.dat".
class DiretorioEmpresa : public DiretorioTemporario {
protected:
    void SetUp() override;
    void TearDown() override;
    void EsquemaAtual();

    std::string m_dados;
};

// Removes a directory tree, read-only files included.
void RemoveArvore(const std::string& dir);

std::string LeTudo(const std::string& caminho);
void GravaTudo(const std::string& caminho, const std::string& conteudo);
bool Existe(const std::string& caminho);

// Collects the trace lines written while it lives.
class CapturaTrace {
public:
    CapturaTrace();
    ~CapturaTrace();
    CapturaTrace(const CapturaTrace&) = delete;
    CapturaTrace& operator=(const CapturaTrace&) = delete;

    std::vector<LinhaTrace> linhas() const;
    size_t quantidade() const { return linhas().size(); }

private:
    static void Recebe(const LinhaTrace& linha, void* contexto);
    struct Estado;
    Estado* m_estado;
};

// Counts the file operations that reach the system while it lives (a fault on no operation).
class ContaOperacoesArquivo {
public:
    ContaOperacoesArquivo() { plataforma::DefineFalhaArquivoParaTestes(plataforma::OperacaoArquivo::Quantas, 1, 0); }
    ~ContaOperacoesArquivo() { plataforma::RemoveFalhaArquivoParaTestes(); }
    ContaOperacoesArquivo(const ContaOperacoesArquivo&) = delete;
    ContaOperacoesArquivo& operator=(const ContaOperacoesArquivo&) = delete;

    unsigned operator[](plataforma::OperacaoArquivo operacao) const
    {
        return plataforma::ChamadasArquivoParaTestes(operacao);
    }
};

// The helper executable built beside the tests.
std::string CaminhoAuxiliar();

// Waits until the file exists; false after the time limit.
bool EsperaArquivo(const std::string& caminho, DWORD limiteMs = 20000);

} // namespace apoio
