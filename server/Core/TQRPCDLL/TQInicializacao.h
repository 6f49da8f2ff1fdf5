// The session record between servers of the suite: the checks a receiver makes, and the
// record this server builds when it initializes an object of another server.
#pragma once

#include <cstdint>

#include "df/tqlibex/RegInicializa.h"
#include "platform/Tipos.h"

class ITQDF_Profiler;

constexpr uint16_t kVersaoKarvo = 118;
constexpr HRESULT E_TQCR_VERSAO_INCOMPATIVEL = TQHResult(0x81080BFD);
constexpr HRESULT E_TQCR_CRC_INICIALIZACAO_INVALIDO = TQHResult(0x81080C17);
constexpr HRESULT E_TQCR_ESTRUTURA_INICIALIZACAO_INVALIDA = TQHResult(0x81080C19);

// The CRC-64 of everything before uiCRC.
uint64_t TQCrcInicializacao(const _REG_DF_INICIALIZAPS& registro);

// Whether the registry switches the CRC and structure checks off (read at each call).
bool TQControleInicializacaoDesabilitado();

// True when the names, the source line and the control byte are as a sender fills them.
bool TQEstruturaInicializacaoValida(const _REG_DF_INICIALIZAPS& registro);

// A fresh record from an identity, for the source and line that initialize the other object.
_REG_DF_INICIALIZAPS TQRegistroParaOutroServidor(ITQDF_Profiler& identidade, const char* fonte, int linha);
