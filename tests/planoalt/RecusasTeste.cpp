// Nonsense and damaged files: each call is refused at once with its code and its trace line,
// and leaves every file as it was.
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ServicoTeste.h"
#include "df/planoalt/ArquivosPlano.h"
#include "platform/Arquivo.h"
#include "platform/Diretorio.h"
#include "platform/FalhasArquivo.h"

namespace {

constexpr HRESULT kAlemDoFim = TQHResult(0x80043E95);
constexpr HRESULT kArquivoInvalido = TQHResult(0x80043EE2);

class Recusas : public teste::ServicoTeste {
protected:
    // Every data file of the directory with its bytes (a mark's file holds no data).
    std::map<std::string, std::string> Arquivos()
    {
        std::vector<plataforma::EntradaDiretorio> entradas;
        EXPECT_EQ(plataforma::ListaDiretorio(m_dir.c_str(), entradas), 0u);
        std::map<std::string, std::string> r;
        for (const auto& e : entradas)
            if (e.nome.find("MARCA") == std::string::npos)
                r[e.nome] = e.diretorio ? "<dir>" : apoio::LeTudo(m_dir + e.nome);
        return r;
    }

    // Writes the chart name of plan 1 in the catalogue as it lies on disk.
    void NomeiaArquivoDoPlano(const std::string& nome)
    {
        std::string c = apoio::LeTudo(m_dir + kArquivoPlanos);
        std::memset(&c[80 + 50], 0, kTamanhoNomeArquivo);
        std::memcpy(&c[80 + 50], nome.data(), std::min(nome.size(), kTamanhoNomeArquivo));
        apoio::GravaTudo(m_dir + kArquivoPlanos, c);
    }

    // A file cut short by half a record.
    void CortaMeioRegistro(const std::string& arquivo, size_t tamanhoRegistro)
    {
        const std::string c = apoio::LeTudo(m_dir + arquivo);
        apoio::GravaTudo(m_dir + arquivo, c + std::string(tamanhoRegistro / 2, '\x11'));
    }

    LONG ComUmaConta()
    {
        SelecionaPlano("9.9.99");
        return NovaConta("1.1.01", 'A', "");
    }
};

struct Caso {
    const char* nome;
    std::function<void()> prepara;
    std::function<HRESULT(teste::ObjetoServico&)> chama;
    HRESULT esperado;
};

TEST_F(Recusas, CadaUmaComSeuCodigoSemTocarNosArquivos)
{
    REG_PLANO_ALT_PS conta{};
    const auto vinculo = [](LONG alt) { return REG_VINCULO_ALT{0, alt, 1, 0, {}}; };
    const auto sete = Texto("7");
    const std::vector<Caso> casos = {
        {"SetPlano on the catalogue's own name", [this]() { NovoPlano(), NomeiaArquivoDoPlano("DFPLANOS.DAT"); },
         [](auto& o) { return o.SetPlano(1); }, kNomeDeArquivoInvalido},
        {"SetPlano of a plan cut short", [this]() { NovoPlano(), CortaMeioRegistro(kArquivoPlanos, 80); },
         [](auto& o) { return o.SetPlano(2); }, kAlemDoFim},
        {"Le of an account cut short",
         [this]() { ComUmaConta(), CortaMeioRegistro("DFPLA001.DAT", kTamanhoConta); },
         [&](auto& o) { return o.Le(2, &conta); }, HRESULT(0x000405E0)},
        {"Vinculo of an account cut short",
         [this]() { ComUmaConta(), CortaMeioRegistro("DFPLA001.DAT", kTamanhoConta); },
         [&](auto& o) { return o.Vinculo(vinculo(2)); }, kAlemDoFim},
        {"Existe on a chart that is a directory",
         [this]() {
             ComUmaConta();
             m_objeto.m_pClassificacao->VerificaFechamentoArquivoPadrao();
             ASSERT_EQ(plataforma::ApagaArquivo((m_dir + "DFPLA001.DAT").c_str()), 0u);
             ASSERT_EQ(plataforma::CriaDiretorio((m_dir + "DFPLA001.DAT").c_str()), 0u);
         },
         [&](auto& o) {
             LONG p = 0;
             return o.Existe(sete.c_str(), 1, &p, &conta);
         },
         kArquivoInvalido},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        TearDown();
        SetUp();
        ASSERT_NO_FATAL_FAILURE(c.prepara());
        const auto antes = Arquivos();
        apoio::CapturaTrace trace;
        {
            apoio::ContaOperacoesArquivo operacoes;
            EXPECT_EQ(c.chama(m_objeto), c.esperado);
            // The retries of contention (200 attempts) never run for these.
            for (int op = 0; op < int(plataforma::OperacaoArquivo::Quantas); ++op)
                EXPECT_LT(operacoes[plataforma::OperacaoArquivo(op)], 50u) << op;
        }
        if (c.esperado < 0) {
            EXPECT_GE(trace.quantidade(), 1u);
        }
        EXPECT_EQ(Arquivos(), antes);
    }
}

} // namespace
