#include "BarramentoPrivado.h"

#include <atomic>
#include <cstdio>
#include <filesystem>

#include "apoio/Apoio.h"
#include "apoio/SuiteInstalada.h"
#include "platform/Tempo.h"
#include "server/dbus/Barramento.h"

namespace servidorlocal {

namespace {

std::string Configuracao(const std::string& socket, const std::string& servicos)
{
    return "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig>\n  <type>session</type>\n  <listen>unix:path=" +
           socket + "</listen>\n  <auth>EXTERNAL</auth>\n  <servicedir>" + servicos +
           "</servicedir>\n"
           "  <policy context=\"default\">\n    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
           "    <allow eavesdrop=\"true\"/>\n    <allow own=\"*\"/>\n  </policy>\n</busconfig>\n";
}

} // namespace

// A socket path short enough for sockaddr_un, whatever the test's directory.
std::string BarramentoPrivado::NovoSocket()
{
    static std::atomic<int> n{0};
    return plataforma::DiretorioTemporario() + "zazbus-" + std::to_string(plataforma::IdProcesso()) + "-" +
           std::to_string(++n);
}

LogDosServidores::LogDosServidores() : m_inicio(Tudo().size()) {}

std::string LogDosServidores::Novo() const { return Tudo().substr(m_inicio); }

std::string LogDosServidores::Tudo() const
{
    std::string r;
    for (const auto& e : std::filesystem::directory_iterator(teste::DiretorioSuite()))
        if (e.path().filename().string().rfind("TQProfilerErros_Pgms_", 0) == 0)
            r += apoio::LeTudo(e.path().string());
    return r;
}

const char* CaminhoServidor() { return ZAZ_SERVIDOR; }
const char* ModuloProxy() { return ZAZ_MODULO_PROXY; }
const char* ModuloEmProcesso() { return ZAZ_MODULO_ZAZAZU; }

std::string BarramentoPrivado::Inicia(const std::string& dirTeste)
{
    const std::string dir = dirTeste + "barramento/";
    m_enderecoAnterior = plataforma::VariavelAmbiente("DBUS_SESSION_BUS_ADDRESS");
    m_dadosAnterior = plataforma::VariavelAmbiente("XDG_DATA_HOME");
    plataforma::DefineVariavelAmbiente("XDG_DATA_HOME", (dir + "dados").c_str());
    plataforma::ProcessoFilho registro;
    DWORD codigo = 1;
    if (registro.Inicia(CaminhoServidor(), {"-RegServerPerUser"}) != 0 || !registro.Espera(20000, &codigo) || codigo)
        return "zazazu-server -RegServerPerUser answered " + std::to_string(codigo);

    std::filesystem::create_directories(dir);
    const std::string configuracao = dir + "bus.conf";
    apoio::GravaTudo(configuracao, Configuracao(m_socket, dir + "dados/dbus-1/services"));
    if (m_daemon.Inicia("/usr/bin/dbus-daemon", {"--config-file=" + configuracao, "--nofork", "--nopidfile"}) != 0)
        return "dbus-daemon did not start";
    if (!apoio::EsperaArquivo(m_socket))
        return "dbus-daemon never listened on " + m_socket;
    plataforma::DefineVariavelAmbiente("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + m_socket).c_str());
    // The socket's file exists a moment before the daemon listens on it.
    for (int i = 0; i < 500 && !m_pronto; ++i) {
        sd_bus* b = nullptr;
        const char* nome = nullptr;
        m_pronto = sd_bus_open_user(&b) >= 0 && sd_bus_get_unique_name(b, &nome) >= 0;
        sd_bus_flush_close_unref(b);
        if (!m_pronto)
            plataforma::Dorme(20);
    }
    return m_pronto ? std::string() : "no connection to " + m_socket;
}

BarramentoPrivado::~BarramentoPrivado()
{
    if (const DWORD pid = PidServidor()) {
        plataforma::TerminaProcesso(pid);
        EsperaFim(pid, 10000);
    }
    m_daemon.Termina();
    m_daemon.Espera(10000);
    std::remove(m_socket.c_str());
    const auto volta = [](const char* nome, const std::string& valor) {
        plataforma::DefineVariavelAmbiente(nome, valor.empty() ? nullptr : valor.c_str());
    };
    volta("DBUS_SESSION_BUS_ADDRESS", m_enderecoAnterior);
    volta("XDG_DATA_HOME", m_dadosAnterior);
}

DWORD BarramentoPrivado::PidDoDono()
{
    sd_bus* b = nullptr;
    const bool aberto = sd_bus_open_user(&b) >= 0;
    const dbus::Bus bus(b);
    sd_bus_creds* credenciais = nullptr;
    pid_t pid = 0;
    if (aberto && sd_bus_get_name_creds(b, dbus::kNomeServico, SD_BUS_CREDS_PID, &credenciais) >= 0)
        sd_bus_creds_get_pid(credenciais, &pid);
    sd_bus_creds_unref(credenciais);
    return DWORD(pid);
}

bool BarramentoPrivado::EsperaFim(DWORD pid, DWORD limiteMs)
{
    const DWORD inicio = plataforma::Ticks();
    while (plataforma::ProcessoVivo(pid)) {
        if (plataforma::Ticks() - inicio > limiteMs)
            return false;
        plataforma::Dorme(20);
    }
    return true;
}

} // namespace servidorlocal
