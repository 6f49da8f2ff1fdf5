// The business object behind every alternative-chart object: the session of the routine
// framework, the company's data directory, and the chart store bound to the selected plan.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "df/planoalt/ArquivosPlano.h"
#include "df/planoalt/FuncoesGenericas.h"
#include "df/planoalt/RegPlanoAlt.h"
#include "df/tqclasses/Classificacao.h"
#include "df/tqlibex/TQArq.h"
#include "suite/Rotinas/TQBaseParaRotinas.h"

class CAlternativoBase : public CTQBaseParaRotinas {
public:
    CAlternativoBase() = default;
    ~CAlternativoBase() override;

    // Binds the chart store to m_szArquivoPlano (the index named after it); always S_OK: a store
    // that could not open its files answers the later account operations itself.
    HRESULT InicializaPlano();
    // Binds a store to a chart and its index in the data directory, as the session's.
    HRESULT VinculaLoja(CClassificacao& loja, const char* arquivoPlano, const char* arquivoIndice);
    // A chart record at a position as the interface shows it.
    HRESULT CarregaEstrutura(uint32_t posicao, const uint8_t* registro, REG_PLANO_ALT_PS* saida);

protected:
    // The identity of this object's trace lines: its session.
    CTQProfilerEmpresa Identidade() const;
    // One trace line for a failing step of `funcao` (a method of the business class); answers hr.
    HRESULT Falha(TQLocal onde, const char* expressao, HRESULT hr) const;
    std::string Caminho(std::string_view arquivo) const { return std::string(m_sDiretorioDados).append(arquivo); }
    // Takes the mark of the kind of change (4 plans and links, 8 masks) in the data directory,
    // held by the session's user; the caller releases it on every way out.
    HRESULT TomaMarca(const char* funcao, uint8_t tipo);

    bool m_bContaExcluida = false;
    std::unique_ptr<CClassificacao> m_pClassificacao;
    std::string m_sDiretorioDados;
    CTQarq m_arqMarca;
    uint32_t m_lPlanoAtual = 0;
    char m_szArquivoPlano[16] = {};
    char m_szArquivoIndice[16] = {};
};

class CBasePlanoAlternativo : public CAlternativoBase {
public:
    // The framework's own initialization, then the company's data directory.
    HRESULT OnInicializa() override;

    // The plan catalogue. Blocks returned through pointer-to-pointer parameters come from the
    // task allocator and belong to the caller.
    HRESULT BuscaPlanos(ARRAY_REG_DADOS_PLANO_ALT_PS** ppArrayDadosPlanoAltps);
    HRESULT GravaPlano(LONG lPosicaoIn, REG_DADOS_PLANO_ALT_PS RegDadosPlanoAlt, LONG* lPosicaoOut);
    HRESULT ExcluiPlanos(ARRAY_REG_EXCLUI_PLANO_ALT_PS RegExclui);
    HRESULT SetPlano(LONG lPosicaoPlano);
    HRESULT GetPlanoIndex(const OLECHAR* bsTipo, ULONG lPosicao, ARRAY_REGCON_INDEX_ALT_PS** ppArrayRegConIndexps);

    // The masks of a plan, and their change with every account of the selected plan rewritten.
    HRESULT SetMascara(LONG lPosicaoPlano, REG_MASCARA_ALT_PS RegMascaraps);
    HRESULT BuscaMascara(LONG lPosicaoPlano, REG_MASCARA_ALT_PS* RegMascaraps);
    HRESULT AlteraMascara(const _MASCARA_PLANO_ALT* Mascara);

    // The accounts of the selected plan.
    HRESULT Le(LONG lPosicaoIn, REG_PLANO_ALT_PS* RegPlanoAltps);
    HRESULT Grava(LONG lPosicaoIn, REG_PLANO_ALT_PS RegPlanoAltps, LONG* lPosicaoOut);
    HRESULT GetQuantidadeRegistros(ULONG* lQuantidade);
    HRESULT BuscaDados(LONG lQtd, const LONG* lPosicoes, REG_PLANO_ALT_PS* RegPlanoAltps);
    HRESULT Existe(const OLECHAR* bsCodigo, int iPrioridade, LONG* lPosicao, REG_PLANO_ALT_PS* RegPlanoAltps);
    HRESULT ExisteContaTitulo(const OLECHAR* bsClassificacao, LONG* lPosicao);
    HRESULT ExisteSubordinadas(const OLECHAR* bsClassificacao);
    // Deletes the accounts with every account under them, after removing their links.
    HRESULT ExcluiContas(int iQtd, const LONG* pPosicoes);

    // Links of the plan's accounts to accounts of the main chart.
    struct ParVinculo {
        int32_t lPosicaoPla;
        int16_t iCaracteristica;
    };
    HRESULT Vinculo(REG_VINCULO_ALT RegVinculo);
    HRESULT BuscaVinculo(LONG lPosicaoAlt, ARRAY_REGCON_INDEX_ALT_PS** ppArrayRegConIndexps);
    HRESULT BuscaPosVinculos(uint32_t posicao, std::vector<ParVinculo>& vinculos);

    // Run by the frame before each call: a chart replaced since the store last read it (by
    // another process's mask change) is read anew, with the plan's masks.
    void IniciaChamada();

    // The extension functions (FuncaoGenerica): kFuncaoLiberaMarcaDeixada and those of
    // FuncoesGenericas.h.
    HRESULT FuncaoGenerica(uint32_t ulFuncao, _REG_DF_FUNCAO_GENERICAPS regInps,
                           _REG_DF_FUNCAO_GENERICAPS** ppregOutps) override;

    // The plan printed as a report; the texts are ANSI.
    HRESULT GeraRelatorioPlanoAlternativo(const char* szArquivoTmp, const char* szRelatorio,
                                          const char* szRazaoSocial, LONG lPlano);

private:
    struct ContaLida {
        uint32_t posicao;
        RegContaPlano r;
    };
    // Every live account of the selected plan, read through the chart store.
    HRESULT LeContasVivas(const char* funcao, std::vector<ContaLida>& contas);
    HRESULT LeMascarasDoPlano(const char* funcao, RegMascara& mascaras);
    HRESULT ImportaContas(const _REG_DF_FUNCAO_GENERICAPS& entrada, _REG_DF_FUNCAO_GENERICAPS** ppSaida);
    HRESULT ExportaContas(_REG_DF_FUNCAO_GENERICAPS** ppSaida);
    HRESULT VerificaPlano(bool reparar, _REG_DF_FUNCAO_GENERICAPS** ppSaida);
    HRESULT VerificaVinculos(const std::vector<ContaLida>& contas, bool reparar,
                             std::vector<AchadoVerificacao>& achados);
    // Every record of the selected plan's link file (record 0 included), read through arq opened in `modo`.
    HRESULT LeArquivoVinculos(const char* funcao, CTQArqEx& arq, char modo, std::vector<RegVinculoPlano>& vinculos);
    HRESULT VerificaCatalogo(std::vector<AchadoVerificacao>& achados);
    // A block of the task allocator of `bytes` bytes for the caller, to be filled at destino.
    HRESULT AlocaSaida(const char* funcao, size_t bytes, _REG_DF_FUNCAO_GENERICAPS** ppSaida, uint8_t*& destino);
    // Hands bytes to the caller in a block of the task allocator.
    HRESULT EntregaBytes(const char* funcao, const std::vector<uint8_t>& bytes, _REG_DF_FUNCAO_GENERICAPS** ppSaida);

    // The mark of the masks, with a change cut short in this data directory finished or undone.
    HRESULT TomaMarcaMascaras(const char* funcao);
    // Finds a pending mask change and finishes or undoes it, under the mark of the masks (taken
    // here unless the caller holds it); S_OK when none is pending.
    HRESULT RecuperaMudancaMascara(const char* funcao, bool marcaTomada);
    // The steps after the swap: the index rebuilt, the new masks written, the intent removed.
    HRESULT CompletaMudancaMascara(const char* funcao, const struct RegIntencaoMascara& intencao);
    // The selected plan's masks handed to the store; 0x800402DE or 0x800402DF when it has none.
    HRESULT RecarregaMascaras();
    void EsvaziaArquivosDoPlano(const RegPlano& plano);
    // The account at a position read by the chart store into the interface record; the store's
    // result as it comes (the record untouched unless S_OK).
    HRESULT LeConta(uint32_t posicao, REG_PLANO_ALT_PS* saida);
    // The chart store's index entries of a kind at a position: empty when there are none or the
    // copy fails; a negative result of the count is traced and answered.
    HRESULT EntradasIndice(const char* funcao, const OLECHAR* tipo, uint32_t posicao,
                           std::vector<REGCON_INDEX>& entradas);
    // Hands a list of index entries to the caller in a block of the task allocator (always one,
    // empty or not).
    HRESULT EntregaIndice(const char* funcao, const std::vector<REGCON_INDEX_ALT_PS>& lista,
                          ARRAY_REGCON_INDEX_ALT_PS** ppArrayRegConIndexps);
};

// Answers of the plan operations.
constexpr HRESULT kSemPlanoSelecionado = TQHResult(0x800402DD);
constexpr HRESULT kPlanoSemRegistroDeMascara = TQHResult(0x800402DE);
constexpr HRESULT kPlanoSemMascaras = TQHResult(0x800402DF);
// Answers of the account operations.
constexpr HRESULT kContasDemais = TQHResult(0x800402DC);
constexpr HRESULT kCodigoDeOutraConta = 0x00040629;    // a success code: nothing written
constexpr HRESULT kCodigoDeContaExcluida = 0x000405E0; // a success code
constexpr uint32_t kMaximoContas = 65500;
// A mask change that would lose a significant digit: nothing swapped (a success code).
constexpr HRESULT kMascaraPerderiaDigito = 0x000405F2;
// A chart file name in the catalogue that would leave the data directory, or that names another
// file of the service: never opened.
constexpr HRESULT kNomeDeArquivoInvalido = TQHResult(0x80043EBF);
// A position outside the file: what a read past its end answers.
constexpr HRESULT kForaDoArquivo = TQHResult(0x80043E95);

// FuncaoGenerica: clears the mark of the older scheme that a process killed while holding it left
// in the data directory ("CNCMARCA.DAT"). Safe at any time: a mark that a live process holds is
// left alone (it keeps the file open). Answers S_OK, with one byte out: the type of the mark
// cleared, 0 when there was none.
constexpr uint32_t kFuncaoLiberaMarcaDeixada = 0x5A5A0001;

// The reduced code of an account in a field of 10 or 32 bytes.
void TQDigitoConta(uint32_t numero, char* campo, size_t tamanho);
