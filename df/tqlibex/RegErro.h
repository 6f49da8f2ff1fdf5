// The records of the object's last error (480 bytes) and of the generic function's opaque
// byte block (24 bytes), as the interface carries them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Tipos.h"

struct _REG_DF_ERROPS {
    HRESULT hr;
    int32_t nCodigoErro;
    int32_t lCodigoMensagem;
    int32_t iRegistro;
    int32_t iItem;
    int32_t lCodigoCampo;
    uint16_t nModuloMensagem;
    int16_t nTipoErro;
    uint16_t usNumeroServidor;
    char cMensagem[302];
    char szEmpresa[48];
    char cFiller[100];
};

static_assert(sizeof(_REG_DF_ERROPS) == 480);
static_assert(offsetof(_REG_DF_ERROPS, lCodigoCampo) == 20);
static_assert(offsetof(_REG_DF_ERROPS, nModuloMensagem) == 24);
static_assert(offsetof(_REG_DF_ERROPS, nTipoErro) == 26);
static_assert(offsetof(_REG_DF_ERROPS, usNumeroServidor) == 28);
static_assert(offsetof(_REG_DF_ERROPS, cMensagem) == 30);
static_assert(offsetof(_REG_DF_ERROPS, szEmpresa) == 332);
static_assert(offsetof(_REG_DF_ERROPS, cFiller) == 380);

struct _REG_DF_FUNCAO_GENERICAPS {
    uint32_t ulQtdBytes;
    char cFiller[4];
    uint8_t* pListaBytes;
    int64_t pFiller; // pointer-sized filler
};

static_assert(sizeof(_REG_DF_FUNCAO_GENERICAPS) == 24);
static_assert(offsetof(_REG_DF_FUNCAO_GENERICAPS, pListaBytes) == 8);
static_assert(offsetof(_REG_DF_FUNCAO_GENERICAPS, pFiller) == 16);
