// The Linux module as a client with nothing but the registry file and a company uses it: no
// installation directory is registered, so the suite's libraries come from beside the module.
#ifndef _WIN32

#include <cstring>
#include <filesystem>

#include "Cliente.h"
#include "apoio/Apoio.h"
#include "apoio/RegistroIsolado.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQPath.h"

namespace cliente {
namespace {

class SemInstalador : public teste::RegistroIsolado {
protected:
    void SetUp() override
    {
        RegistroIsolado::SetUp();
        m_dir = apoio::CriaDiretorioDoTeste();
        GravaTexto(plataforma::RaizRegistro::LocalMachine,
                   CTQPath::CombinaChave(kChaveSuiteBarra, "Empresas\\0001"), "DF", m_dir);
    }
    void TearDown() override
    {
        apoio::RemoveArvore(m_dir);
        RegistroIsolado::TearDown();
    }
    std::string m_dir;
};

TEST_F(SemInstalador, SessaoCompletaEErrosNoLogDaEmpresa)
{
    Ptr<ITQDF_PlanoAlt> o;
    ASSERT_EQ(Cria(&o), S_OK);
    ASSERT_EQ(o->Inicializa_Padrao(Sessao("0001")), S_OK);
    LONG plano = 0;
    ASSERT_EQ(o->GravaPlano(0, REG_DADOS_PLANO_ALT_PS{0, 0, 0, "Plano", {}}, &plano), S_OK);
    EXPECT_EQ(apoio::LeTudo(m_dir + "DFPLANOS.DAT").size(), 2u * 80);
    EXPECT_TRUE(TQFalhou(o->SetPlano(9)));
    std::string logs;
    for (const auto& entrada : std::filesystem::directory_iterator(m_dir))
        if (entrada.path().filename().string().rfind("TQProfilerErros_Base_", 0) == 0)
            logs += apoio::LeTudo(entrada.path().string());
    EXPECT_NE(logs.find("CTQDF_PlanoAlt::SetPlano"), std::string::npos);
}

} // namespace
} // namespace cliente

#endif
