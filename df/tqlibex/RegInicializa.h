// The session record that a client hands to an object at initialization (296 bytes).
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct _REG_DF_INICIALIZAPS {
    uint32_t ulUsuario;
    uint32_t ulNumeroSessao;
    uint32_t ulLinhaFonte;
    uint32_t ulFiller;
    uint16_t usVersaoKarvo;
    uint16_t usFiller[3];
    char szEmpresa[48];
    char szAplicativo[48];
    char szModuleName[48];
    char szArquivoFonte[64];
    char szNomeUsuarioDominio[32];
    uint8_t cControle;
    uint8_t cWTS;
    char szFiller[22];
    uint64_t uiCRC;
};
#pragma pack(pop)

static_assert(sizeof(_REG_DF_INICIALIZAPS) == 296);
static_assert(offsetof(_REG_DF_INICIALIZAPS, szEmpresa) == 24);
static_assert(offsetof(_REG_DF_INICIALIZAPS, szNomeUsuarioDominio) == 232);
static_assert(offsetof(_REG_DF_INICIALIZAPS, cControle) == 264);
static_assert(offsetof(_REG_DF_INICIALIZAPS, uiCRC) == 288);
