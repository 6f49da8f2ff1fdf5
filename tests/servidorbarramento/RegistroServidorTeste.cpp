// The registration switches of zazazu-server: the bus's service file and the class keys, and
// the unregistration removes exactly those.
#include <string>

#include <gtest/gtest.h>

#include "BarramentoPrivado.h"
#include "apoio/Apoio.h"
#include "apoio/SuiteInstalada.h"
#include "platform/Registro.h"

namespace servidorlocal {
namespace {

constexpr const char* kClasse = "Software\\Classes\\CLSID\\{BFF9E78E-4966-4F37-99E4-6AA640C3705E}";

std::string LocalServer32()
{
    plataforma::ChaveRegistro k;
    std::string v = "<none>";
    if (k.Abre(plataforma::RaizRegistro::CurrentUser, (std::string(kClasse) + "\\LocalServer32").c_str()) == 0)
        k.LeTexto(nullptr, v);
    return v;
}

DWORD Roda(const char* chave)
{
    plataforma::ProcessoFilho servidor;
    DWORD codigo = 1;
    EXPECT_EQ(servidor.Inicia(CaminhoServidor(), {chave}), 0u);
    EXPECT_TRUE(servidor.Espera(20000, &codigo));
    return codigo;
}

class RegistroServidorLocal : public teste::SuiteInstalada {};

TEST_F(RegistroServidorLocal, PorUsuarioGravaEDesfazArquivoDeServicoEChaves)
{
    const std::string anterior = plataforma::VariavelAmbiente("XDG_DATA_HOME");
    plataforma::DefineVariavelAmbiente("XDG_DATA_HOME", (m_dir + "dados").c_str());
    const std::string servico = m_dir + "dados/dbus-1/services/org.zazazu.ZazAzu.service";

    EXPECT_EQ(Roda("/regserverperuser"), 0u);
    EXPECT_EQ(apoio::LeTudo(servico),
              std::string("[D-BUS Service]\nName=org.zazazu.ZazAzu\nExec=") + CaminhoServidor() + "\n");
    EXPECT_EQ(LocalServer32(), std::string("\"") + CaminhoServidor() + "\"");

    EXPECT_EQ(Roda("-UNREGSERVERPERUSER"), 0u);
    EXPECT_FALSE(apoio::Existe(servico));
    EXPECT_EQ(LocalServer32(), "<none>");
    plataforma::DefineVariavelAmbiente("XDG_DATA_HOME", anterior.empty() ? nullptr : anterior.c_str());
}

} // namespace
} // namespace servidorlocal
