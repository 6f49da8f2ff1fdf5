// The whole-file object: a file read and written as one block from its start, or appended to.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Arquivo.h"

class CArquivo : public plataforma::ArquivoSO {
public:
    CArquivo() = default;
    ~CArquivo();
    CArquivo(const CArquivo&) = delete;
    CArquivo& operator=(const CArquivo&) = delete;

    // modo 'L', 'G' or 'C'. A missing file is never created here; 'C' creates it.
    uint32_t Abre(const std::string& caminho, char modo);
    // Reads the first tamanho bytes of the file.
    uint32_t Le(uint32_t tamanho, void* buffer);
    // onde 'I' writes from the start (the old tail stays), 'F' appends.
    uint32_t Grava(const void* buffer, uint32_t tamanho, char onde);
    // onde 'I' start, 'F' end (stores the length), 'P' absolute offset.
    uint32_t Posiciona(char onde, int32_t deslocamento, uint32_t& tamanho);
    uint32_t Fecha();
    // Readers (shared) and rewriters (exclusive, on a handle open for writing) of the whole
    // file take turns: a reader sees the file as it was before a rewrite or after it, never
    // half written. Waits a few seconds for a holder, then answers 16128.
    uint32_t TravaConteudo(bool exclusiva);

    const std::string& GetNomeArquivo() const { return m_sNome; }

private:
    std::string m_sNome;
};
