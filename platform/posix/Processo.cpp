#include "platform/Processo.h"

#include <dlfcn.h>
#include <errno.h>
#include <link.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/sysinfo.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "platform/Erros.h"
#include "platform/Sincronizacao.h"
#include "platform/Tempo.h"
#include "platform/Texto.h"
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

std::string CaminhoExecutavel()
{
    std::string caminho(4096, '\0');
    ssize_t n = readlink("/proc/self/exe", caminho.data(), caminho.size());
    if (n <= 0)
        return {};
    caminho.resize(static_cast<size_t>(n));
    return Utf8ParaAnsi(caminho);
}

std::string CaminhoEsteModulo()
{
    Dl_info info{};
    link_map* mapa = nullptr;
    if (!dladdr1(reinterpret_cast<void*>(&CaminhoEsteModulo), &info, reinterpret_cast<void**>(&mapa), RTLD_DL_LINKMAP) || !mapa)
        return CaminhoExecutavel();
    // The main program's map has no name; dladdr would give argv[0] for it.
    if (!mapa->l_name || !*mapa->l_name)
        return CaminhoExecutavel();
    return Utf8ParaAnsi(mapa->l_name);
}

uint64_t BytesPrivados()
{
    std::ifstream status("/proc/self/status");
    std::string linha;
    while (std::getline(status, linha)) {
        if (linha.rfind("RssAnon:", 0) == 0)
            return std::strtoull(linha.c_str() + 8, nullptr, 10) * 1024;
    }
    return 0;
}

void MemoriaFisica(uint64_t& disponivel, uint64_t& total)
{
    struct sysinfo info{};
    if (sysinfo(&info) != 0) {
        disponivel = total = 0;
        return;
    }
    disponivel = static_cast<uint64_t>(info.freeram) * info.mem_unit;
    total = static_cast<uint64_t>(info.totalram) * info.mem_unit;
}

bool SessaoRemota()
{
    return std::getenv("SSH_CONNECTION") != nullptr || std::getenv("SSH_CLIENT") != nullptr;
}

std::string NomeUsuarioSO()
{
    long tamanho = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::string buffer(tamanho > 0 ? static_cast<size_t>(tamanho) : 16384, '\0');
    passwd pw{};
    passwd* achado = nullptr;
    while (getpwuid_r(geteuid(), &pw, buffer.data(), buffer.size(), &achado) == ERANGE)
        buffer.resize(buffer.size() * 2);
    if (achado && achado->pw_name)
        return Utf8ParaAnsi(achado->pw_name);
    return VariavelAmbiente("USER");
}

DWORD IdThread()
{
    return static_cast<DWORD>(gettid());
}

DWORD IdProcesso()
{
    return static_cast<DWORD>(getpid());
}

// A process that ended but was not yet reaped by its parent (a zombie) no longer runs.
bool ProcessoVivo(DWORD pid)
{
    if (kill(pid_t(pid), 0) != 0 && errno != EPERM)
        return false;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string linha;
    std::getline(stat, linha);
    const size_t fim = linha.rfind(')');
    return fim == std::string::npos || fim + 2 >= linha.size() || linha[fim + 2] != 'Z';
}

bool TerminaProcesso(DWORD pid) { return kill(pid_t(pid), SIGKILL) == 0; }

std::string VariavelAmbiente(const char* nome)
{
    if (!nome)
        return {};
    const char* valor = std::getenv(AnsiParaUtf8(nome).c_str());
    return valor ? Utf8ParaAnsi(valor) : std::string();
}

bool DefineVariavelAmbiente(const char* nome, const char* valor)
{
    if (!nome || !*nome)
        return false;
    const std::string nomeUtf8 = AnsiParaUtf8(nome);
    // A null value removes the variable, as on Windows.
    if (!valor)
        return unsetenv(nomeUtf8.c_str()) == 0;
    return setenv(nomeUtf8.c_str(), AnsiParaUtf8(valor).c_str(), 1) == 0;
}

std::string DiretorioTemporario()
{
    std::string dir = VariavelAmbiente("TMPDIR");
    if (dir.empty())
        dir = "/tmp";
    if (dir.back() != '/')
        dir += '/';
    return dir;
}

bool DefineDiretorioAtual(const char* diretorio)
{
    return diretorio && chdir(posix::CaminhoNativo(diretorio).c_str()) == 0;
}

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

bool ErroEhTerminal() { return isatty(2) == 1; }

} // namespace plataforma
