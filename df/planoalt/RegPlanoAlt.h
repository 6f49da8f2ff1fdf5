// The records of the service's interface methods, as the contract lays them out (natural
// alignment, pointers of 8 bytes; the pointer-sized fillers are 64-bit integers). LONG and ULONG
// are the contract's 32-bit long, so client code passes the same pointers as to the methods.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Tipos.h"

// A plan as the catalogue methods see it (72 bytes).
struct REG_DADOS_PLANO_ALT_PS {
    LONG RemoverConsitenciasVinculo;
    LONG lPosicaoPlano;
    LONG bConsiderarCaracteristicaDaContaDragAndDrop;
    char cNomePlano[50];
    char cFiller[10];
};

struct ARRAY_REG_DADOS_PLANO_ALT_PS {
    uint16_t iQtde;
    char cFiller[6];
    REG_DADOS_PLANO_ALT_PS* pArrayDadosPlanoAlt;
    int64_t pFiller;
};

struct ARRAY_REG_EXCLUI_PLANO_ALT_PS {
    uint32_t iQtd;
    char cFiller[4];
    LONG* pPosicoes;
    int64_t pFiller;
};

// The ten masks of a plan; the mask file stores its first 294 bytes.
struct REG_MASCARA_ALT_PS {
    char Mascara[10][28];
    char Caracteristica[10];
    char Filler[4];
    char cFiller[2];
};

struct _MASCARA_PLANO_ALT {
    char Velha[10][32];
    char Nova[10][32];
};

// An account as the account methods see it (152 bytes).
struct REG_PLANO_ALT_PS {
    ULONG lPosContaEmp;
    ULONG lPosContaAnaliticaEmp;
    LONG lPosicaoConta;
    uint16_t iIndTitulo;
    uint16_t iCaracteristica;
    char cNome[52];
    char cClassificacao[32];
    char cCodigoProprio[12];
    char cCodigoUsado[32];
    uint8_t cTipo;
    uint8_t cExcluida;
    uint8_t cTipoContaEmp;
    char cFiller[5];
};

struct REGCON_INDEX_ALT_PS {
    ULONG Tipo_IndCon;
    uint16_t iCaracteristica;
    char Classificacao[14];
    char cFiller[4];
};

struct ARRAY_REGCON_INDEX_ALT_PS {
    uint16_t iQtde;
    char cFiller[6];
    REGCON_INDEX_ALT_PS* pArrayRegConIndex;
    int64_t pFiller;
};

struct REG_VINCULO_ALT {
    LONG bExcluir;
    LONG lPosicaoAlt;
    LONG lPosicaoPla;
    uint16_t iCaracteristicaPla;
    char cFiller[2];
};

static_assert(sizeof(REG_DADOS_PLANO_ALT_PS) == 72 && offsetof(REG_DADOS_PLANO_ALT_PS, cNomePlano) == 12);
static_assert(sizeof(ARRAY_REG_DADOS_PLANO_ALT_PS) == 24 && offsetof(ARRAY_REG_DADOS_PLANO_ALT_PS, pArrayDadosPlanoAlt) == 8);
static_assert(sizeof(ARRAY_REG_EXCLUI_PLANO_ALT_PS) == 24 && offsetof(ARRAY_REG_EXCLUI_PLANO_ALT_PS, pPosicoes) == 8);
static_assert(sizeof(REG_MASCARA_ALT_PS) == 296 && offsetof(REG_MASCARA_ALT_PS, Caracteristica) == 280);
static_assert(sizeof(_MASCARA_PLANO_ALT) == 640);
static_assert(sizeof(REG_PLANO_ALT_PS) == 152 && offsetof(REG_PLANO_ALT_PS, cNome) == 16 &&
              offsetof(REG_PLANO_ALT_PS, cClassificacao) == 68 && offsetof(REG_PLANO_ALT_PS, cCodigoProprio) == 100 &&
              offsetof(REG_PLANO_ALT_PS, cCodigoUsado) == 112 && offsetof(REG_PLANO_ALT_PS, cTipo) == 144);
static_assert(sizeof(REGCON_INDEX_ALT_PS) == 24 && offsetof(REGCON_INDEX_ALT_PS, Classificacao) == 6);
static_assert(sizeof(ARRAY_REGCON_INDEX_ALT_PS) == 24);
static_assert(sizeof(REG_VINCULO_ALT) == 16 && offsetof(REG_VINCULO_ALT, iCaracteristicaPla) == 12);
