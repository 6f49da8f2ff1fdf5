#include "df/tqlibex/TQArq.h"

#include "df/tqlibex/CodigosMarca.h"
#include "df/tqlibex/MarcaArquivo.h"
#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Tempo.h"

namespace {

using plataforma::Disposicao;
using plataforma::ModoArquivo;

constexpr int kAvistamentos = 90;
constexpr DWORD kPassoAnterior = 2;

// The current scheme is in force where the suite left its marker beside the data directories.
bool EsquemaAtual(const std::string& diretorio)
{
    const std::string marcador =
        CTQPath::Combina(CTQPath::GetParentPath(diretorio), std::string("DF") + plataforma::kSeparador + "marcanovo.dat");
    plataforma::ArquivoSO arquivo;
    return arquivo.Abre(marcador.c_str(), ModoArquivo{true, false, true, true, Disposicao::AbreExistente}) == 0;
}

} // namespace

CTQarq::~CTQarq() { Desmarca(); }

uint32_t CTQarq::Marca(const std::string& diretorio, uint8_t tipo, uint32_t dono, const char* modulo)
{
    if (m_arquivo.EstaAberto())
        return statusmarca::Ocupada;
    if (!EsquemaAtual(diretorio))
        return MarcaAnterior(diretorio, tipo, uint8_t(dono & 0xFF), modulo);
    m_bEsquemaAnterior = false;
    const std::string caminho = CaminhoNoDiretorio(diretorio, "XXMARCA" + std::to_string(tipo) + ".DAT");
    return TomaMarcaAtual(m_arquivo, caminho, EsquemaMarca::ArqAtual, tipo, false);
}

uint32_t CTQarq::LeRegistroMarca(uint8_t registro[2])
{
    registro[0] = registro[1] = 0;
    DWORD lidos = 0;
    if (DWORD e = m_arquivo.Posiciona(0, plataforma::Origem::Inicio))
        return e;
    return m_arquivo.Le(registro, 2, lidos);
}

namespace {

std::string ArquivoMarcaAnterior(const std::string& diretorio, const char* modulo)
{
    const std::string nome = modulo && *modulo ? std::string(modulo) + "CMARCA.DAT" : std::string("CNCMARCA.DAT");
    return CaminhoNoDiretorio(diretorio, nome);
}

} // namespace

uint32_t CTQarq::LiberaMarcaDeixada(const std::string& diretorio, uint8_t& tipo, const char* modulo)
{
    tipo = 0;
    const std::string caminho = ArquivoMarcaAnterior(diretorio, modulo);
    plataforma::ArquivoSO arquivo;
    const DWORD e = arquivo.Abre(caminho.c_str(), ModoArquivo{true, true, true, false, Disposicao::AbreExistente});
    // No file, or a holder alive: nothing was left behind.
    if (e == plataforma::erro::ArquivoNaoEncontrado || e == plataforma::erro::ViolacaoCompartilhamento)
        return 0;
    if (e)
        return uint32_t(plataforma::HResultDoErro(e));
    uint8_t registro[2] = {0, 0};
    DWORD lidos = 0;
    if (DWORD el = arquivo.Le(registro, 2, lidos))
        return uint32_t(plataforma::HResultDoErro(el));
    if (registro[0] == 0)
        return 0;
    const uint8_t livre[2] = {0, 0};
    DWORD eg = arquivo.Posiciona(0, plataforma::Origem::Inicio);
    if (!eg)
        eg = arquivo.Grava(livre, 2);
    if (!eg)
        eg = arquivo.Descarrega();
    if (eg)
        return uint32_t(plataforma::HResultDoErro(eg));
    tipo = registro[0];
    return 0;
}

uint32_t CTQarq::MarcaAnterior(const std::string& diretorio, uint8_t tipo, uint8_t dono, const char* modulo)
{
    const std::string caminho = ArquivoMarcaAnterior(diretorio, modulo);
    const ModoArquivo exclusivo{true, true, true, false, Disposicao::AbreExistente};
    int avistamentos = 0;
    for (;;) {
        const DWORD e = m_arquivo.Abre(caminho.c_str(), exclusivo);
        if (e == plataforma::erro::AcessoNegado)
            return statusarq::AcessoNegado.Codigo();
        uint8_t registro[2];
        if (e == 0) {
            LeRegistroMarca(registro);
            if (registro[0] != 0) {
                // Left by a process that died holding it: nobody holds the file, yet the record says taken.
                m_dono = registro[1];
                m_arquivo.Fecha();
                return statusmarca::Deixada;
            }
            const uint8_t meu[2] = {tipo, dono};
            m_arquivo.Posiciona(0, plataforma::Origem::Inicio);
            if (DWORD eg = m_arquivo.Grava(meu, 2)) {
                m_arquivo.Fecha();
                return uint32_t(plataforma::HResultDoErro(eg));
            }
            m_bEsquemaAnterior = true;
            return 0;
        }
        // Somebody holds it (or it does not exist yet): look at what is held.
        plataforma::ArquivoSO leitor;
        if (leitor.Abre(caminho.c_str(), ModoArquivo{true, false, true, true, Disposicao::AbreExistente}) != 0) {
            if (leitor.Abre(caminho.c_str(), ModoArquivo{true, true, true, true, Disposicao::AbreSempre}) == 0) {
                const uint8_t livre[2] = {0, 0};
                leitor.Grava(livre, 2);
            }
        }
        registro[0] = registro[1] = 0;
        if (leitor.EstaAberto()) {
            DWORD lidos = 0;
            leitor.Posiciona(0, plataforma::Origem::Inicio);
            leitor.Le(registro, 2, lidos);
            leitor.Fecha();
        }
        if (registro[0] != 0 && ++avistamentos >= kAvistamentos) {
            m_dono = registro[1];
            return CodigoMarcaOcupada(EsquemaMarca::ArqAnterior, registro[0]);
        }
        plataforma::Dorme(kPassoAnterior);
    }
}

void CTQarq::Desmarca()
{
    if (!m_arquivo.EstaAberto())
        return;
    if (m_bEsquemaAnterior) {
        const uint8_t livre[2] = {0, 0};
        m_arquivo.Posiciona(0, plataforma::Origem::Inicio);
        m_arquivo.Grava(livre, 2);
    }
    m_arquivo.Fecha();
}
