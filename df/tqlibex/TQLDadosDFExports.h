// The exports of TQLDadosDF that this program calls: the company's main chart of accounts,
// read by position. Only plain records and an abstract interface cross; the library owns the
// reader it creates and frees it itself.
#pragma once

#include <cstdint>

// One account of the main chart, its texts zero-terminated.
struct TQ_CONTA_EMPRESARIAL {
    uint32_t ulPosicao;
    uint8_t cStatus; // bit 0: summary account
    char szClassificacao[29];
    char szCodigo[11];
    char szNome[51];
};

class ITQPlanoEmpresarial {
public:
    // Destroys the reader inside the library.
    virtual void Libera() = 0;
    // 0 when the account at the position was read; otherwise a record-file status: the end of
    // the file for a position past it, an invalid argument for position 0 or a null record.
    virtual uint32_t Le(uint32_t posicao, TQ_CONTA_EMPRESARIAL* conta) = 0;
    // The number of accounts (record 0 not counted), or a record-file status.
    virtual uint32_t Quantidade(uint32_t* quantidade) = 0;

protected:
    ~ITQPlanoEmpresarial() = default;
};

extern "C" {
// A reader of the company's main chart (released with its Libera), or null.
typedef ITQPlanoEmpresarial* (*PFN_TQCriaPlanoEmpresarial)(const char* empresa);
}

constexpr const char* kExportTQCriaPlanoEmpresarial = "TQCriaPlanoEmpresarial";
constexpr const char* kBibliotecaTQLDadosDF = "TQLDadosDF.dll";
// The main chart's record file in the company's data directory: chart records of 96 bytes.
constexpr const char* kArquivoPlanoEmpresarial = "DFPLAEMP.DAT";
constexpr uint32_t kTamanhoRegistroPlanoEmpresarial = 96;
