// The record file: fixed-size records by number, a read-ahead cache kept honest by a
// process-wide generation table, bounded retries against other processes, and a control
// file that refuses to re-create a data file that once existed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "df/tqlibex/BaseArquivo.h"
#include "df/tqlibex/GeracaoArquivos.h"
#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQArqMarcaEnum.h"
#include "platform/Tempo.h"

// How a record file opens. A missing file is made unless told otherwise; the open itself waits
// for the object's first use unless asked now (its status is then the answer).
struct OpcoesAbre {
    bool criaSeFaltar = true;
    bool abreAgora = false;
};
inline constexpr OpcoesAbre kAbreAgora{.abreAgora = true};
inline constexpr OpcoesAbre kAbreExistenteAgora{.criaSeFaltar = false, .abreAgora = true};

class CTQArqEx : public CBaseArquivo, public ITQArqMarcaEnum {
public:
    static constexpr uint32_t kValidadeCacheMs = 60001; // a read-ahead lives at most 60 s
    CTQArqEx() = default;
    ~CTQArqEx();
    CTQArqEx(const CTQArqEx&) = delete;
    CTQArqEx& operator=(const CTQArqEx&) = delete;

    // Records the settings; opens at once only when asked or at the object's first use.
    StatusArq Abre(const std::string& caminho, char modo, uint32_t tamanhoRegistro, OpcoesAbre opcoes = {});
    StatusArq Fecha();

    StatusArq Le(uint32_t registro, void* buffer);
    // The records from `registro` on, in place in the read-ahead (valid until the next call on
    // this object): a scan reads them without a copy each. `registros`: how many follow `dados`.
    // Only a read that goes to the platform yields the processor first; one served from the
    // read-ahead does not.
    StatusArq LeBloco(uint32_t registro, const uint8_t*& dados, uint32_t& registros);
    // posicao 0 appends; on success it holds the number of the record written.
    StatusArq Grava(const void* registro, int32_t& posicao, uint32_t tamanho);
    StatusArq Grava(const void* registro, int32_t& posicao);

    // Appends gathered in memory (an import): they reach the file in one write when the batch
    // is full or before anything else touches the file through this object, so a batch costs
    // one platform write (and one yield) instead of one per record. Only for a handle that keeps
    // other writers out: positions are counted on from the length. Turning it off writes the rest.
    StatusArq AcumulaAcrescimos(bool acumula);
    StatusArq DescarregaAcrescimos() { return m_acrescimos.empty() ? StatusArq() : EscreveAcrescimos(); }

    bool EstaAberto() const { return m_bAberto; }
    uint64_t GetTamanhoArquivo();
    uint32_t GetTamanhoRegistro() const { return m_ulTamanhoRegistro; }
    int32_t QuantidadeRegistros(bool semRegistroZero = true);
    void InvalidaCache(bool novaGeracao);
    // Drops this object's read-ahead alone: the next read goes to the file (where another
    // process may have written), without touching the other objects' caches.
    void DescartaCache() { m_lBytesCache = -1; }
    // Drops every cache of the process on the file at `caminho` (after it was renamed or replaced
    // behind the objects that read it).
    static void InvalidaCachesDoArquivo(const std::string& caminho);
    void SetControleGeracao(bool controle) { m_bControleGeracao = controle; }
    void SetTraceLeituraAlemDoFim(bool trace) { m_bTraceAlemDoFim = trace; }

private:
    void Aponta(const std::string& caminho);
    StatusArq AbreArquivo();
    StatusArq GarantaAberto();
    StatusArq NovoArquivo(char modo, uint32_t tamanhoRegistro);
    StatusArq RegistraNoControle(const std::string& nomeNormalizado);
    StatusArq GravaInicio(const void* bloco, uint32_t tamanho);
    // Writes at a byte offset with the retries of a write step.
    StatusArq GravaEm(uint64_t deslocamento, const void* bloco, uint32_t tamanho);
    StatusArq Acumula(const void* registro, int32_t& posicao);
    StatusArq Comprimento(uint64_t& tamanho);
    StatusArq EscreveAcrescimos();
    // Inline with the range test: a read from the read-ahead asks both for every record.
    bool CacheValido()
    {
        if (!m_buffer)
            return false;
        if (!m_bValidaCache)
            return true;
        if (geracao::HouveInvalidacao() || geracao::Mudou(Geracao(), m_ulGeracaoVista))
            return false;
        return plataforma::Ticks() - m_ulTickCarga < kValidadeCacheMs;
    }
    // Whether the record at `deslocamento` is in a valid read-ahead: the cheap range test first.
    bool NoCache(uint64_t deslocamento)
    {
        return m_lBytesCache >= 0 && deslocamento >= m_ullInicioCache &&
               deslocamento + m_ulTamanhoRegistro <= m_ullInicioCache + uint64_t(m_lBytesCache) && CacheValido();
    }
    StatusArq Carrega(uint64_t deslocamento, uint32_t registro);
    // Record `registro` in the read-ahead, filled when it is not there; its byte offset.
    StatusArq TrazAoCache(uint32_t registro, uint64_t& deslocamento);
    void AlocaBuffer(uint32_t capacidade);
    geracao::Entrada* Geracao() const { return m_bControleGeracao ? m_pGeracao : nullptr; }

    bool m_bTraceAlemDoFim = true;
    std::unique_ptr<char[]> m_buffer;
    uint32_t m_ulCapacidade = 0;
    uint32_t m_ulJanela = 0; // the bytes the last fill asked for
    uint64_t m_ullInicioCache = 0;
    int32_t m_lBytesCache = -1;
    uint32_t m_ulTamanhoRegistro = 0;
    bool m_bAberto = false;
    int32_t m_lUsaControle = 1;
    bool m_bValidaCache = true;
    uint32_t m_ulTickCarga = 0;
    char m_cModo = 0;
    bool m_bCriaSeFaltar = false;
    bool m_bControleGeracao = true;
    uint32_t m_ulGeracaoVista = 0;
    uint64_t m_ullChaveNome = 0;
    geracao::Entrada* m_pGeracao = nullptr; // the entry of m_ullChaveNome
    bool m_bAcumula = false;
    std::vector<char> m_acrescimos;    // appends not written yet
    uint64_t m_ullInicioAcrescimos = 0; // where the first of them goes
};
