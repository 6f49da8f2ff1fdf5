// The registration switches of zazazu-server: the bus's service file, and the unregistration
// removes it. The class keys are the same scripts' that RegistradorTeste reads back.
#include <string>

#include <gtest/gtest.h>

#include "BarramentoPrivado.h"
#include "apoio/Apoio.h"
#include "apoio/SuiteInstalada.h"

namespace servidorlocal {
namespace {

DWORD Roda(const char* chave)
{
    plataforma::ProcessoFilho servidor;
    DWORD codigo = 1;
    EXPECT_EQ(servidor.Inicia(CaminhoServidor(), {chave}), 0u);
    EXPECT_TRUE(servidor.Espera(20000, &codigo));
    return codigo;
}

class RegistroServidorLocal : public teste::SuiteInstalada {};

TEST_F(RegistroServidorLocal, PorUsuarioGravaEDesfazArquivoDeServico)
{
    const std::string anterior = plataforma::VariavelAmbiente("XDG_DATA_HOME");
    plataforma::DefineVariavelAmbiente("XDG_DATA_HOME", (m_dir + "dados").c_str());
    const std::string servico = m_dir + "dados/dbus-1/services/org.zazazu.ZazAzu.service";

    EXPECT_EQ(Roda("/regserverperuser"), 0u);
    EXPECT_EQ(apoio::LeTudo(servico),
              std::string("[D-BUS Service]\nName=org.zazazu.ZazAzu\nExec=") + CaminhoServidor() + "\n");

    EXPECT_EQ(Roda("-UNREGSERVERPERUSER"), 0u);
    EXPECT_FALSE(apoio::Existe(servico));
    plataforma::DefineVariavelAmbiente("XDG_DATA_HOME", anterior.empty() ? nullptr : anterior.c_str());
}

} // namespace
} // namespace servidorlocal
