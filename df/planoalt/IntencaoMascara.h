// The intent of a mask change: written whole and flushed beside the data files before the first
// of its renames, removed after its last step. A process that finds one knows which change was
// cut short, and with what masks, and can finish or undo it.
#pragma once

#include <cstdint>
#include <string>

#include "df/planoalt/ArquivosPlano.h"
#include "platform/Tipos.h"

constexpr const char* kArquivoIntencao = "Plano.int";

#pragma pack(push, 1)
struct RegIntencaoMascara {
    char assinatura[8];       // kAssinaturaIntencao
    uint32_t plano;           // the plan's number: the record of its masks
    char arquivoPlano[16];    // the chart's and the index's names in the data directory
    char arquivoIndice[16];
    RegMascara antigas;       // the mask record before the change and after it
    RegMascara novas;
    uint64_t crc;             // CRC-64 of the bytes before: a torn intent is no intent
};
#pragma pack(pop)

// Writes the intent whole, with its CRC, and puts it on the disk; 0 or a system error.
DWORD GravaIntencao(const std::string& caminho, RegIntencaoMascara& intencao);
// true when the file holds a whole intent.
bool LeIntencao(const std::string& caminho, RegIntencaoMascara& intencao);
