// Message texts and error reports: the suite's message files and libraries, and the trace lines
// in the programs' error log. Module 1 is installed in the test's own directory, with the
// message libraries in its "x64": the logs land there, one set per test.
#include <cstdio>
#include <string>
#include <vector>

#include "apoio/Apoio.h"
#include "apoio/SuiteInstalada.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQMensagens.h"
#include "df/tqlibex/TQTrace.h"
#include "platform/Arquivo.h"
#include "platform/Processo.h"
#include "platform/Tempo.h"
#include "platform/Texto.h"

namespace {

// The pieces of texto between separators (a final one ends the last piece).
std::vector<std::string> Divide(const std::string& texto, char separador)
{
    std::vector<std::string> partes;
    for (size_t inicio = 0, fim; inicio < texto.size(); inicio = fim + 1) {
        fim = std::min(texto.find(separador, inicio), texto.size());
        partes.push_back(texto.substr(inicio, fim - inicio));
    }
    return partes;
}

class MensagensTeste : public teste::SuiteInstalada {
protected:
    void SetUp() override
    {
        SuiteInstalada::SetUp();
        const std::string x64 = m_dir + "x64";
        ASSERT_EQ(plataforma::CriaDiretorio(x64.c_str()), 0u);
        for (std::string nome : {"TQLMensagem", "TQMens"}) {
#ifdef _WIN32
            nome += ".dll";
#else
            nome = "lib" + nome + ".so";
#endif
            const std::string conteudo = apoio::LeTudo(teste::DiretorioSuite() + plataforma::kSeparador + "x64" +
                                                       plataforma::kSeparador + nome);
            ASSERT_FALSE(conteudo.empty()) << nome;
            apoio::GravaTudo(x64 + plataforma::kSeparador + nome, conteudo);
        }
        GravaTexto(plataforma::RaizRegistro::LocalMachine, teste::kChaveModuloDF, kValorPath, m_dir);
        GravaTexto(plataforma::RaizRegistro::LocalMachine, kChaveSuite, kValorMensagens, m_dir);
    }
    // The lines of type ERRO in the programs' error log of this month.
    std::vector<std::string> LinhasErro() const
    {
        const plataforma::DataHoraLocal agora = plataforma::AgoraLocal();
        const std::string nome = "TQProfilerErros_Pgms_" + std::to_string(agora.ano * 100 + agora.mes) + ".log";
        std::vector<std::string> linhas = Divide(apoio::LeTudo(m_dir + nome), '\n');
        std::erase_if(linhas, [](const std::string& l) { return l.find("\tERRO\t") == std::string::npos; });
        return linhas;
    }
};

TEST_F(MensagensTeste, TextoDoArquivoDeMensagensDoModulo)
{
    apoio::GravaTudo(m_dir + "TQDFMens.txt", "0000011 Outra mensagem\r\n"
                                             "0000012 Primeira linha\\nSegunda linha\\n\r\n");
    EXPECT_EQ(TQTextoArquivoMensagens(12, 1), "Primeira linha\nSegunda linha");
    const std::string comSO = TQTextoRelatorioErro(12, 1, 5);
    EXPECT_EQ(comSO.rfind("Primeira linha\nSegunda linha\nErro do SO: 5 - ", 0), 0u) << comSO;
}

// The report reaching the message library with its arguments: GuardaTeste (server), through a fault.
TEST_F(MensagensTeste, LinhaDoHResultComOsNomesDasPartesEDescricao)
{
    TQTraceHResult(nullptr, {"CTQDF_PlanoAlt::Le", 77}, "TQDF_PlanoAlt", "hr", "pfInSEHFuncao()", TQHResult(0x81080A04));
    TQTraceHResult(nullptr, {"CTQDF_PlanoAlt::Le", 78}, "TQDF_PlanoAlt", "hr", "Abre()", TQHResult(0x80070005));
    const auto linhas = LinhasErro();
    ASSERT_EQ(linhas.size(), 2u);
    EXPECT_NE(linhas[0].find("\tTQDF_PlanoAlt\t77\thr = pfInSEHFuncao()\thr = 0X81080A04 "), std::string::npos)
        << linhas[0];
    EXPECT_NE(linhas[0].find("\tSEVERITY = 1 SEVERITY_ERROR\tFACILITY = 264 TQ_FACILITY_CR_CORE\tCODE = 2564 "),
              std::string::npos)
        << linhas[0];
    EXPECT_NE(linhas[1].find("\tFACILITY = 7 FACILITY_WIN32\tCODE = 5 ERROR_ACCESS_DENIED\t"
                             "Descri\xE7\xE3o = E_ACCESSDENIED\t"),
              std::string::npos)
        << linhas[1];
}

} // namespace
