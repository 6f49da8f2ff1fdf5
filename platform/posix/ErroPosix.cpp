#include "platform/posix/ErroPosix.h"

#include <dirent.h>
#include <errno.h>
#include <sys/stat.h>

#include <mutex>
#include <unordered_map>

#include "platform/Erros.h"
#include "platform/Texto.h"

namespace plataforma::posix {

DWORD ErroDeErrno(int e)
{
    switch (e) {
    case 0: return erro::Nenhum;
    case ENOENT: return erro::ArquivoNaoEncontrado;
    case ENOTDIR: return erro::CaminhoNaoEncontrado;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return erro::AcessoNegado;
    case EMFILE:
    case ENFILE: return erro::MuitosArquivosAbertos;
    case EBADF: return erro::HandleInvalido;
    case ENOMEM: return erro::SemMemoria;
    case EBUSY:
    case ETXTBSY: return erro::ViolacaoCompartilhamento;
    case EAGAIN: return erro::ViolacaoBloqueio;
    case ENOSPC:
    case EDQUOT: return erro::DiscoCheio;
    case EEXIST: return erro::ArquivoExiste;
    case ENOTEMPTY: return erro::DiretorioNaoVazio;
    case ENAMETOOLONG: return erro::NomeMuitoLongo;
    case EINVAL: return erro::ParametroInvalido;
    case ESPIPE: return erro::Busca;
    case EIO: return erro::GeralFalha;
    case ENXIO:
    case ENODEV: return erro::DispositivoNaoPronto;
    case EFBIG: return erro::DiscoCheio;
    case ELOOP: return erro::NomeInvalido;
    case ETIMEDOUT: return erro::TempoEsgotado;
    default: return erro::GeralFalha;
    }
}

namespace {

bool Existe(const std::string& caminho)
{
    struct stat st;
    return lstat(caminho.c_str(), &st) == 0;
}

// Finds the entry of dir whose name equals nome without regard to case.
bool ProcuraSemCaixa(const std::string& dir, const std::string& nomeUtf8, std::string& achado)
{
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d)
        return false;
    const std::string procurado = Utf8ParaAnsi(nomeUtf8);
    bool ok = false;
    while (dirent* e = readdir(d)) {
        if (IguaisSemCaixa(Utf8ParaAnsi(e->d_name), procurado)) {
            achado = e->d_name;
            ok = true;
            break;
        }
    }
    closedir(d);
    return ok;
}

// The names last found without regard to case: a lookup costs a listing of the directory, and
// the same few data files are named again and again.
class CacheNomes {
public:
    bool Busca(const std::string& escrito, std::string& nativo)
    {
        std::lock_guard<std::mutex> t(m_trava);
        const auto it = m_nomes.find(escrito);
        if (it == m_nomes.end())
            return false;
        nativo = it->second;
        return true;
    }
    void Guarda(const std::string& escrito, const std::string& nativo)
    {
        std::lock_guard<std::mutex> t(m_trava);
        if (m_nomes.size() >= 1024)
            m_nomes.clear();
        m_nomes[escrito] = nativo;
    }

private:
    std::mutex m_trava;
    std::unordered_map<std::string, std::string> m_nomes;
};

CacheNomes& Cache()
{
    static CacheNomes cache;
    return cache;
}

} // namespace

bool NomeLembrado(const std::string& caminhoUtf8, std::string& nativo) { return Cache().Busca(caminhoUtf8, nativo); }

std::string CaminhoNativo(const char* caminhoAnsi)
{
    std::string caminho = AnsiParaUtf8(caminhoAnsi ? caminhoAnsi : "");
    // A name found before is trusted while it still names something: one look instead of two.
    std::string lembrado;
    if (!caminho.empty() && Cache().Busca(caminho, lembrado) && Existe(lembrado))
        return lembrado;
    if (caminho.empty() || Existe(caminho))
        return caminho;
    // Rebuild component by component, only where the name as written is missing.
    std::string resolvido;
    size_t i = 0;
    if (caminho[0] == '/') {
        resolvido = "/";
        i = 1;
    }
    while (i <= caminho.size()) {
        size_t fim = caminho.find('/', i);
        if (fim == std::string::npos)
            fim = caminho.size();
        std::string comp = caminho.substr(i, fim - i);
        if (!comp.empty()) {
            std::string candidato = resolvido + comp;
            if (!Existe(candidato) && comp != "." && comp != "..") {
                std::string achado;
                if (ProcuraSemCaixa(resolvido, comp, achado))
                    candidato = resolvido + achado;
            }
            resolvido = candidato;
            if (fim < caminho.size())
                resolvido += '/';
        }
        i = fim + 1;
    }
    if (resolvido != caminho && Existe(resolvido))
        Cache().Guarda(caminho, resolvido);
    return resolvido;
}

} // namespace plataforma::posix
