// ZAZAZU.exe run with each registration switch: its exit code and the registry it leaves, read
// back through the registry API.
#include <string>

#include <gtest/gtest.h>

#include "ServidorLocal.h"
#include "apoio/RegistroIsolado.h"
#include "platform/Registro.h"

using plataforma::ChaveRegistro;
using plataforma::RaizRegistro;

namespace local {
namespace {

constexpr const char* kClasse = "Software\\Classes\\CLSID\\{BFF9E78E-4966-4F37-99E4-6AA640C3705E}";

std::string Servidor(RaizRegistro raiz)
{
    ChaveRegistro k;
    std::string v;
    if (k.Abre(raiz, (std::string(kClasse) + "\\LocalServer32").c_str()) != 0 || k.LeTexto(nullptr, v) != 0)
        return "<none>";
    return v;
}

class Chaves : public teste::RegistroIsolado {};

TEST_F(Chaves, RegistroDeixadoPorCadaChave)
{
    const std::string aspas = "\"" + CaminhoServidor() + "\"";
    const struct {
        const char* chave;
        std::string maquina, usuario; // LocalServer32 per machine, per user
    } casos[] = {
        {"/RegServer", aspas, "<none>"},
        {"-unregserver", "<none>", "<none>"},
        {"-REGSERVERPERUSER", "<none>", aspas},
        {"/UnregServerPerUser", "<none>", "<none>"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.chave);
        EXPECT_EQ(RodaServidor({c.chave}), 0u);
        EXPECT_EQ(Servidor(RaizRegistro::LocalMachine), c.maquina);
        EXPECT_EQ(Servidor(RaizRegistro::CurrentUser), c.usuario);
    }
}

} // namespace
} // namespace local
