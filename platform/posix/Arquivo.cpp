// Files with the Windows sharing rules, emulated with open-file-description locks.
//
// Each handle announces what it does and what it denies by a shared lock on one of four
// reserved bytes far beyond any data; an opener first tests the bytes that would conflict.
// A whole-file flock() serves as the short guard that makes test-then-take atomic: it is
// independent of the byte-range locks and works on read-only descriptors.
#include "platform/Arquivo.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Contadores.h"
#include "platform/FalhasArquivo.h"
#include "platform/Texto.h"
#include "platform/posix/ErroPosix.h"

namespace plataforma {

namespace {

// The reserved bytes, ordered so that the usual modes touch one contiguous run each: 'G' and
// 'C' announce bytes 1 to 3 and test 2 to 4, 'L' announces 1 and tests 4, a mark takes all four.
constexpr off_t kBase = off_t(1) << 62;
enum : unsigned {
    kTemLeitura = 1u << 0,
    kTemEscrita = 1u << 1,
    kNegaEscrita = 1u << 2,
    kNegaLeitura = 1u << 3,
};

struct flock Faixa(short tipo, unsigned primeiro, unsigned quantos)
{
    struct flock fl {};
    fl.l_type = tipo;
    fl.l_whence = SEEK_SET;
    fl.l_start = kBase + 1 + off_t(primeiro);
    fl.l_len = off_t(quantos);
    return fl;
}

// Calls acao once per contiguous run of the bytes in `bytes`; false when one call fails.
template <typename Acao>
bool PorFaixa(unsigned bytes, Acao acao)
{
    for (unsigned i = 0; i < 4;) {
        if (!(bytes & (1u << i))) {
            ++i;
            continue;
        }
        unsigned n = 0;
        while (i + n < 4 && (bytes & (1u << (i + n))))
            ++n;
        if (!acao(i, n))
            return false;
        i += n;
    }
    return true;
}

// Does another handle hold any of the bytes?
bool Ocupado(int fd, unsigned bytes)
{
    return !PorFaixa(bytes, [fd](unsigned primeiro, unsigned quantos) {
        struct flock fl = Faixa(F_WRLCK, primeiro, quantos);
        return fcntl(fd, F_OFD_GETLK, &fl) == 0 && fl.l_type == F_UNLCK;
    });
}

bool Anuncia(int fd, unsigned bytes)
{
    return PorFaixa(bytes, [fd](unsigned primeiro, unsigned quantos) {
        struct flock fl = Faixa(F_RDLCK, primeiro, quantos);
        return fcntl(fd, F_OFD_SETLK, &fl) == 0;
    });
}

// Holds the whole-file guard for the lifetime of the object.
class Guarda {
public:
    explicit Guarda(int fd) : m_fd(fd)
    {
        while (flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~Guarda() { flock(m_fd, LOCK_UN); }
    Guarda(const Guarda&) = delete;
    Guarda& operator=(const Guarda&) = delete;

private:
    int m_fd;
};

// Does anybody hold this file open? (Windows refuses delete and rename then.)
bool AlguemAbriu(int fd) { return Ocupado(fd, kTemLeitura | kTemEscrita); }

bool SomenteLeitura(const struct stat& st) { return (st.st_mode & 0222) == 0; }

// ENOENT is "path not found" when the directory itself is missing.
DWORD ErroDeAusencia(const std::string& nativo)
{
    size_t barra = nativo.rfind('/');
    if (barra == std::string::npos || barra == 0)
        return erro::ArquivoNaoEncontrado;
    struct stat st;
    std::string dir = nativo.substr(0, barra);
    if (stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return erro::CaminhoNaoEncontrado;
    return erro::ArquivoNaoEncontrado;
}

// Does the path still name the file behind fd (whose attributes are `st`)? A holder may have
// deleted or renamed it between our open and our locks; then the open must start again.
bool MesmoArquivo(const struct stat& st, const std::string& nativo)
{
    struct stat b;
    return stat(nativo.c_str(), &b) == 0 && st.st_dev == b.st_dev && st.st_ino == b.st_ino;
}

// Opens the file itself (no sharing checks yet). existia tells whether it was there.
// Non-blocking, so that a FIFO in the file's place is refused instead of waiting for a writer.
int AbreDescritor(const std::string& nativo, const ModoArquivo& modo, bool& existia, DWORD& erroSO)
{
    const int acesso = modo.escrita ? O_RDWR : O_RDONLY;
    for (;;) {
        int fd = open(nativo.c_str(), acesso | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0 && errno == EISDIR) {
            erroSO = erro::TipoDispositivoInvalido;
            return -1;
        }
        if (fd < 0 && errno == EACCES && modo.escrita) {
            // A read-only file: Windows answers access denied, even to an administrator.
            erroSO = erro::AcessoNegado;
            return -1;
        }
        if (fd >= 0) {
            existia = true;
            return fd;
        }
        if (errno != ENOENT || modo.disposicao == Disposicao::AbreExistente) {
            erroSO = errno == ENOENT ? ErroDeAusencia(nativo) : posix::ErroDeErrno(errno);
            return -1;
        }
        fd = open(nativo.c_str(), acesso | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            existia = false;
            return fd;
        }
        if (errno != EEXIST) {
            erroSO = errno == ENOENT ? ErroDeAusencia(nativo) : posix::ErroDeErrno(errno);
            return -1;
        }
        // Somebody created it meanwhile: open the existing one.
    }
}

} // namespace

ArquivoSO::~ArquivoSO() { Fecha(); }

bool ArquivoSO::EstaAberto() const { return m_fd >= 0; }

DWORD ArquivoSO::Abre(const char* caminho, const ModoArquivo& modo)
{
    Fecha();
    if (const DWORD falha = FalhaDaOperacao(OperacaoArquivo::Abre))
        return falha;
    // As the Windows backend answers it.
    if (!caminho || !*caminho)
        return erro::NomeInvalido;
    for (;;) {
        // An open of an existing file tries the name found before without regard to case, else
        // the name as written; only a miss pays for the lookup. The system makes no twins that
        // differ in case only, so a remembered name that still opens is the file. A create must
        // look first, or it would make a twin.
        std::string nativo;
        if (modo.disposicao != Disposicao::AbreExistente)
            nativo = posix::CaminhoNativo(caminho);
        else if (nativo = AnsiParaUtf8(caminho); !nativo.empty())
            posix::NomeLembrado(std::string(nativo), nativo);
        bool existia = false;
        DWORD erroSO = 0;
        int fd = AbreDescritor(nativo, modo, existia, erroSO);
        if (fd < 0 && modo.disposicao == Disposicao::AbreExistente &&
            (erroSO == erro::ArquivoNaoEncontrado || erroSO == erro::CaminhoNaoEncontrado)) {
            std::string semCaixa = posix::CaminhoNativo(caminho);
            if (semCaixa != nativo) {
                nativo = std::move(semCaixa);
                fd = AbreDescritor(nativo, modo, existia, erroSO);
            }
        }
        if (fd < 0)
            return erroSO;
        struct stat st;
        if (fstat(fd, &st) != 0) {
            close(fd);
            return erro::AcessoNegado;
        }
        // A directory or a device in the file's place is refused at once: no retry can help.
        if (!S_ISREG(st.st_mode)) {
            close(fd);
            return erro::TipoDispositivoInvalido;
        }
        // O_NONBLOCK (which kept the open itself from waiting on a pipe) is left on: it has no
        // effect on a regular file's reads and writes.
        if (modo.escrita && SomenteLeitura(st)) {
            close(fd);
            return erro::AcessoNegado;
        }
        {
            Guarda guarda(fd);
            if (!MesmoArquivo(st, nativo)) {
                close(fd);
                continue;
            }
            // Every descriptor here reads.
            const unsigned verificar = kNegaLeitura | (modo.escrita ? kNegaEscrita : 0u) |
                                       (modo.compartilhaLeitura ? 0u : kTemLeitura) |
                                       (modo.compartilhaEscrita ? 0u : kTemEscrita);
            const unsigned anunciar = kTemLeitura | (modo.escrita ? kTemEscrita : 0u) |
                                      (modo.compartilhaLeitura ? 0u : kNegaLeitura) |
                                      (modo.compartilhaEscrita ? 0u : kNegaEscrita);
            if (Ocupado(fd, verificar)) {
                close(fd);
                return erro::ViolacaoCompartilhamento;
            }
            if (!Anuncia(fd, anunciar)) {
                DWORD e = posix::ErroDeErrno(errno);
                close(fd);
                return e;
            }
        }
        if (existia && modo.disposicao == Disposicao::CriaSempre && ftruncate(fd, 0) != 0) {
            DWORD e = posix::ErroDeErrno(errno);
            close(fd);
            return e;
        }
        m_fd = fd;
        m_posicao = 0;
        m_tamanho = -1;
        m_travada = false;
        // The length a sole writer keeps is read only now that its locks deny other writers: one
        // that appended and closed between the first look and the locks has changed it.
        if (modo.escrita && !modo.compartilhaEscrita)
            m_tamanho = TamanhoAtual();
        m_jaExistia = existia && modo.disposicao != Disposicao::AbreExistente;
        return 0;
    }
}

DWORD ArquivoSO::Fecha()
{
    m_travada = false;
    if (m_fd < 0)
        return 0;
    // A refused close keeps the handle, as a failed CloseHandle would.
    if (const DWORD falha = FalhaDaOperacao(OperacaoArquivo::Fecha))
        return falha;
    int r = close(m_fd);
    m_fd = -1;
    return r == 0 ? 0 : posix::ErroDeErrno(errno);
}

DWORD ArquivoSO::Le(void* destino, DWORD n, DWORD& lidos)
{
    lidos = 0;
    if (const DWORD falha = FalhaDaOperacao(OperacaoArquivo::Le))
        return falha;
    if (m_fd < 0)
        return erro::HandleInvalido;
    ContaLeituraPlataforma();
    auto* p = static_cast<char*>(destino);
    while (lidos < n) {
        const DWORD pedido = n - lidos;
        const ssize_t r = pread(m_fd, p + lidos, pedido, m_posicao);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            return posix::ErroDeErrno(errno);
        }
        lidos += DWORD(r);
        m_posicao += r;
        // A regular file reads short only at its end: asking again would just answer 0.
        if (DWORD(r) < pedido)
            break;
    }
    return 0;
}

DWORD ArquivoSO::Grava(const void* origem, DWORD n)
{
    if (const DWORD falha = FalhaDaOperacao(OperacaoArquivo::Grava))
        return falha;
    if (m_fd < 0)
        return erro::HandleInvalido;
    const auto* p = static_cast<const char*>(origem);
    DWORD feitos = 0;
    while (feitos < n) {
        ssize_t r = pwrite(m_fd, p + feitos, n - feitos, m_posicao);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            return errno == EBADF ? erro::AcessoNegado : posix::ErroDeErrno(errno);
        }
        feitos += DWORD(r);
        m_posicao += r;
    }
    if (m_tamanho >= 0 && m_posicao > m_tamanho)
        m_tamanho = m_posicao;
    return 0;
}

int64_t ArquivoSO::TamanhoAtual()
{
    if (m_tamanho >= 0)
        return m_tamanho;
    struct stat st;
    return fstat(m_fd, &st) == 0 ? int64_t(st.st_size) : -1;
}

DWORD ArquivoSO::Posiciona(int64_t deslocamento, Origem origem, uint64_t* novaPosicao)
{
    if (const DWORD falha = FalhaDaOperacao(OperacaoArquivo::Posiciona))
        return falha;
    if (m_fd < 0)
        return erro::HandleInvalido;
    int64_t base = 0;
    if (origem == Origem::Atual) {
        base = m_posicao;
    } else if (origem == Origem::Fim) {
        base = TamanhoAtual();
        if (base < 0)
            return posix::ErroDeErrno(errno);
    }
    const int64_t nova = base + deslocamento;
    if (nova < 0)
        return erro::BuscaNegativa;
    m_posicao = nova;
    if (novaPosicao)
        *novaPosicao = uint64_t(nova);
    return 0;
}

DWORD ArquivoSO::Tamanho(uint64_t& tamanho)
{
    tamanho = 0;
    if (m_fd < 0)
        return erro::HandleInvalido;
    const int64_t atual = TamanhoAtual();
    if (atual < 0)
        return posix::ErroDeErrno(errno);
    tamanho = uint64_t(atual);
    return 0;
}

DWORD ArquivoSO::DefineFim()
{
    if (const DWORD falha = FalhaDaOperacao(OperacaoArquivo::DefineFim))
        return falha;
    if (m_fd < 0)
        return erro::HandleInvalido;
    if (ftruncate(m_fd, m_posicao) != 0)
        return errno == EBADF || errno == EINVAL ? erro::AcessoNegado : posix::ErroDeErrno(errno);
    if (m_tamanho >= 0)
        m_tamanho = m_posicao;
    return 0;
}

DWORD ArquivoSO::Descarrega()
{
    if (m_fd < 0)
        return erro::HandleInvalido;
    return fsync(m_fd) == 0 ? 0 : posix::ErroDeErrno(errno);
}

DWORD ArquivoSO::Identidade(IdentidadeArquivo& id) const
{
    id = {};
    struct stat st;
    if (m_fd < 0)
        return erro::HandleInvalido;
    if (fstat(m_fd, &st) != 0)
        return posix::ErroDeErrno(errno);
    id = {uint64_t(st.st_dev), uint64_t(st.st_ino)};
    return 0;
}

DWORD ArquivoSO::Trava(bool exclusiva, DWORD esperaMs)
{
    if (m_fd < 0)
        return erro::HandleInvalido;
    struct flock fl {};
    fl.l_type = exclusiva ? F_WRLCK : F_RDLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = kBase + 64;
    fl.l_len = 1;
    // An exclusive lock needs a descriptor open for writing; a reader's shared one does not.
    for (DWORD esperado = 0;; ++esperado) {
        if (fcntl(m_fd, F_OFD_SETLK, &fl) == 0) {
            m_travada = true;
            return 0;
        }
        if (errno != EAGAIN && errno != EACCES && errno != EINTR)
            return posix::ErroDeErrno(errno);
        if (esperado >= esperaMs)
            return erro::ViolacaoBloqueio;
        usleep(1000);
    }
}

DWORD ArquivoSO::Destrava()
{
    if (m_fd < 0 || !m_travada)
        return 0;
    struct flock fl {};
    fl.l_type = F_UNLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = kBase + 64;
    fl.l_len = 1;
    m_travada = false;
    return fcntl(m_fd, F_OFD_SETLK, &fl) == 0 ? 0 : posix::ErroDeErrno(errno);
}

namespace {

// The attributes of a path, as the file system names it.
DWORD StatCaminho(const char* caminho, std::string& nativo, struct stat& st)
{
    nativo = posix::CaminhoNativo(caminho);
    if (nativo.empty())
        return erro::CaminhoNaoEncontrado;
    if (stat(nativo.c_str(), &st) != 0)
        return errno == ENOENT ? ErroDeAusencia(nativo) : posix::ErroDeErrno(errno);
    return 0;
}

} // namespace

DWORD LeSomenteLeitura(const char* caminho, bool& somenteLeitura)
{
    somenteLeitura = false;
    std::string nativo;
    struct stat st;
    if (DWORD e = StatCaminho(caminho, nativo, st))
        return e;
    somenteLeitura = SomenteLeitura(st);
    return 0;
}

DWORD DefineSomenteLeitura(const char* caminho, bool somenteLeitura)
{
    std::string nativo;
    struct stat st;
    if (DWORD e = StatCaminho(caminho, nativo, st))
        return e;
    const mode_t modo = somenteLeitura ? (st.st_mode & ~mode_t(0222)) : (st.st_mode | S_IWUSR);
    return chmod(nativo.c_str(), modo) == 0 ? 0 : posix::ErroDeErrno(errno);
}

namespace {

// Runs acao on the file at nativo while no handle is open on it, under the guard.
template <typename Acao>
DWORD SemHandlesAbertos(const std::string& nativo, Acao acao)
{
    if (nativo.empty())
        return erro::CaminhoNaoEncontrado;
    for (;;) {
        int fd = open(nativo.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return errno == ENOENT ? ErroDeAusencia(nativo) : posix::ErroDeErrno(errno);
        struct stat st;
        if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
            close(fd);
            return erro::AcessoNegado;
        }
        DWORD r;
        {
            Guarda guarda(fd);
            if (!MesmoArquivo(st, nativo)) {
                close(fd);
                continue;
            }
            if (AlguemAbriu(fd))
                r = erro::ViolacaoCompartilhamento;
            else
                r = acao(st);
        }
        close(fd);
        return r;
    }
}

} // namespace

DWORD ApagaArquivo(const char* caminho)
{
    const std::string nativo = posix::CaminhoNativo(caminho);
    return SemHandlesAbertos(nativo, [&](const struct stat& st) -> DWORD {
        if (SomenteLeitura(st))
            return erro::AcessoNegado;
        return unlink(nativo.c_str()) == 0 ? 0 : posix::ErroDeErrno(errno);
    });
}

DWORD RenomeiaArquivo(const char* de, const char* para)
{
    const std::string origem = posix::CaminhoNativo(de);
    const std::string destino = posix::CaminhoNativo(para);
    if (destino.empty())
        return erro::CaminhoNaoEncontrado;
    return SemHandlesAbertos(origem, [&](const struct stat&) -> DWORD {
        if (renameat2(AT_FDCWD, origem.c_str(), AT_FDCWD, destino.c_str(), RENAME_NOREPLACE) == 0)
            return 0;
        if (errno == EEXIST)
            return erro::JaExiste;
        return errno == ENOENT ? ErroDeAusencia(destino) : posix::ErroDeErrno(errno);
    });
}

DWORD SubstituiArquivo(const char* de, const char* para)
{
    const std::string origem = posix::CaminhoNativo(de);
    const std::string destino = posix::CaminhoNativo(para);
    if (destino.empty())
        return erro::CaminhoNaoEncontrado;
    return SemHandlesAbertos(origem, [&](const struct stat&) -> DWORD {
        const auto troca = [&]() -> DWORD {
            return rename(origem.c_str(), destino.c_str()) == 0 ? 0 : posix::ErroDeErrno(errno);
        };
        // A missing target is a plain rename; an existing one must be free of handles too.
        const DWORD r = SemHandlesAbertos(destino, [&](const struct stat&) { return troca(); });
        return r == erro::ArquivoNaoEncontrado ? troca() : r;
    });
}

DWORD CriaLigacao(const char* existente, const char* nova)
{
    const std::string origem = posix::CaminhoNativo(existente);
    const std::string destino = posix::CaminhoNativo(nova);
    if (origem.empty() || destino.empty())
        return erro::CaminhoNaoEncontrado;
    if (link(origem.c_str(), destino.c_str()) == 0)
        return 0;
    if (errno == EEXIST)
        return erro::JaExiste;
    return errno == ENOENT ? ErroDeAusencia(origem) : posix::ErroDeErrno(errno);
}

DWORD CriaDiretorio(const char* caminho)
{
    const std::string nativo = posix::CaminhoNativo(caminho);
    if (nativo.empty())
        return erro::CaminhoNaoEncontrado;
    if (mkdir(nativo.c_str(), 0777) == 0)
        return 0;
    if (errno == EEXIST)
        return erro::JaExiste;
    return errno == ENOENT ? erro::CaminhoNaoEncontrado : posix::ErroDeErrno(errno);
}

DWORD DescarregaDiretorio(const char* caminho)
{
    const std::string nativo = posix::CaminhoNativo(caminho);
    const int fd = open(nativo.empty() ? "." : nativo.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? erro::CaminhoNaoEncontrado : posix::ErroDeErrno(errno);
    const int r = fsync(fd);
    const int e = errno;
    close(fd);
    return r == 0 ? 0 : posix::ErroDeErrno(e);
}

DWORD IdentidadeDoCaminho(const char* caminho, IdentidadeArquivo& id)
{
    id = {};
    // Asked before every call of a client: one look at the disk where the name is known.
    const std::string escrito = AnsiParaUtf8(caminho ? caminho : "");
    std::string nativo;
    if (!posix::NomeLembrado(escrito, nativo))
        nativo = escrito;
    struct stat st;
    if (nativo.empty() || stat(nativo.c_str(), &st) != 0)
        if (DWORD e = StatCaminho(caminho, nativo, st))
            return e;
    id = {uint64_t(st.st_dev), uint64_t(st.st_ino)};
    return 0;
}

DWORD RemoveDiretorio(const char* caminho)
{
    const std::string nativo = posix::CaminhoNativo(caminho);
    if (nativo.empty())
        return erro::CaminhoNaoEncontrado;
    if (rmdir(nativo.c_str()) == 0)
        return 0;
    return errno == ENOENT ? erro::ArquivoNaoEncontrado : posix::ErroDeErrno(errno);
}

} // namespace plataforma
