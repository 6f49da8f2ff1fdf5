#include "df/tqlibex/TQArqEx.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

#include "df/tqlibex/FuncoesArq.h"
#include "df/tqlibex/GeracaoArquivos.h"
#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQMensagens.h"
#include "df/tqlibex/TQPath.h"
#include "df/tqlibex/TQTrace.h"
#include "platform/Tempo.h"
#include "platform/Texto.h"

namespace {

constexpr uint32_t kCapacidadePadrao = 32768;
constexpr uint32_t kCapacidadeMaxima = 1048576; // what the read-ahead of a scan grows to
constexpr int kTentativas = 200;
constexpr int kUmaVez = 201; // steps done once count as beyond the last attempt
// The lines these traces have always carried.
constexpr int kLinhaLeituraAlemDoFim = 562;
constexpr int kLinhaPosicaoRecusada = 384;
constexpr size_t kMaxCaminho = 259;
constexpr uint32_t kTamanhoControle = 32;
constexpr const char* kNomeControle = "TQCTLARQ.dat";

// Steps after the open: structural faults at once, contention retried.
constexpr RegrasCausa kRegrasPasso = {
    {},
    {},                                  // generic: retry
    {statusarq::NaoEncontrado, true},    // file not found
    {statusarq::CaminhoInvalido, true},  // bad path
    {},                                  // too many open files: retry
    {statusarq::AcessoNegado, false},    // access denied
    {statusarq::ArquivoInvalido, true},  // invalid file
    {},                                  // remove current directory
    {},                                  // directory full
    {statusarq::BuscaFalhou, true},      // bad seek
    {statusarq::ErroHardware, true},     // hardware I/O
    {statusarq::Compartilhamento, false},
    {statusarq::Bloqueio, false},
    {statusarq::DiscoCheio, false},
    {statusarq::FimArquivo, true},
};

StatusArq StatusPasso(DWORD erroSO, int tentativa)
{
    return StatusDoErro(erroSO, kRegrasPasso, tentativa >= kTentativas - 1);
}

// Recursive: a create may open the control file, whose open may come back here.
std::recursive_mutex& TravaNovoArquivo()
{
    static std::recursive_mutex t;
    return t;
}

} // namespace

CTQArqEx::~CTQArqEx() { Fecha(); }

void CTQArqEx::AlocaBuffer(uint32_t capacidade)
{
    // Not zeroed: only bytes a read filled are ever served (every object opens one for a single write).
    m_buffer.reset(new char[capacidade]);
    m_ulCapacidade = capacidade;
}

StatusArq CTQArqEx::Abre(const std::string& caminho, char modo, uint32_t tamanhoRegistro, OpcoesAbre opcoes)
{
    Aponta(caminho);
    m_cModo = modo;
    m_ulTamanhoRegistro = tamanhoRegistro;
    m_bCriaSeFaltar = opcoes.criaSeFaltar;
    if (!m_buffer) {
        AlocaBuffer(kCapacidadePadrao);
        opcoes.abreAgora = true;
    }
    return opcoes.abreAgora ? AbreArquivo() : statusarq::Ok;
}

// Names another file: a cache of the old one must not serve the new one.
void CTQArqEx::Aponta(const std::string& caminho)
{
    if (m_buffer && !plataforma::IguaisSemCaixa(caminho, m_sCaminho)) {
        m_buffer.reset();
        m_ulCapacidade = 0;
        InvalidaCache(true);
    }
    if (caminho.size() > kMaxCaminho + 1)
        TQRelatorioAssercao("TQArqEx", "strlen(szArquivo) <= _MAX_PATH");
    m_sCaminho = caminho.substr(0, kMaxCaminho);
}

StatusArq CTQArqEx::AbreArquivo()
{
    if (m_bAberto)
        return statusarq::Ok;
    plataforma::ModoArquivo modo;
    if (m_sCaminho.empty() || !ModoDaLetra(m_cModo, modo) || m_ulTamanhoRegistro == 0)
        return statusarq::ArgumentoInvalido;
    for (int k = 0;; ++k) {
        if (k > 0)
            plataforma::Dorme(10);
        const DWORD e = m_arquivo.Abre(m_sCaminho.c_str(), modo);
        if (e == 0)
            break;
        const StatusArq s = StatusDoErro(e, kRegrasAbertura, k == kTentativas - 1);
        // Two answers depend on more than the error: a missing file may be created, and a
        // lasting denial tells a read-only file apart.
        if (s == statusarq::NaoEncontrado)
            return m_bCriaSeFaltar ? NovoArquivo(m_cModo, m_ulTamanhoRegistro) : s;
        if (s == statusarq::AcessoNegado) {
            bool somenteLeitura = false;
            if (plataforma::LeSomenteLeitura(m_sCaminho.c_str(), somenteLeitura) == 0 && somenteLeitura)
                return statusarq::SomenteLeitura;
        }
        if (s)
            return s;
    }
    if (!m_buffer)
        AlocaBuffer(kCapacidadePadrao);
    m_bAberto = true;
    if (!m_sCaminho.empty() && m_bControleGeracao) {
        m_ullChaveNome = ChaveNomeArquivo(m_sCaminho);
        m_pGeracao = geracao::Busca(m_ullChaveNome);
        geracao::Abriu(m_pGeracao);
    }
    if (m_cModo == 'G' && GetTamanhoArquivo() == 0) {
        std::vector<char> zeros(m_ulTamanhoRegistro, 0);
        return GravaInicio(zeros.data(), m_ulTamanhoRegistro);
    }
    return statusarq::Ok;
}

// The open may answer 0 without opening (the file appeared meanwhile): then open once more.
StatusArq CTQArqEx::GarantaAberto()
{
    for (int i = 0; i < 2 && !m_bAberto; ++i)
        if (StatusArq r = AbreArquivo())
            return r;
    return m_bAberto ? statusarq::Ok : statusarq::TentativasEsgotadas;
}

StatusArq CTQArqEx::NovoArquivo(char modo, uint32_t tamanhoRegistro)
{
    const std::string caminhoDados = m_sCaminho;
    const std::string nome = CTQPath::GetNomeNormalizado(caminhoDados);
    if (nome.empty())
        return statusarq::ArgumentoInvalido;
    std::lock_guard<std::recursive_mutex> trava(TravaNovoArquivo());
    if (CTQPath::ExisteArquivo(caminhoDados))
        return statusarq::Ok;
    const std::string diretorio = CTQPath::GetDiretorio(caminhoDados);
    if (m_lUsaControle) {
        const StatusArq r = RegistraNoControle(nome);
        // Whatever the control file said, the object names the data file again.
        Aponta(caminhoDados);
        m_cModo = modo;
        m_ulTamanhoRegistro = tamanhoRegistro;
        m_bCriaSeFaltar = true;
        if (r)
            return r;
    }
    const std::string caminho = diretorio + nome;
    if (StatusArq r = Abre(caminho, 'C', tamanhoRegistro))
        return r;
    std::vector<char> zeros(tamanhoRegistro, 0);
    StatusArq r = GravaInicio(zeros.data(), tamanhoRegistro);
    const StatusArq rf = Fecha();
    if (r || rf)
        return r ? r : rf;
    return Abre(caminho, modo, tamanhoRegistro, kAbreAgora);
}

// Lists the name in the directory's control file; 16055 when it was listed before.
StatusArq CTQArqEx::RegistraNoControle(const std::string& nomeNormalizado)
{
    const std::string controle = CTQPath::GetDiretorio(m_sCaminho) + kNomeControle;
    StatusArq r = Abre(controle, 'G', kTamanhoControle, kAbreExistenteAgora);
    if (r == statusarq::Compartilhamento) {
        plataforma::Dorme(50);
        r = Abre(controle, 'G', kTamanhoControle, kAbreExistenteAgora);
    }
    if (r == statusarq::NaoEncontrado) {
        if ((r = Abre(controle, 'C', kTamanhoControle, kAbreAgora)))
            return r;
        const char zeros[kTamanhoControle] = {};
        r = GravaInicio(zeros, kTamanhoControle);
        const StatusArq rf = Fecha();
        if (r || rf)
            return r ? r : rf;
        r = Abre(controle, 'G', kTamanhoControle);
    }
    if (r)
        return r;
    InvalidaCache(true);
    char registro[kTamanhoControle];
    int32_t lidos = 0;
    for (;; ++lidos) {
        r = Le(uint32_t(lidos), registro);
        if (r == statusarq::FimArquivo)
            break;
        if (r) {
            Fecha();
            return r;
        }
        if (plataforma::IguaisSemCaixa(std::string_view(registro, strnlen(registro, kTamanhoControle)),
                                       nomeNormalizado)) {
            Fecha();
            return statusarq::NaoEncontrado;
        }
    }
    if (nomeNormalizado.size() > kTamanhoControle)
        TQRelatorioAssercao("TQArqEx", "strlen(szNome) <= sizeof(CTRL_NOME)");
    std::memset(registro, 0, sizeof registro);
    std::memcpy(registro, nomeNormalizado.data(), std::min<size_t>(nomeNormalizado.size(), kTamanhoControle));
    r = Grava(registro, lidos, kTamanhoControle);
    if (r)
        return r;
    r = Fecha();
    InvalidaCache(true);
    return r;
}

StatusArq CTQArqEx::Fecha()
{
    if (!m_bAberto)
        return statusarq::Ok;
    if (StatusArq r = DescarregaAcrescimos())
        return r;
    geracao::Fechou(Geracao());
    if (const DWORD e = m_arquivo.Fecha())
        return StatusPasso(e, kUmaVez);
    m_bAberto = false;
    return statusarq::Ok;
}

void CTQArqEx::InvalidaCache(bool novaGeracao)
{
    geracao::Entrada* const entrada = Geracao();
    if (novaGeracao)
        geracao::Incrementa(entrada, m_ulGeracaoVista);
    else
        geracao::Mudou(entrada, m_ulGeracaoVista);
    m_lBytesCache = -1;
    geracao::MarcaInvalidacao();
}

void CTQArqEx::InvalidaCachesDoArquivo(const std::string& caminho)
{
    uint32_t vista = 0;
    geracao::Incrementa(geracao::Busca(ChaveNomeArquivo(caminho)), vista);
    geracao::MarcaInvalidacao();
}

StatusArq CTQArqEx::Le(uint32_t registro, void* buffer)
{
    if (!buffer)
        return statusarq::ArgumentoInvalido;
    uint64_t deslocamento = 0;
    if (StatusArq r = TrazAoCache(registro, deslocamento))
        return r;
    std::memcpy(buffer, m_buffer.get() + (deslocamento - m_ullInicioCache), m_ulTamanhoRegistro);
    return statusarq::Ok;
}

StatusArq CTQArqEx::LeBloco(uint32_t registro, const uint8_t*& dados, uint32_t& registros)
{
    registros = 0;
    uint64_t deslocamento = 0;
    if (StatusArq r = TrazAoCache(registro, deslocamento))
        return r;
    dados = reinterpret_cast<const uint8_t*>(m_buffer.get()) + (deslocamento - m_ullInicioCache);
    registros = uint32_t((m_ullInicioCache + uint64_t(m_lBytesCache) - deslocamento) / m_ulTamanhoRegistro);
    return statusarq::Ok;
}

StatusArq CTQArqEx::TrazAoCache(uint32_t registro, uint64_t& deslocamento)
{
    if (StatusArq r = DescarregaAcrescimos())
        return r;
    deslocamento = uint64_t(registro) * m_ulTamanhoRegistro;
    return NoCache(deslocamento) ? statusarq::Ok : Carrega(deslocamento, registro);
}

// Fills the read-ahead from the record at `deslocamento`: the one place a read touches the
// file, so the one place it lets other threads in first.
StatusArq CTQArqEx::Carrega(uint64_t deslocamento, uint32_t registro)
{
    plataforma::Cede();
    if (StatusArq r = GarantaAberto())
        return r;
    // A fill that goes on where a full one ended is a scan: the read-ahead doubles, so a scan
    // makes fewer platform reads the longer it runs. A fill at the first record is most often a
    // scan starting again: it keeps the size it had. Any other fill reads the usual 32 KiB.
    const bool continua = m_lBytesCache == int32_t(m_ulJanela) && deslocamento > m_ullInicioCache &&
                          deslocamento <= m_ullInicioCache + m_ulJanela;
    const uint32_t janela = continua ? std::min(m_ulJanela * 2, kCapacidadeMaxima)
                            : registro <= 1 ? std::max(m_ulJanela, kCapacidadePadrao)
                                            : kCapacidadePadrao;
    m_ulJanela = std::max(m_ulTamanhoRegistro, janela);
    if (m_ulCapacidade < m_ulJanela)
        AlocaBuffer(m_ulJanela);
    m_lBytesCache = -1; // the buffer is overwritten now, whatever the read answers
    // Offsets are signed 32-bit: a file stays below 2 GiB, and anything beyond is past its end.
    DWORD lidos = 0;
    if (deslocamento <= INT32_MAX) {
        // The bytes read now are of the current generation: note it before reading, so a
        // write that lands meanwhile still shows at the next check.
        geracao::Mudou(Geracao(), m_ulGeracaoVista);
        DWORD e = m_arquivo.Posiciona(int64_t(deslocamento), plataforma::Origem::Inicio);
        if (!e)
            e = m_arquivo.Le(m_buffer.get(), m_ulJanela, lidos);
        if (e)
            return StatusPasso(e, kUmaVez);
    }
    // The read tells the length: a last record cut short by the end of the file is no record,
    // it reads as past the end.
    if (lidos >= m_ulTamanhoRegistro) {
        m_lBytesCache = int32_t(lidos);
        geracao::MarcaCarga(lidos);
        m_ullInicioCache = deslocamento;
        m_ulTickCarga = plataforma::Ticks();
        return statusarq::Ok;
    }
    uint64_t tamanho = 0;
    if (m_bTraceAlemDoFim && m_arquivo.Tamanho(tamanho) == 0 && deslocamento > tamanho + m_ulTamanhoRegistro) {
        constexpr HRESULT hr = TQHResult(0x80043E95);
        TQTrace(nullptr, {"CTQArqEx::Le", kLinhaLeituraAlemDoFim}, "TQArqEx",
                "hr = 0x%08X\tDescri\xE7\xE3o = %s\tArquivo = %s\tPosi\xE7\xE3o = %d\tRegistro = %d\tGetLength = %I64d",
                unsigned(hr), TQDescricaoHResult(hr).c_str(), m_sCaminho.c_str(), int(registro),
                int(m_ulTamanhoRegistro), (long long)tamanho);
    }
    return statusarq::FimArquivo;
}

StatusArq CTQArqEx::Grava(const void* registro, int32_t& posicao, uint32_t tamanho)
{
    if (!registro || tamanho == 0)
        return statusarq::ArgumentoInvalido;
    if (m_bAcumula && posicao == 0 && tamanho == m_ulTamanhoRegistro)
        return Acumula(registro, posicao);
    if (StatusArq r = DescarregaAcrescimos())
        return r;
    plataforma::Cede();
    if (StatusArq r = GarantaAberto())
        return r;
    const int64_t primeiro = int64_t(posicao) * tamanho;
    const HRESULT hr = ValidaPosicaoGravacao(posicao, tamanho);
    if (hr != 0) {
        TQTraceHResult(nullptr, {"CTQArqEx::Grava", kLinhaPosicaoRecusada}, "TQArqEx", "hr",
                       "ValidaPosicaoGravacao(*plPosicao, lTamanhoDoRegistro)", hr);
        if (hr < 0)
            return StatusArq::DoHResult(hr);
    }
    if (primeiro > INT32_MAX)
        return statusarq::PosicaoAlemDoFim;
    for (int k = 0; k < kTentativas; ++k) {
        uint64_t deslocamento = uint64_t(primeiro);
        DWORD e = primeiro != 0 ? m_arquivo.Posiciona(primeiro, plataforma::Origem::Inicio)
                                : m_arquivo.Posiciona(0, plataforma::Origem::Fim, &deslocamento);
        // An append after a last record cut short takes its place: records stay aligned.
        if (!e && primeiro == 0 && deslocamento % tamanho != 0) {
            deslocamento -= deslocamento % tamanho;
            e = m_arquivo.Posiciona(int64_t(deslocamento), plataforma::Origem::Inicio);
        }
        if (!e)
            e = m_arquivo.Grava(registro, tamanho);
        if (!e) {
            if (posicao != 0)
                InvalidaCache(true);
            posicao = int32_t(deslocamento / tamanho);
            return statusarq::Ok;
        }
        if (StatusArq r = StatusPasso(e, k))
            return r;
    }
    return statusarq::TentativasEsgotadas;
}

StatusArq CTQArqEx::Grava(const void* registro, int32_t& posicao)
{
    const StatusArq r = Grava(registro, posicao, m_ulTamanhoRegistro);
    if (!r && m_bValidaCache)
        InvalidaCache(true);
    return r;
}

StatusArq CTQArqEx::GravaInicio(const void* bloco, uint32_t tamanho)
{
    if (StatusArq r = DescarregaAcrescimos())
        return r;
    return GravaEm(0, bloco, tamanho);
}

StatusArq CTQArqEx::GravaEm(uint64_t deslocamento, const void* bloco, uint32_t tamanho)
{
    if (StatusArq r = GarantaAberto())
        return r;
    for (int k = 0; k < kTentativas; ++k) {
        DWORD e = m_arquivo.Posiciona(int64_t(deslocamento), plataforma::Origem::Inicio);
        if (!e)
            e = m_arquivo.Grava(bloco, tamanho);
        if (!e) {
            if (m_bValidaCache)
                InvalidaCache(true);
            return statusarq::Ok;
        }
        if (StatusArq r = StatusPasso(e, k))
            return r;
    }
    return statusarq::TentativasEsgotadas;
}

StatusArq CTQArqEx::Comprimento(uint64_t& tamanho)
{
    if (StatusArq r = GarantaAberto())
        return r;
    const DWORD e = m_arquivo.Tamanho(tamanho);
    return e ? StatusPasso(e, kUmaVez) : statusarq::Ok;
}

uint64_t CTQArqEx::GetTamanhoArquivo()
{
    if (DescarregaAcrescimos() || GarantaAberto())
        return 0;
    uint64_t tamanho = 0;
    return m_arquivo.Tamanho(tamanho) == 0 ? tamanho : 0;
}

int32_t CTQArqEx::QuantidadeRegistros(bool semRegistroZero)
{
    if (m_ulTamanhoRegistro == 0)
        return 0;
    int32_t q = int32_t(GetTamanhoArquivo() / m_ulTamanhoRegistro);
    if (semRegistroZero && q >= 1)
        --q;
    return q;
}
