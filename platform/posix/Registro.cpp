// The registry as one .reg-syntax file. Readers take no lock: writers replace the
// file by rename, so a reader sees either the old or the new text, whole.
// Writers serialize on a lock file beside it and redo read-modify-write under it.
#include "platform/Registro.h"

#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/Erros.h"
#include "platform/Texto.h"
#include "platform/posix/ErroPosix.h"
#include "platform/posix/FormatoReg.h"

namespace plataforma {

namespace {

using posix::BaseReg;
using posix::ChaveReg;
using posix::ErroDeErrno;
using posix::ValorReg;

// What RegGetValue answers for a value of another type, and for a handle whose key was deleted.
constexpr DWORD kTipoNaoSuportado = 1630;
constexpr DWORD kChaveApagada = 1018;

const char* NomeRaiz(RaizRegistro raiz)
{
    switch (raiz) {
    case RaizRegistro::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case RaizRegistro::CurrentUser: return "HKEY_CURRENT_USER";
    case RaizRegistro::ClassesRoot: return "HKEY_CLASSES_ROOT";
    }
    return "HKEY_LOCAL_MACHINE";
}

// Full key name in UTF-8, as the file writes it.
std::string CaminhoCompleto(RaizRegistro raiz, const char* subchave)
{
    std::string caminho = NomeRaiz(raiz);
    for (const std::string& c : posix::ComponentesChave(AnsiParaUtf8(subchave ? subchave : "")))
        caminho += '\\' + c;
    return caminho;
}

std::string NomeUtf8(const char* nome)
{
    return AnsiParaUtf8(nome ? nome : "");
}

std::string DiretorioConfiguracao()
{
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        return xdg;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.config";
    if (const passwd* pw = getpwuid(geteuid()))
        return std::string(pw->pw_dir) + "/.config";
    return "/tmp";
}

// Read at every use: tests point it at a file of their own.
std::string ArquivoRegistro()
{
    if (const char* caminho = std::getenv("ZAZAZU_REGISTRY"); caminho && *caminho)
        return caminho;
    return DiretorioConfiguracao() + "/zazazu/registro.reg";
}

std::string DiretorioDe(const std::string& caminho)
{
    size_t barra = caminho.rfind('/');
    if (barra == std::string::npos)
        return ".";
    return barra == 0 ? "/" : caminho.substr(0, barra);
}

DWORD CriaDiretorios(const std::string& dir)
{
    struct stat st;
    if (dir.empty() || stat(dir.c_str(), &st) == 0)
        return erro::Nenhum;
    const std::string pai = DiretorioDe(dir);
    if (pai != dir)
        if (DWORD e = CriaDiretorios(pai))
            return e;
    if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST)
        return ErroDeErrno(errno);
    return erro::Nenhum;
}

// A missing file is an empty registry.
DWORD LeArquivo(const std::string& caminho, std::string& texto)
{
    texto.clear();
    int fd = open(caminho.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? erro::Nenhum : ErroDeErrno(errno);
    char bloco[16384];
    DWORD resultado = erro::Nenhum;
    for (;;) {
        ssize_t n = read(fd, bloco, sizeof bloco);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            resultado = ErroDeErrno(errno);
        if (n <= 0)
            break;
        texto.append(bloco, static_cast<size_t>(n));
    }
    close(fd);
    return resultado;
}

DWORD GravaTudo(int fd, const std::string& texto)
{
    size_t feito = 0;
    while (feito < texto.size()) {
        ssize_t n = write(fd, texto.data() + feito, texto.size() - feito);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return ErroDeErrno(errno);
        feito += static_cast<size_t>(n);
    }
    return erro::Nenhum;
}

// Temporary file in the same directory, flushed, then renamed over the old one.
DWORD GravaAtomico(const std::string& caminho, const std::string& texto)
{
    std::string temporario = caminho + ".XXXXXX";
    int fd = mkostemp(temporario.data(), O_CLOEXEC);
    if (fd < 0)
        return ErroDeErrno(errno);
    struct stat st;
    fchmod(fd, stat(caminho.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
    DWORD e = GravaTudo(fd, texto);
    if (!e && fsync(fd) != 0)
        e = ErroDeErrno(errno);
    if (close(fd) != 0 && !e)
        e = ErroDeErrno(errno);
    if (!e && rename(temporario.c_str(), caminho.c_str()) != 0)
        e = ErroDeErrno(errno);
    if (e) {
        unlink(temporario.c_str());
        return e;
    }
    // The rename itself reaches the disk with the directory.
    int dir = open(DiretorioDe(caminho).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return erro::Nenhum;
}

// Exclusive lock on "<file>.lock", held for the life of the object.
// flock belongs to the open file description, so it also excludes other threads.
class TravaEscrita {
public:
    explicit TravaEscrita(const std::string& arquivo)
    {
        if ((m_erro = CriaDiretorios(DiretorioDe(arquivo))))
            return;
        m_fd = open((arquivo + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (m_fd < 0) {
            m_erro = ErroDeErrno(errno);
            return;
        }
        while (flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                m_erro = ErroDeErrno(errno);
                break;
            }
        }
    }
    ~TravaEscrita()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    TravaEscrita(const TravaEscrita&) = delete;
    TravaEscrita& operator=(const TravaEscrita&) = delete;
    DWORD Erro() const { return m_erro; }

private:
    int m_fd = -1;
    DWORD m_erro = erro::Nenhum;
};

// The last text read and its parse: reads of an unchanged file skip the parse.
struct Memoria {
    std::mutex trava;
    std::string caminho;
    std::string texto;
    std::shared_ptr<const BaseReg> base;
};

Memoria& MemoriaProcesso()
{
    static Memoria memoria;
    return memoria;
}

std::shared_ptr<const BaseReg> Interpreta(const std::string& caminho, std::string texto)
{
    Memoria& m = MemoriaProcesso();
    std::lock_guard trava(m.trava);
    if (!m.base || m.caminho != caminho || m.texto != texto) {
        m.base = std::make_shared<const BaseReg>(posix::LeFormatoReg(texto));
        m.caminho = caminho;
        m.texto = std::move(texto);
    }
    return m.base;
}

DWORD Carrega(std::shared_ptr<const BaseReg>& base)
{
    const std::string caminho = ArquivoRegistro();
    std::string texto;
    if (DWORD e = LeArquivo(caminho, texto))
        return e;
    base = Interpreta(caminho, std::move(texto));
    return erro::Nenhum;
}

// Read-modify-write under the lock; the change answers 0 or an error, and says whether it changed anything.
DWORD Altera(const std::function<DWORD(BaseReg&, bool&)>& mudanca)
{
    const std::string caminho = ArquivoRegistro();
    TravaEscrita trava(caminho);
    if (DWORD e = trava.Erro())
        return e;
    std::string texto;
    if (DWORD e = LeArquivo(caminho, texto))
        return e;
    BaseReg base = *Interpreta(caminho, std::move(texto));
    bool alterou = false;
    if (DWORD e = mudanca(base, alterou))
        return e;
    if (!alterou)
        return erro::Nenhum;
    std::string novo = posix::EscreveFormatoReg(base);
    if (DWORD e = GravaAtomico(caminho, novo))
        return e;
    Interpreta(caminho, std::move(novo));
    return erro::Nenhum;
}

// %NAME% references as ExpandEnvironmentStrings resolves them; unknown ones stay as written.
std::string ExpandeAmbiente(const std::string& texto)
{
    std::string saida;
    size_t i = 0;
    while (i < texto.size()) {
        size_t abre = texto.find('%', i);
        size_t fecha = abre == std::string::npos ? std::string::npos : texto.find('%', abre + 1);
        if (fecha == std::string::npos) {
            saida += texto.substr(i);
            break;
        }
        saida += texto.substr(i, abre - i);
        const std::string nome = texto.substr(abre + 1, fecha - abre - 1);
        const char* valor = nome.empty() ? nullptr : std::getenv(nome.c_str());
        if (valor) {
            saida += valor;
            i = fecha + 1;
        } else {
            saida += texto.substr(abre, fecha - abre);
            i = fecha;
        }
    }
    return saida;
}

} // namespace

ChaveRegistro::~ChaveRegistro()
{
    Fecha();
}

DWORD ChaveRegistro::Abre(RaizRegistro raiz, const char* subchave, bool escrita)
{
    Fecha();
    std::shared_ptr<const BaseReg> base;
    if (DWORD e = Carrega(base))
        return e;
    std::string caminho = CaminhoCompleto(raiz, subchave);
    if (!base->Existe(caminho))
        return erro::ArquivoNaoEncontrado;
    m_raiz = raiz;
    m_caminho = std::move(caminho);
    m_escrita = escrita;
    m_aberta = true;
    return erro::Nenhum;
}

DWORD ChaveRegistro::Cria(RaizRegistro raiz, const char* subchave)
{
    Fecha();
    std::string caminho = CaminhoCompleto(raiz, subchave);
    DWORD e = Altera([&](BaseReg& base, bool& alterou) {
        alterou = !base.Existe(caminho);
        if (alterou)
            base.Cria(caminho);
        return erro::Nenhum;
    });
    if (e)
        return e;
    m_raiz = raiz;
    m_caminho = std::move(caminho);
    m_escrita = true;
    m_aberta = true;
    return erro::Nenhum;
}

void ChaveRegistro::Fecha()
{
    m_aberta = false;
    m_escrita = false;
    m_caminho.clear();
}

bool ChaveRegistro::EstaAberta() const
{
    return m_aberta;
}

namespace {

// The value of an open key from the current file, or the error of not finding it.
DWORD LeValor(const std::string& caminhoChave, const char* nome, ValorReg& valor)
{
    std::shared_ptr<const BaseReg> base;
    if (DWORD e = Carrega(base))
        return e;
    const ChaveReg* chave = base->Chave(caminhoChave);
    if (!chave)
        return base->Existe(caminhoChave) ? erro::ArquivoNaoEncontrado : kChaveApagada;
    const ValorReg* achado = chave->Valor(NomeUtf8(nome));
    if (!achado)
        return erro::ArquivoNaoEncontrado;
    valor = *achado;
    return erro::Nenhum;
}

// Changes a value of an existing key; a root has no values of its own.
DWORD MudaValor(const std::string& caminhoChave, const std::function<DWORD(ChaveReg&, bool&)>& mudanca)
{
    return Altera([&](BaseReg& base, bool& alterou) {
        ChaveReg* chave = base.Chave(caminhoChave);
        if (!chave)
            return base.Existe(caminhoChave) ? erro::AcessoNegado : kChaveApagada;
        return mudanca(*chave, alterou);
    });
}

// Sets a value of an existing key (an existing name keeps its case); the file is rewritten
// only when the value is new or its type or data change.
DWORD GravaValor(const std::string& caminhoChave, const char* nome, const ValorReg& novo)
{
    const std::string n = NomeUtf8(nome);
    return MudaValor(caminhoChave, [&](ChaveReg& chave, bool& alterou) {
        const bool existia = chave.Valor(n) != nullptr;
        ValorReg& v = chave.DefineValor(n);
        alterou = !existia || v.tipo != novo.tipo || v.texto != novo.texto || v.dword != novo.dword ||
                  v.bruto != novo.bruto;
        v.tipo = novo.tipo;
        v.texto = novo.texto;
        v.dword = novo.dword;
        v.bruto = novo.bruto;
        return erro::Nenhum;
    });
}

} // namespace

DWORD ChaveRegistro::LeDword(const char* nome, DWORD& valor) const
{
    if (!m_aberta)
        return erro::HandleInvalido;
    ValorReg lido;
    if (DWORD e = LeValor(m_caminho, nome, lido))
        return e;
    if (lido.tipo != posix::kRegDword)
        return kTipoNaoSuportado;
    valor = lido.dword;
    return erro::Nenhum;
}

DWORD ChaveRegistro::LeTexto(const char* nome, std::string& valor, bool expande) const
{
    if (!m_aberta)
        return erro::HandleInvalido;
    ValorReg lido;
    if (DWORD e = LeValor(m_caminho, nome, lido))
        return e;
    if (lido.tipo != posix::kRegSz && lido.tipo != posix::kRegExpandSz)
        return kTipoNaoSuportado;
    if (expande && lido.tipo == posix::kRegExpandSz)
        lido.texto = ExpandeAmbiente(lido.texto);
    valor = Utf8ParaAnsi(lido.texto);
    return erro::Nenhum;
}

DWORD ChaveRegistro::GravaDword(const char* nome, DWORD valor)
{
    if (!m_aberta)
        return erro::HandleInvalido;
    if (!m_escrita)
        return erro::AcessoNegado;
    ValorReg novo;
    novo.tipo = posix::kRegDword;
    novo.dword = valor;
    return GravaValor(m_caminho, nome, novo);
}

DWORD ChaveRegistro::GravaTexto(const char* nome, const char* valor)
{
    if (!m_aberta)
        return erro::HandleInvalido;
    if (!m_escrita)
        return erro::AcessoNegado;
    ValorReg novo;
    novo.tipo = posix::kRegSz;
    novo.texto = NomeUtf8(valor);
    return GravaValor(m_caminho, nome, novo);
}

DWORD ChaveRegistro::ApagaValor(const char* nome)
{
    if (!m_aberta)
        return erro::HandleInvalido;
    if (!m_escrita)
        return erro::AcessoNegado;
    return MudaValor(m_caminho, [&](ChaveReg& chave, bool& alterou) {
        alterou = chave.ApagaValor(NomeUtf8(nome));
        return alterou ? erro::Nenhum : erro::ArquivoNaoEncontrado;
    });
}

DWORD ApagaChaveRegistro(RaizRegistro raiz, const char* subchave)
{
    const std::string caminho = CaminhoCompleto(raiz, subchave);
    // An empty subkey would empty the whole root.
    if (posix::ComponentesChave(caminho).size() <= 1)
        return erro::ParametroInvalido;
    return Altera([&](BaseReg& base, bool& alterou) {
        alterou = base.Apaga(caminho);
        return alterou ? erro::Nenhum : erro::ArquivoNaoEncontrado;
    });
}

DWORD SubchavesRegistro(RaizRegistro raiz, const char* subchave, std::vector<std::string>& nomes)
{
    nomes.clear();
    std::shared_ptr<const BaseReg> base;
    if (DWORD e = Carrega(base))
        return e;
    const std::string caminho = CaminhoCompleto(raiz, subchave);
    if (!base->Existe(caminho))
        return erro::ArquivoNaoEncontrado;
    const size_t nivel = posix::ComponentesChave(caminho).size();
    for (const auto& [dobrado, chave] : base->Chaves()) {
        const auto componentes = posix::ComponentesChave(chave.nome);
        if (componentes.size() == nivel + 1 && base->Chave(caminho) == base->Chave(chave.nome.substr(0, chave.nome.rfind('\\'))))
            nomes.push_back(Utf8ParaAnsi(componentes.back()));
    }
    return erro::Nenhum;
}

} // namespace plataforma
