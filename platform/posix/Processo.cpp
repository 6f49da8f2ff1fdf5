#include "platform/Processo.h"

#include <dlfcn.h>
#include <errno.h>
#include <link.h>
#include <pwd.h>
#include <signal.h>
#include <sys/sysinfo.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "platform/Erros.h"
#include "platform/Sincronizacao.h"
#include "platform/Texto.h"
#include "platform/posix/ErroPosix.h"

namespace plataforma {


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

bool ErroEhTerminal() { return isatty(2) == 1; }

} // namespace plataforma
