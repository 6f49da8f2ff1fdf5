// The frame's profiler lines: one entry and one exit line per call that passes the gate, under
// the method's qualified name and the session's company; none for a call the gate refuses.
#include <filesystem>
#include <string>

#include "Cliente.h"
#include "apoio/Apoio.h"
#include "df/tqlibex/GanchosTeste.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Processo.h"
#include "server/TQDF_PlanoAlt.h"

namespace cliente {
namespace {

// An installation of the test's own, holding "log.ini" and a copy of the suite's libraries.
class ProfilerFrame : public ClienteTeste {
protected:
    void SetUp() override
    {
        ClienteTeste::SetUp();
        m_instalacao = m_dir + "instalacao" + plataforma::kSeparador;
        std::filesystem::create_directories(m_instalacao);
        std::filesystem::copy(teste::DiretorioSuite() + plataforma::kSeparador + "x64", m_instalacao + "x64");
        apoio::GravaTudo(m_instalacao + "log.ini", "[Log]\r\nEntrada=1\r\nSaida=1\r\n");
        GravaTexto(plataforma::RaizRegistro::LocalMachine, teste::kChaveModuloDF, kValorPath, m_instalacao);
        TQInvalidaProfilerParaTestes();
    }
    void TearDown() override
    {
        ClienteTeste::TearDown();
        TQInvalidaProfilerParaTestes();
    }
    std::string Log() const
    {
        return apoio::Existe(m_instalacao + "TQProfiler.log") ? apoio::LeTudo(m_instalacao + "TQProfiler.log") : "";
    }
    static size_t Conta(const std::string& texto, const std::string& parte)
    {
        size_t n = 0;
        for (size_t p = 0; (p = texto.find(parte, p)) != std::string::npos; ++p)
            ++n;
        return n;
    }

    std::string m_instalacao;
};

TEST_F(ProfilerFrame, EntradaESaidaDeCadaChamadaQuePassaOPortao)
{
    // The object of this test is the linked one: its profiler reads this installation.
    CComObject<CTQDF_PlanoAlt>* objeto = nullptr;
    ASSERT_EQ(CComObject<CTQDF_PlanoAlt>::CreateInstance(&objeto), S_OK);
    objeto->AddRef();
    ULONG n = 0;
    EXPECT_EQ(objeto->GetQuantidadeRegistros(&n), TQHResult(0x81080A04));
    EXPECT_EQ(Conta(Log(), "CTQDF_PlanoAlt::GetQuantidadeRegistros"), 0u) << "the gate profiles nothing";

    ASSERT_EQ(objeto->Inicializa_Padrao(Sessao("0001")), S_OK);
    EXPECT_EQ(objeto->GetQuantidadeRegistros(&n), TQHResult(0x800402DD));
    objeto->Release();

    const std::string log = Log();
    EXPECT_EQ(Conta(log, "CTQDF_PlanoAlt::GetQuantidadeRegistros\t"), 2u) << log;
    EXPECT_EQ(Conta(log, "\tENTROU\t"), Conta(log, "\tSAIU\t"));
    EXPECT_NE(log.find("T_TQUnknown<struct ITQDF_PlanoAlt,class CBasePlanoAlternativo>::~T_TQUnknown"),
              std::string::npos);
    EXPECT_NE(log.find("\t0001\t7\t4242\t"), std::string::npos) << "the session's identity";
}

} // namespace
} // namespace cliente
