// A session bus of the test's own: dbus-daemon with a configuration whose only service
// directory is the test's, where the server registers itself (-RegServerPerUser with
// XDG_DATA_HOME there); DBUS_SESSION_BUS_ADDRESS names it while the object lives. At the end the
// server that owns the name, and the bus, are ended.
#pragma once

#include <string>

#include "platform/Processo.h"

namespace servidorlocal {

class BarramentoPrivado {
public:
    BarramentoPrivado() = default;
    ~BarramentoPrivado();
    // dir: the test's directory, with a trailing separator. Empty, or what failed.
    std::string Inicia(const std::string& dir);
    BarramentoPrivado(const BarramentoPrivado&) = delete;
    BarramentoPrivado& operator=(const BarramentoPrivado&) = delete;

    // The process that owns the server's name now (0: none), as the bus tells it.
    DWORD PidServidor() const { return m_pronto ? PidDoDono() : 0; }
    // The same on the bus that DBUS_SESSION_BUS_ADDRESS names.
    static DWORD PidDoDono();
    // Waits until the process has ended; false after limiteMs.
    static bool EsperaFim(DWORD pid, DWORD limiteMs);

private:
    static std::string NovoSocket();

    bool m_pronto = false;
    std::string m_socket = NovoSocket();
    std::string m_enderecoAnterior;
    std::string m_dadosAnterior;
    plataforma::ProcessoFilho m_daemon;
};

// The trace lines that servers wrote without a company (the installation's log) since it was made.
class LogDosServidores {
public:
    LogDosServidores();
    std::string Novo() const;

private:
    std::string Tudo() const;
    size_t m_inicio;
};

// The paths of the build: the server and the two client modules.
const char* CaminhoServidor();
const char* ModuloProxy();
const char* ModuloEmProcesso();

} // namespace servidorlocal
