// The registrar's script syntax, and the server's registration by switch (the embedded scripts
// 100 and 101), read back through the registry.
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

// A wrong script is refused with one trace line and touches nothing; a right one registers and
// unregisters.
TEST_F(Registrador, SintaxeRegistraEDesregistra)
{
    const char* errados[] = {
        "HKCU { Software { ZazRegistradorTeste = s 'x' } ",             // unclosed
        "HKXX { ZazRegistradorTeste }",                                 // root
        "HKCU { Software { ZazRegistradorTeste = q 'x' } }",            // type
        "HKCU { Software { ZazRegistradorTeste = s '%DESCONHECIDA%' } }", // replacement
    };
    for (const char* s : errados) {
        apoio::CapturaTrace trace;
        CTQRegistrador r;
        EXPECT_EQ(r.Registra(s), kErroScript) << s;
        EXPECT_EQ(trace.quantidade(), 1u) << s;
        EXPECT_FALSE(ExisteChave(RaizRegistro::CurrentUser, kBase)) << s;
    }
    const std::string script = R"(HKCU
{
    NoRemove Software
    {
        NoRemove ZazRegistradorTeste
        {
            val Fica = s 'raiz'
            'Chave com espaco' = s 'it''s %NOME%'
            {
                val Numero = d '42'
                Sub = s '%%literal'
            }
            ForceRemove Forcada = s 'nova'
            {
                val Nomeado = s '%Nome%'
            }
        }
    }
})";
    ChaveRegistro k;
    ASSERT_EQ(k.Cria(RaizRegistro::CurrentUser, (std::string(kBase) + "\\Forcada\\Velha").c_str()), 0u);
    ASSERT_EQ(k.Cria(RaizRegistro::CurrentUser, kBase), 0u);
    ASSERT_EQ(k.GravaTexto("Outro", "fica"), 0u);
    k.Fecha();

    CTQRegistrador r;
    r.AdicionaSubstituicao("NOME", "C:\\x");
    ASSERT_EQ(r.Registra(script), S_OK);
    const auto le = [](const char* sub, const char* nome = nullptr) {
        return Le(RaizRegistro::CurrentUser, std::string(kBase) + sub, nome);
    };
    EXPECT_EQ(le("", "Fica"), "raiz");
    EXPECT_EQ(le("\\Chave com espaco"), "it's C:\\x");
    EXPECT_EQ(le("\\Chave com espaco\\Sub"), "%literal");
    DWORD numero = 0;
    ASSERT_EQ(k.Abre(RaizRegistro::CurrentUser, (std::string(kBase) + "\\Chave com espaco").c_str()), 0u);
    EXPECT_EQ(k.LeDword("Numero", numero), 0u);
    EXPECT_EQ(numero, 42u);
    k.Fecha();
    EXPECT_EQ(le("\\Forcada"), "nova");
    EXPECT_EQ(le("\\Forcada", "Nomeado"), "C:\\x");
    EXPECT_EQ(le("\\Forcada\\Velha"), "<none>");

    ASSERT_EQ(r.Desregistra(script), S_OK);
    EXPECT_EQ(le("\\Chave com espaco"), "<none>");
    EXPECT_EQ(le("\\Forcada"), "<none>");
    EXPECT_EQ(le("", "Fica"), "<none>");
    EXPECT_EQ(le("", "Outro"), "fica");
    EXPECT_EQ(r.Desregistra(script), S_OK); // nothing left to remove
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
        int bibliotecas = 0;
        const auto biblioteca = [&](bool registra, bool doUsuario) {
            EXPECT_EQ(doUsuario, porUsuario);
            bibliotecas += registra ? 1 : -1;
            return S_OK;
        };
        const RaizRegistro raiz = porUsuario ? RaizRegistro::CurrentUser : RaizRegistro::ClassesRoot;
        const std::string p = porUsuario ? "Software\\Classes\\" : "";
        ASSERT_EQ(TQExecutaRegistro(porUsuario ? EChaveLinha::RegServerPerUser : EChaveLinha::RegServer, kCaminho,
                                    TQScriptEmbutido, biblioteca),
                  S_OK);
        EXPECT_EQ(bibliotecas, 1);
        const struct {
            std::string chave;
            const char* nome;
            std::string valor;
        } lidos[] = {
            {kClasse, nullptr, "TQDF_PlanoAlt Class"},
            {std::string(kClasse) + "\\LocalServer32", nullptr, "\"C:\\Program Files\\O'Zaz\\ZAZAZU.exe\""},
            {kClasse, "AppID", kAppIdZazAzu},
            {"ZazAzu.TQDF_PlanoAlt.1\\CLSID", nullptr, "{BFF9E78E-4966-4F37-99E4-6AA640C3705E}"},
            {"AppID\\ZazAzu.EXE", "AppID", kAppIdZazAzu},
        };
        for (const auto& l : lidos)
            EXPECT_EQ(Le(raiz, p + l.chave, l.nome), l.valor) << l.chave;
        EXPECT_EQ(NaMaquina(kClasse), !porUsuario);
        EXPECT_EQ(DoUsuario(kClasse), porUsuario);

        ASSERT_EQ(TQExecutaRegistro(porUsuario ? EChaveLinha::UnregServerPerUser : EChaveLinha::UnregServer, kCaminho,
                                    TQScriptEmbutido, biblioteca),
                  S_OK);
        EXPECT_EQ(bibliotecas, 0);
        for (const char* chave : {kClasse, "ZazAzu.TQDF_PlanoAlt", "ZazAzu.TQDF_PlanoAlt.1", "AppID\\ZazAzu.EXE"}) {
            EXPECT_FALSE(NaMaquina(chave)) << chave;
            EXPECT_FALSE(DoUsuario(chave)) << chave;
        }
        EXPECT_TRUE(ExisteChave(raiz, p + "CLSID")); // never removed as a whole
    }
}

TEST_F(RegistroServidor, AppIdFicaQuandoAPrimeiraMetadeFalha)
{
    ASSERT_EQ(TQExecutaRegistro(EChaveLinha::RegServer, kCaminho), S_OK);
    const HRESULT falha = TQHResult(0x8002801C); // TYPE_E_REGISTRYACCESS
    EXPECT_EQ(TQExecutaRegistro(EChaveLinha::UnregServer, kCaminho, TQScriptEmbutido,
                                [&](bool, bool) { return falha; }),
              falha);
    EXPECT_FALSE(NaMaquina(kClasse));
    EXPECT_TRUE(NaMaquina("AppID\\ZazAzu.EXE"));
}

} // namespace
