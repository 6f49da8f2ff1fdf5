// Child processes on POSIX: spawned with their arguments as given, waited for with a time-out.
#include "platform/Processo.h"

#include <errno.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "platform/Erros.h"
#include "platform/Sincronizacao.h"
#include "platform/Tempo.h"
#include "platform/posix/ErroPosix.h"

extern char** environ;

namespace plataforma {

namespace {

// A process that a signal ended exits, as a shell reports it, with 128 + the signal.
constexpr DWORD kBaseSinal = 128;

DWORD CodigoDeStatus(int status)
{
    if (WIFEXITED(status))
        return static_cast<DWORD>(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return kBaseSinal + static_cast<DWORD>(WTERMSIG(status));
    return 0;
}

} // namespace

ProcessoFilho::~ProcessoFilho()
{
    Termina();
}

DWORD ProcessoFilho::Inicia(const std::string& executavel, const std::vector<std::string>& argumentos)
{
    Termina();
    std::vector<std::string> textos;
    textos.push_back(posix::CaminhoNativo(executavel.c_str()));
    // Arguments go as given: our programs read their command line as ANSI, as on Windows.
    textos.insert(textos.end(), argumentos.begin(), argumentos.end());
    std::vector<char*> argv;
    for (std::string& t : textos)
        argv.push_back(t.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    int e = posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
    if (e != 0)
        return posix::ErroDeErrno(e);
    m_pid = pid;
    m_terminou = false;
    m_codigo = 0;
    return erro::Nenhum;
}

bool ProcessoFilho::Espera(DWORD milissegundos, DWORD* codigoSaida)
{
    if (m_pid < 0 && !m_terminou)
        return false;
    const DWORD inicio = Ticks();
    while (!m_terminou) {
        int status = 0;
        const bool infinito = milissegundos == kInfinito;
        pid_t r = waitpid(m_pid, &status, infinito ? 0 : WNOHANG);
        if (r == m_pid) {
            m_terminou = true;
            m_codigo = CodigoDeStatus(status);
            m_pid = -1;
            break;
        }
        if (r < 0 && errno != EINTR) {
            m_pid = -1; // not our child any more: nothing left to wait for
            return false;
        }
        if (r == 0) {
            if (Ticks() - inicio >= milissegundos)
                return false;
            Dorme(1);
        }
    }
    if (codigoSaida)
        *codigoSaida = m_codigo;
    return true;
}

void ProcessoFilho::Termina()
{
    if (m_pid < 0)
        return;
    // Reaped here so no zombie outlives this object.
    if (!Espera(0)) {
        kill(m_pid, SIGKILL);
        Espera(kInfinito);
    }
}

} // namespace plataforma
