// The registrar's refusal of a wrong script, and the server's registration by switch (the
// embedded scripts 100 and 101), read back through the registry.
#include <string>

#include <gtest/gtest.h>

#include "apoio/Apoio.h"
#include "apoio/RegistroIsolado.h"
#include "platform/Registro.h"
#include "server/Registrador.h"
#include "server/RegistroServidor.h"

using plataforma::ChaveRegistro;
using plataforma::RaizRegistro;

namespace {

constexpr const char* kBase = "Software\\ZazRegistradorTeste";
constexpr const char* kClasse = "CLSID\\{BFF9E78E-4966-4F37-99E4-6AA640C3705E}";

// The value, or "<none>" when the key or the value is missing.
std::string Le(RaizRegistro raiz, const std::string& chave, const char* nome = nullptr)
{
    ChaveRegistro k;
    std::string v;
    return k.Abre(raiz, chave.c_str()) != 0 || k.LeTexto(nome, v) != 0 ? "<none>" : v;
}

bool ExisteChave(RaizRegistro raiz, const std::string& chave)
{
    ChaveRegistro k;
    return k.Abre(raiz, chave.c_str()) == 0;
}

// The classes of the machine: Windows's HKEY_CLASSES_ROOT also shows the user's.
bool NaMaquina(const std::string& chave)
{
#ifdef _WIN32
    return ExisteChave(RaizRegistro::LocalMachine, "Software\\Classes\\" + chave);
#else
    return ExisteChave(RaizRegistro::ClassesRoot, chave);
#endif
}

bool DoUsuario(const std::string& chave) { return ExisteChave(RaizRegistro::CurrentUser, "Software\\Classes\\" + chave); }

class Registrador : public teste::RegistroIsolado {
protected:
    void TearDown() override
    {
        plataforma::ApagaChaveRegistro(RaizRegistro::CurrentUser, kBase);
        RegistroIsolado::TearDown();
    }
};

// A wrong script is refused with one trace line and touches nothing. What right scripts do is
// read back below, from the server's own.
TEST_F(Registrador, ScriptErradoRecusadoSemTocarNada)
{
    apoio::CapturaTrace trace;
    CTQRegistrador r;
    EXPECT_EQ(r.Registra("HKCU { Software { ZazRegistradorTeste = s 'x' } "), kErroScript); // unclosed
    EXPECT_EQ(trace.quantidade(), 1u);
    EXPECT_FALSE(ExisteChave(RaizRegistro::CurrentUser, kBase));
}

class RegistroServidor : public teste::RegistroIsolado {
protected:
    void TearDown() override
    {
        TQExecutaRegistro(EChaveLinha::UnregServer, kCaminho);
        TQExecutaRegistro(EChaveLinha::UnregServerPerUser, kCaminho);
        RegistroIsolado::TearDown();
    }
    static constexpr const char* kCaminho = "C:\\Program Files\\O'Zaz\\ZAZAZU.exe";
};

TEST_F(RegistroServidor, PorMaquinaEPorUsuario)
{
    for (const bool porUsuario : {false, true}) {
        SCOPED_TRACE(porUsuario ? "per user" : "per machine");
        const auto biblioteca = [&](bool, bool doUsuario) { return doUsuario == porUsuario ? S_OK : kFalha; };
        const RaizRegistro raiz = porUsuario ? RaizRegistro::CurrentUser : RaizRegistro::ClassesRoot;
        const std::string p = porUsuario ? "Software\\Classes\\" : "";
        ASSERT_EQ(TQExecutaRegistro(porUsuario ? EChaveLinha::RegServerPerUser : EChaveLinha::RegServer, kCaminho,
                                    TQScriptEmbutido, biblioteca),
                  S_OK);
        EXPECT_EQ(Le(raiz, p + kClasse + "\\LocalServer32"), "\"C:\\Program Files\\O'Zaz\\ZAZAZU.exe\"");
        EXPECT_EQ(Le(raiz, p + kClasse, "AppID"), kAppIdZazAzu);
        EXPECT_EQ(NaMaquina(kClasse), !porUsuario);
        EXPECT_EQ(DoUsuario(kClasse), porUsuario);

        ASSERT_EQ(TQExecutaRegistro(porUsuario ? EChaveLinha::UnregServerPerUser : EChaveLinha::UnregServer, kCaminho,
                                    TQScriptEmbutido, biblioteca),
                  S_OK);
        for (const char* chave : {kClasse, "ZazAzu.TQDF_PlanoAlt", "ZazAzu.TQDF_PlanoAlt.1", "AppID\\ZazAzu.EXE"}) {
            EXPECT_FALSE(NaMaquina(chave)) << chave;
            EXPECT_FALSE(DoUsuario(chave)) << chave;
        }
        EXPECT_TRUE(ExisteChave(raiz, p + "CLSID")); // never removed as a whole
    }
}

} // namespace
