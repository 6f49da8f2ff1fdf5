// The classified chart store: a chart file of fixed-size account records reached through an
// index of packed classifications.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "df/tqclasses/ClassificacaoCodigos.h"
#include "df/tqlibex/TQArqEx.h"
#include "df/tqlibex/TQLocal.h"
#include "df/tqlibex/TQProfiler.h"
#include "platform/Tipos.h"

class CArquivo;

#pragma pack(push, 1)
// One index entry (18 bytes): record number, type and inactive bits, packed classification.
struct REGCON_INDEX {
    uint32_t Tipo_IndCon;
    uint8_t Classificacao[kTamanhoEmpacotado];
};
#pragma pack(pop)
static_assert(sizeof(REGCON_INDEX) == 18);

// An own code and the record that holds it, as the existing-code buffer keeps them.
struct REG_PESQUISA_CODIGO_COM_POSICAO {
    char szCodigo[100];
    uint32_t ulPosicao;
    REG_PESQUISA_CODIGO_COM_POSICAO(const std::string& codigo = {}, uint32_t posicao = 0);
};

// The store's view of a chart record's own code.
class CEstruturaHelper {
public:
    // The `tamanho` bytes at offset 16, cut at the first zero byte.
    std::string GetCodigo2(size_t tamanho) const;

private:
    uint8_t m_bytes[1];
};

class CClassificacao;
// Ends a write session on every way out of the operation that opened it.
struct SessaoGravacao {
    CClassificacao& loja;
    ~SessaoGravacao();
};

namespace statusclass {
// The store's answers that are not failures: callers test for S_OK, and clients receive them as
// the (positive) HRESULT of the call.
enum Resposta : HRESULT {
    BaseAnalitica = 0x405DD,
    NaoEncontrado = 0x405E0,
    ForaDoIndice = 0x405E3,
    ClassificacaoInvalida = 0x405E4,
    SemSubordinadas = 0x405E6,
    SemTitulo = 0x405E7,
    ListagemVazia = 0x405E8,
    ArgumentoInvalido = 0x405EF,
    CodigoNaoEncontrado = 1504,
    BufferNaoPronto = 0x4005,
};
// Failures of the index editors.
constexpr HRESULT SemArquivo = TQHResult(0x800405EF);
constexpr HRESULT SemEntradaExclusao = TQHResult(0x8004027A);
constexpr HRESULT SemEntradaAlteracao = TQHResult(0x8004027B);
} // namespace statusclass

constexpr HRESULT E_TQDF_GRAVANDO_REGISTRO_SEM_CODIGO = TQHResult(0x80FF0C15);
constexpr HRESULT kTamanhoSuperior = TQHResult(0x800443EC);
constexpr HRESULT kProblemasNoRegistry = TQHResult(0x80043F59);
constexpr HRESULT kSemArquivoPlano = TQHResult(0x800409C8);

class CClassificacao : private CTQProfilerEmpresa {
public:
    CClassificacao();
    virtual ~CClassificacao();
    CClassificacao(const CClassificacao&) = delete;
    CClassificacao& operator=(const CClassificacao&) = delete;

    // Whether a chart record is of an inactive account (none is, here).
    virtual bool RegistroEhInativo(const uint8_t* registro);

    // Codes and masks.
    static uint32_t TrataClassificacao(const OLECHAR* classificacao, char cClassificacao[32], bool validar);
    HRESULT SetTamanhoCodigo(uint16_t tamanho);
    HRESULT SetMascaras(const OLECHAR* mascaras);
    uint16_t GetTamanhoCodigo() const { return m_TamanhoCodigo; }

    // Binding to a chart, the read handle, the index, import mode and the code buffer.
    HRESULT Inicializa(const OLECHAR* empresa, uint16_t usuario, const OLECHAR* modulo, const OLECHAR* arquivoPlano,
                       uint16_t tamanhoRegistro, const OLECHAR* arquivoIndex, uint16_t tamanhoNome);
    HRESULT VerificaAberturaArquivoPadrao();
    HRESULT VerificaFechamentoArquivoPadrao();
    HRESULT GeraClassificacao();
    // The index the chart gives, entry 0 included, built in memory; a failing read is traced
    // as a step of `funcao`.
    HRESULT MontaIndice(const char* funcao, std::vector<REGCON_INDEX>& indice);
    // Whether the index file holds exactly the index the chart gives; nothing is written.
    HRESULT ComparaIndice(bool& igual);
    // Rebuilds an index that is not a whole number of entries, or whose entries are not one per
    // live account of the chart (a rewrite cut short by a crash).
    HRESULT VerificaIndice();
    // Whether the chart's name names another file than the one the store last opened (another
    // process swapped it in): then the read handle and every cache of the old file are dropped.
    bool ArquivoTrocado();
    HRESULT SetInicioImportacao(bool usaBuffer);
    HRESULT SetFimImportacao();
    HRESULT InicializaBufferExisteCodigo();
    HRESULT AtualizaBufferExisteCodigo();
    HRESULT FinalizaBufferExisteCodigo();
    HRESULT AdicionaRegistroNovo(const REG_PESQUISA_CODIGO_COM_POSICAO& elemento);

    // A write session: the chart held open for writing from AbreGravacao to FechaGravacao, so
    // that what the caller reads meanwhile (the count, an own code) still holds when it writes.
    // Other writers wait; the writes below use the session's handle instead of one of their own.
    // Sessions nest: import mode holds one from its start to its end.
    HRESULT AbreGravacao();
    HRESULT FechaGravacao();

    // Writes.
    HRESULT GravaDados(const uint8_t* Dados, uint32_t* pulPosicao);
    HRESULT Inclui(uint32_t* pPosicao, const uint8_t* Dados);
    HRESULT Altera(uint32_t Posicao, const uint8_t* Dados);
    HRESULT Exclui(uint32_t Posicao);
    // The index editors: S_OK, or the HRESULT of a failure they traced.
    HRESULT IncluiClassificacao(CTQArqEx* pArquivoPadrao, uint32_t lposicao, const uint8_t* Dados);
    HRESULT ExcluiClassificacao(uint32_t Posicao);
    HRESULT AlteraIndconClassificacao(uint32_t Posicao, const uint8_t* Dados);
    HRESULT BuscaNomeConta(CTQArqEx* pArquivoPadrao, uint32_t ulTipo, char* cNomeConta);

    // Lookups and listings.
    HRESULT Le(uint32_t Posicao, uint8_t* Dados);
    HRESULT LeDados(uint32_t IndCon, uint8_t* Dados);
    HRESULT LeLista(const uint32_t* posicoes, uint32_t quantidade, uint8_t* Dados);
    void SetInvalidaCache() { m_bRelerCache = true; }
    // The start of a client's call: what other processes wrote since the last one must show, so
    // nothing read before is served again.
    void NovaChamada() { m_arqPadraoLeitura.DescartaCache(); }
    HRESULT GetQuantidadeRegistros(uint32_t* quantidade);
    HRESULT ExisteClassificacao(const OLECHAR* classificacao, uint32_t* posicao);
    HRESULT ExisteCodigo(const OLECHAR* sCodigo, uint32_t* posicao, uint16_t iPrioridade);
    HRESULT ProcuraNoPadrao(const std::string& codigo, uint32_t* posicao);
    HRESULT ProcuraReduzido(const std::string& sCodigo, uint32_t* posicao);
    bool EhCancelado(uint32_t posicao);
    HRESULT ExisteContaTitulo(const OLECHAR* classificacao, uint32_t* posicao);
    HRESULT InternalExisteConta(const std::string& classificacao, bool titulo, uint32_t* posicao);
    HRESULT ExisteSubordinadas(const OLECHAR* classificacao);
    static HRESULT ValidaTipoGetTamanhoIndex(std::string& sTipo, std::string& sTipo_1, bool& bFiltrarInativas,
                                             bool& bTrazerApenasInativos);
    HRESULT GetTamanhoIndex(const OLECHAR* sTipo, uint32_t lPosicao, uint32_t* quantidade);
    HRESULT GetIndex(uint32_t quantidade, REGCON_INDEX* saida, bool ordenaPorPosicao);

    // The current record (last read or being written).
    const char* GetClassificacaoAtual() const { return m_cClassificacao; }
    char GetTipoAtual() const { return m_cTipoAtual; }
    const std::string& GetArquivoPlano() const { return m_sArquivoPlano; }
    const std::string& GetArquivoIndex() const { return m_sArquivoIndex; }

private:
    // One trace line for a failing step of operation `funcao`; answers hr.
    HRESULT Falha(TQLocal onde, const char* expressao, HRESULT hr);
    // Makes a chart record the current record: classification, type, own code and name.
    void CarregaRegistroAtual(const uint8_t* registro);
    void LimpaRegistroAtual();
    // Reads the whole index through arq opened in `modo` ('L' or 'G'; 'G' leaves it open for
    // the rewrite). A failing status is traced with the expression of the failing step
    // (exprAbre, exprPosiciona, exprLe; exprFecha for 'L') and returned as its HRESULT.
    // tamanho: the bytes read.
    HRESULT LeIndiceInteiro(const char* funcao, CArquivo& arq, char modo, std::vector<REGCON_INDEX>& entradas,
                            uint32_t& tamanho, const char* exprLe);
    // The key of a company's vector in the existing-code buffer: CRC-32 (IEEE 802.3, reflected,
    // register from 0, no final inversion) of its identifier.
    static uint32_t ChaveBufferCodigo(const std::string& empresa);
    // The own-code search of import mode in the existing-code buffer: 0 and the position,
    // 1504 when absent, 0x4005 when the buffer is not ready, or a failure.
    HRESULT ProcuraNoBufferCodigo(const std::string& codigo, uint32_t* posicao);
    // The searches: the index read whole (mode 'L') into m_indiceBusca, a chart record read
    // through the read handle into m_registroBusca (0, or the status of the read).
    HRESULT LeIndiceBusca(const char* funcao, const char* exprLe);
    StatusArq LeRegistroBusca(uint32_t posicao);
    // Writes the first `entradas` entries of m_indiceGravacao over the index open in arq, cuts
    // the file there when asked, and closes it; a failing step is traced and its HRESULT returned.
    // The handle a write uses: the session's, or `proprio` opened for this write alone (null
    // after a traced failure, in hr). FechaParaGravar closes it unless it is the session's.
    CTQArqEx* AbreParaGravar(const char* funcao, CTQArqEx& proprio, HRESULT& hr);
    HRESULT FechaParaGravar(const char* funcao, CTQArqEx* arq);
    HRESULT GravaIndiceInteiro(const char* funcao, CArquivo& arq, size_t entradas, const char* exprGrava,
                               bool corta);
    // The entry of record `posicao` in m_indiceGravacao (read whole through arq, left open), or
    // a failure: `semEntrada` when there is none.
    HRESULT LocalizaNoIndice(const char* funcao, CArquivo& arq, uint32_t posicao, HRESULT semEntrada,
                             size_t& indice);

    std::string m_sEmpresa;
    uint16_t m_iUsuario = 0;
    std::string m_sArquivoPlano;
    std::string m_sArquivoIndex;
    std::string m_sUltimaClassificacao; // import mode caches
    std::string m_sUltimoTitulo;
    uint32_t m_ulPosicaoUltimaClassificacao = 0;
    uint32_t m_ulPosicaoUltimoTitulo = 0;
    uint16_t m_TamanhoReg = 96;
    uint16_t m_TamanhoNome = 50;
    uint16_t m_TamanhoCodigo = 10;
    CTQArqEx m_arqPadraoLeitura;
    CTQArqEx m_arqGravacao; // open during a write session only
    int m_iSessoes = 0;     // write sessions open, one inside another
    plataforma::IdentidadeArquivo m_idLeitura; // the chart the read handle last opened
    bool m_bTemIdLeitura = false;
    std::vector<REGCON_INDEX> m_listagem;
    std::vector<uint8_t> m_registroAtual;
    char m_cClassificacao[32] = {};
    char m_cTipoAtual = 0;
    std::unique_ptr<char[]> m_codigo;
    std::unique_ptr<char[]> m_nome;
    char m_mascaras[kMascaras][kTamanhoClassificacao] = {};
    bool m_bImportacao = false;
    bool m_bUsaBuffer = false;
    bool m_bBufferPronto = false;
    bool m_bRelerCache = false;
    uint32_t m_ulChaveBuffer = 0;
    std::vector<REGCON_INDEX> m_indiceBusca; // reused by the searches of the index
    std::vector<uint8_t> m_registroBusca;    // a chart record read by a search
    // Work buffers of the writes, kept between calls: the whole index and one chart record.
    std::vector<REGCON_INDEX> m_indiceGravacao;
    std::vector<uint8_t> m_registroGravacao;
};
