// Trace lines: the decomposition of a value into names, and the record files' lines in the log.
#include <string>
#include <vector>

#include "InstalacaoTrace.h"
#include "apoio/Apoio.h"
#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQArqEx.h"
#include "df/tqlibex/TQTrace.h"

namespace {

class TraceTeste : public teste::InstalacaoTrace {};

TEST_F(TraceTeste, LinhaDoHResultComOsNomesDasPartes)
{
    TQTraceHResult(nullptr, "CTQDF_PlanoAlt::Le", "TQDF_PlanoAlt", 77, "hr", "pfInSEHFuncao()", TQHResult(0x81080A04));
    TQTraceHResult(nullptr, "CTQDF_PlanoAlt::Le", "TQDF_PlanoAlt", 78, "hr", "Abre()", TQHResult(0x80070005));
    const auto linhas = LinhasErro(ArquivoErrosProgramas());
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
    const auto c = teste::Divide(linhas[1], '\t');
    ASSERT_GT(c.size(), 29u);
    EXPECT_EQ(c[4], "CTQDF_PlanoAlt::Le");
    EXPECT_EQ(c[5].size(), 36u) << "a new GUID without braces";
    EXPECT_EQ(c[21], "ERRO");
    EXPECT_FALSE(c[26].empty()) << "the system's version";
    EXPECT_EQ(c[27], "TQDF_PlanoAlt");
    EXPECT_EQ(c[28], "78");
}

TEST_F(TraceTeste, FalhaDoArquivoDeRegistrosDeixaSuaLinhaComADescricao)
{
    const std::string c = m_dir + "P.dat";
    apoio::GravaTudo(c, std::string(16, '\0'));
    CTQArqEx arq;
    ASSERT_EQ(arq.Abre(c, 'G', 8), 0u);
    int32_t pos = 9;
    char registro[8] = {};
    EXPECT_EQ(arq.Grava(registro, pos), statusarq::PosicaoAlemDoFim);
    const auto linhas = LinhasErro(ArquivoErrosProgramas());
    ASSERT_EQ(linhas.size(), 2u);
    EXPECT_NE(linhas[0].find("CBaseArquivo::ValidaPosicaoGravacao\t"), std::string::npos);
    EXPECT_EQ(linhas[0].find("Descri\xE7\xE3o = \tArquivo"), std::string::npos) << "described by the message library";
    EXPECT_NE(linhas[1].find("\tTQArqEx\t384\thr = ValidaPosicaoGravacao(*plPosicao, lTamanhoDoRegistro)\t"
                             "hr = 0X80040A73 "),
              std::string::npos)
        << linhas[1];
    EXPECT_NE(linhas[1].find("\tFACILITY = 4 FACILITY_ITF\tCODE = 2675 \t"), std::string::npos)
        << "no code name under FACILITY_ITF";
}

} // namespace
