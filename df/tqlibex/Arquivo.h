// The whole-file object: a file read and written as one block from its start, or appended to.
#pragma once

#include <cstdint>
#include <string>

#include "df/tqlibex/StatusArquivo.h"
#include "platform/Arquivo.h"

class CArquivo {
public:
    CArquivo() = default;
    ~CArquivo();
    CArquivo(const CArquivo&) = delete;
    CArquivo& operator=(const CArquivo&) = delete;

    // modo 'L', 'G' or 'C'. A missing file is never created here; 'C' creates it.
    StatusArq Abre(const std::string& caminho, char modo);
    // Reads the first tamanho bytes of the file.
    StatusArq Le(uint32_t tamanho, void* buffer);
    // onde 'I' writes from the start (the old tail stays), 'F' appends.
    StatusArq Grava(const void* buffer, uint32_t tamanho, char onde);
    // onde 'I' start, 'F' end (stores the length), 'P' absolute offset.
    StatusArq Posiciona(char onde, int32_t deslocamento, uint32_t& tamanho);
    // Cuts or extends the file to `tamanho` bytes; one attempt.
    StatusArq Trunca(uint32_t tamanho);
    StatusArq Fecha();
    bool EstaAberto() const { return m_arquivo.EstaAberto(); }
    // Readers (shared) and rewriters (exclusive, on a handle open for writing) of the whole
    // file take turns: a reader sees the file as it was before a rewrite or after it, never
    // half written. Waits a few seconds for a holder, then answers 16128.
    StatusArq TravaConteudo(bool exclusiva);

    const std::string& GetNomeArquivo() const { return m_sNome; }

private:
    plataforma::ArquivoSO m_arquivo;
    std::string m_sNome;
};
