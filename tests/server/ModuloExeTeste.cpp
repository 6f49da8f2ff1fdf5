// The module logic shared by the local servers: the Start steps in order for each way through,
// and the shutdown monitor's rules against a short injected time-out.
#include <atomic>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "apoio/Apoio.h"
#include "platform/Tempo.h"
#include "server/ModuloExe.h"

namespace {

constexpr DWORD kEspera = 300; // ms: the injected idle time-out

// Records the hooks it is called through; the loop of step 6 waits for its end.
class ModuloTeste : public CTQExeModuleT<ModuloTeste> {
public:
    explicit ModuloTeste(DWORD espera = kEspera) : CTQExeModuleT(espera) {}
    ~ModuloTeste() override { ParaMonitor(); }

    std::vector<std::string> passos;
    HRESULT hrInicia = S_OK, hrRegistro = S_OK, hrRetoma = S_OK, hrRevoga = S_OK;
    std::atomic<int> suspensoes{0};
    std::atomic<DWORD> fim{0}; // tick of the quit, 0 before
    plataforma::Evento encerrado{true};

protected:
    HRESULT InicializaTransporte() override { return Passo("inicia", hrInicia); }
    HRESULT Registro(EChaveLinha chave) override { return Passo("registro " + std::to_string(int(chave)), hrRegistro); }
    HRESULT RegistraObjetosClasse() override { return Passo("registra", S_OK); }
    HRESULT RetomaObjetosClasse() override { return Passo("retoma", hrRetoma); }
    void LacoMensagens() override { passos.push_back("laco"); }
    HRESULT RevogaObjetosClasse() override { return Passo("revoga", hrRevoga); }
    void FinalizaTransporte() override { passos.push_back("finaliza"); }
    void SuspendeObjetosClasse() override { ++suspensoes; }
    void EncerraLacoMensagens() override
    {
        fim = plataforma::Ticks();
        encerrado.Sinaliza();
    }

private:
    HRESULT Passo(const std::string& nome, HRESULT hr)
    {
        passos.push_back(nome);
        return hr;
    }
};

TEST(ModuloExe, StartPassoAPasso)
{
    const HRESULT falha = TQHResult(0x80070005);
    const struct {
        const char* nome;
        const char* argumentos;
        HRESULT hrInicia, hrRetoma, hrRevoga;
        int saida;
        std::vector<std::string> passos;
    } casos[] = {
        {"servidor", "-Embedding", S_OK, S_OK, 0x1,
         0x1, {"inicia", "registra", "retoma", "laco", "revoga", "finaliza"}},
        {"chave", "/regserver", S_OK, S_OK, S_OK, S_OK, {"inicia", "registro 1", "finaliza"}},
        {"COM", "", falha, S_OK, S_OK, falha, {"inicia"}},
        {"retomada", "", S_OK, falha, S_OK, falha, {"inicia", "registra", "retoma", "revoga", "finaliza"}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        ModuloTeste m;
        m.hrInicia = c.hrInicia;
        m.hrRetoma = c.hrRetoma;
        m.hrRevoga = c.hrRevoga;
        EXPECT_EQ(m.Start(c.argumentos), c.saida);
        EXPECT_EQ(m.passos, c.passos);
    }
}

// The monitor ends the loop once the count stayed 0 for a whole time-out: an object alive when
// the time runs out keeps the server up; each release starts the count again.
TEST(Monitor, ObjetoVivoNaoDeixaEncerrarECadaLiberacaoRecomecaAContagem)
{
    ASSERT_EQ(CTQExeModule::GetLockCount(), 0u);
    ModuloTeste m;
    ASSERT_TRUE(m.IniciaMonitor());
    CTQExeModule::Lock(); // still alive when the time runs out
    EXPECT_FALSE(m.encerrado.Espera(kEspera * 3));
    EXPECT_EQ(m.suspensoes, 0);
    CTQExeModule::Unlock();
    plataforma::Dorme(kEspera * 6 / 10);
    CTQExeModule::Lock(); // a new release starts the count again
    CTQExeModule::Unlock();
    const DWORD segunda = plataforma::Ticks();
    EXPECT_TRUE(m.encerrado.Espera(kEspera * 20));
    EXPECT_GE(m.fim - segunda + apoio::kTickRelogioMs, kEspera);
    EXPECT_EQ(m.suspensoes, 1);
}

} // namespace
