// Messages sent straight onto the bus, as a careless or hostile client would: each gets a clear
// answer (an HRESULT, or a D-Bus error for what is not a call of the interface), and the server
// keeps serving.
#include <functional>
#include <string>

#include "ServidorLocal.h"
#include "apoio/Apoio.h"
#include "apoio/SuiteInstalada.h"
#include "server/dbus/Barramento.h"

namespace servidorlocal {
namespace {

// A connection of its own to the test's bus, and the object it created there.
class Conexao {
public:
    Conexao()
    {
        sd_bus* b = nullptr;
        EXPECT_GE(sd_bus_open_user(&b), 0);
        m_bus.reset(b);
    }
    std::string Cria()
    {
        dbus::ErroBus erro;
        sd_bus_message* r = nullptr;
        EXPECT_GE(sd_bus_call_method(m_bus.get(), dbus::kNomeServico, dbus::kCaminhoClasse, dbus::kInterfaceClasse,
                                     dbus::kCriaInstancia, &erro, &r, ""),
                  0)
            << erro.Nome();
        dbus::Mensagem dono(r);
        int32_t hr = -1;
        const char* caminho = "";
        EXPECT_GE(sd_bus_message_read(r, "io", &hr, &caminho), 0);
        EXPECT_EQ(hr, S_OK);
        return caminho;
    }
    // The D-Bus error of the call (empty when it was answered), and the HRESULT of the answer.
    std::string Chama(const std::string& caminho, const char* metodo, const std::function<void(sd_bus_message*)>& args,
                      HRESULT* hr)
    {
        sd_bus_message* m = nullptr;
        EXPECT_GE(sd_bus_message_new_method_call(m_bus.get(), &m, dbus::kNomeServico, caminho.c_str(), dbus::kInterface,
                                                 metodo),
                  0);
        dbus::Mensagem donoChamada(m);
        args(m);
        dbus::ErroBus erro;
        sd_bus_message* r = nullptr;
        if (sd_bus_call(m_bus.get(), m, 0, &erro, &r) < 0)
            return erro.Nome();
        dbus::Mensagem donoResposta(r);
        EXPECT_GT(sd_bus_message_read_basic(r, 'i', hr), 0);
        return {};
    }

private:
    dbus::Bus m_bus;
};

const auto kSemArgumentos = [](sd_bus_message*) {};
const auto kUm = [](sd_bus_message* m) { sd_bus_message_append(m, "i", 1); };

using Mensagens = ServidorLocalTeste;

TEST_F(Mensagens, CadaMensagemRuimTemRespostaClaraEOServidorContinua)
{
    Conexao dono;
    Conexao outro;
    const LogDosServidores log;
    const std::string objeto = dono.Cria();
    HRESULT hr = -1;

    struct Caso {
        const char* nome;
        Conexao* conexao;
        std::string caminho;
        const char* metodo;
        std::function<void(sd_bus_message*)> args;
        std::string erro; // the D-Bus error, or empty for an answer with hr
        HRESULT hr;
    };
    const Caso casos[] = {
        {"a record one byte short", &dono, objeto, "Inicializa_Padrao",
         [](sd_bus_message* m) {
             const std::string b(295, 'x');
             sd_bus_message_append_array(m, 'y', b.data(), b.size());
         },
         "", kParametroIncorreto},
        {"an unknown path", &dono, std::string(dbus::kCaminhoClasse) + "/999", "SetPlano", kUm,
         SD_BUS_ERROR_UNKNOWN_OBJECT, 0},
        {"another connection's object", &outro, objeto, "SetPlano", kUm, "", TQHResult(0x80070005)},
        {"another connection's Release", &outro, objeto, "Release", kSemArgumentos, "", TQHResult(0x80070005)},
    };
    for (const Caso& c : casos) {
        HRESULT hr = 0;
        EXPECT_EQ(c.conexao->Chama(c.caminho, c.metodo, c.args, &hr), c.erro) << c.nome;
        EXPECT_EQ(hr, c.hr) << c.nome;
    }
    // Nothing happened to the object, and the same server still serves it (a new one would not
    // know its path).
    EXPECT_EQ(dono.Chama(objeto, "SetPlano", kUm, &hr), "");
    EXPECT_EQ(hr, TQHResult(0x81080A04)) << "not initialized: the wrong-sized Inicializa_Padrao did nothing";
    EXPECT_NE(log.Novo().find("SetPlano on " + objeto), std::string::npos) << "the refusal of another connection is traced";
}

// Without a bus to reach, creation fails at once with the RPC code.
using SemBarramento = teste::SuiteInstalada;

TEST_F(SemBarramento, CriacaoRespondeServidorIndisponivel)
{
    const std::string anterior = plataforma::VariavelAmbiente("DBUS_SESSION_BUS_ADDRESS");
    plataforma::DefineVariavelAmbiente("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + m_dir + "nenhum").c_str());
    cliente::UsaModulo(ModuloProxy());
    cliente::Ptr<ITQDF_PlanoAlt> obj;
    EXPECT_EQ(cliente::Cria(&obj), kServidorIndisponivel);
    plataforma::DefineVariavelAmbiente("DBUS_SESSION_BUS_ADDRESS", anterior.empty() ? nullptr : anterior.c_str());
}

} // namespace
} // namespace servidorlocal
