// The record file: fixed-size records by number, a read-ahead cache kept honest by a
// process-wide generation table, bounded retries against other processes, and a control
// file that refuses to re-create a data file that once existed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "df/tqlibex/BaseArquivo.h"
#include "df/tqlibex/GeracaoArquivos.h"
#include "df/tqlibex/TQArqMarcaEnum.h"

class CTQArqEx : public CBaseArquivo, public ITQArqMarcaEnum {
public:
    CTQArqEx() = default;
    ~CTQArqEx();
    CTQArqEx(const CTQArqEx&) = delete;
    CTQArqEx& operator=(const CTQArqEx&) = delete;

    // Records the settings; opens at once only when asked or at the object's first use.
    uint32_t Abre(const std::string& caminho, char modo, uint32_t tamanhoRegistro, int criaSeFaltar = 1,
                  bool abreAgora = false);
    uint32_t Fecha();

    uint32_t Le(uint32_t registro, void* buffer);
    // posicao 0 appends; on success it holds the number of the record written.
    uint32_t Grava(const void* registro, int32_t& posicao, uint32_t tamanho);
    uint32_t Grava(const void* registro, int32_t& posicao);

    bool EstaAberto() const { return m_bAberto; }
    uint64_t GetTamanhoArquivo();
    uint32_t GetTamanhoRegistro() const { return m_ulTamanhoRegistro; }
    int32_t QuantidadeRegistros(bool semRegistroZero = true);
    void InvalidaCache(bool novaGeracao);
    // Drops every cache of the process on the file at `caminho` (after it was renamed or replaced
    // behind the objects that read it).
    static void InvalidaCachesDoArquivo(const std::string& caminho);
    void SetControleGeracao(bool controle) { m_bControleGeracao = controle; }
    void SetTraceLeituraAlemDoFim(bool trace) { m_bTraceAlemDoFim = trace; }

private:
    void Aponta(const std::string& caminho);
    uint32_t AbreArquivo();
    uint32_t GarantaAberto();
    uint32_t NovoArquivo(char modo, uint32_t tamanhoRegistro);
    uint32_t RegistraNoControle(const std::string& nomeNormalizado);
    uint32_t GravaInicio(const void* bloco, uint32_t tamanho);
    bool CacheValido();
    void AlocaBuffer(uint32_t capacidade);
    geracao::Entrada* Geracao() const { return m_bControleGeracao ? m_pGeracao : nullptr; }

    bool m_bTraceAlemDoFim = true;
    std::unique_ptr<char[]> m_buffer;
    uint32_t m_ulCapacidade = 0;
    uint64_t m_ullInicioCache = 0;
    int32_t m_lBytesCache = -1;
    uint32_t m_ulTamanhoRegistro = 0;
    bool m_bAberto = false;
    int32_t m_lUsaControle = 1;
    bool m_bValidaCache = true;
    uint32_t m_ulTickCarga = 0;
    char m_cModo = 0;
    int32_t m_lCriaSeFaltar = 0;
    bool m_bControleGeracao = true;
    uint32_t m_ulGeracaoVista = 0;
    uint64_t m_ullChaveNome = 0;
    geracao::Entrada* m_pGeracao = nullptr; // the entry of m_ullChaveNome
};
