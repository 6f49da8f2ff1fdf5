// The extension functions of FuncaoGenerica that work on the selected plan: their numbers, the
// byte layouts of their blocks (little-endian, no padding) and the answers per account. The
// service and its clients share this header; docs/funcoes-genericas.md describes the same.
#pragma once

#include <cstdint>

#include "df/planoalt/RegPlanoAlt.h"
#include "platform/Tipos.h"

// Bulk import: a block of accounts goes in, one result per account comes out.
constexpr uint32_t kFuncaoImportaContas = 0x5A5A0002;
// The plan's files checked (nothing written), or checked and repaired.
constexpr uint32_t kFuncaoVerificaPlano = 0x5A5A0003;
constexpr uint32_t kFuncaoReparaPlano = 0x5A5A0004;
// Every live account of the selected plan in chart order, with its live links.
constexpr uint32_t kFuncaoExportaContas = 0x5A5A0005;

#pragma pack(push, 1)
// In: this header, then ulQtd records REG_PLANO_ALT_PS of 152 bytes (classification, own code,
// name, type, characteristic and iIndTitulo are read; the rest is ignored).
struct CabecalhoImportacao {
    uint32_t ulOpcoes;
    uint32_t ulQtd;
};
// Out: this header, then ulQtd results in the order of the records.
struct CabecalhoResultadoImportacao {
    uint32_t ulGravadas; // accounts written (0 on a dry run or when any was refused)
    uint32_t ulQtd;
};
struct ResultadoImportacao {
    int32_t hr;       // S_OK, or why the account was refused
    int32_t lPosicao; // its position in the chart once written; 0 otherwise
};

// Out of the check and of the repair: this header, then ulQtd findings.
struct CabecalhoVerificacao {
    uint32_t ulQtd;
    uint32_t ulCorrigidos;
};
struct AchadoVerificacao {
    uint32_t ulTipo;      // TipoAchado
    uint32_t ulPosicao;   // the account (the plan, for kAchadoArquivoAusente; 0 for the index)
    uint32_t ulDetalhe;   // the link record, the other account or the missing file (see below)
    uint32_t ulCorrigido; // 1 when the repair fixed it
};

// Out of the export: this header, ulQtdContas records REG_PLANO_ALT_PS, then ulQtdVinculos links.
struct CabecalhoExportacao {
    uint32_t ulQtdContas;
    uint32_t ulQtdVinculos;
};
struct VinculoExportado {
    int32_t lPosicaoAlt;
    int32_t lPosicaoPla;
    uint16_t iCaracteristicaPla;
    uint16_t usFiller;
};
#pragma pack(pop)
static_assert(sizeof(CabecalhoImportacao) == 8 && sizeof(ResultadoImportacao) == 8);
static_assert(sizeof(CabecalhoVerificacao) == 8 && sizeof(AchadoVerificacao) == 16);
static_assert(sizeof(CabecalhoExportacao) == 8 && sizeof(VinculoExportado) == 12);

// Options of an import.
constexpr uint32_t kImportaSimulacao = 0x1; // dry run: nothing written, the same results
constexpr uint32_t kImportaValidas = 0x2;   // write the accepted accounts even when some are refused

enum TipoAchado : uint32_t {
    kAchadoIndiceDiferente = 1,    // the index file is not the one the chart gives
    kAchadoCadeiaEmLaco = 2,       // detalhe: the link record that closes the loop
    kAchadoVinculoRepetido = 3,    // detalhe: a link record already reached from another account
    kAchadoVinculoAlemDoFim = 4,   // detalhe: the record number past the end of the link file
    kAchadoSemTitulo = 5,          // the title above the account's classification is missing
    kAchadoCodigoRepetido = 6,     // detalhe: the first account with the same own code
    kAchadoForaDaMascara = 7,      // the classification does not fit the plan's masks
    kAchadoArquivoAusente = 8,     // ulPosicao: the plan; detalhe: 1 chart, 2 index, 3 both
};

// Refusals of one account of an import (the whole call answers S_OK with them).
constexpr HRESULT kContaForaDaMascara = TQHResult(0x81080D10);
constexpr HRESULT kContaCodigoDoPlano = TQHResult(0x81080D11);
constexpr HRESULT kContaCodigoRepetido = TQHResult(0x81080D12);
constexpr HRESULT kContaSemTitulo = TQHResult(0x81080D13);
constexpr HRESULT kContaNomeInvalido = TQHResult(0x81080D14);
constexpr HRESULT kContaTipoInvalido = TQHResult(0x81080D15);
constexpr HRESULT kContaCodigoLongo = TQHResult(0x81080D16);
// A block whose size does not match its header: the call is refused.
constexpr HRESULT kBlocoInvalido = TQHResult(0x81080D17);
