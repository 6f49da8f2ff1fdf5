// Helpers shared by the record files: the status of a file error, name keys, whole-file reads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "df/tqlibex/StatusArquivo.h"
#include "platform/Arquivo.h"

// How one operation answers each file error kind: a code at once, a code on the last
// attempt only (retried before), or, for kinds it does not list, retries.
struct RegraCausa {
    StatusArq codigo;
    bool imediato = false;
};
using RegrasCausa = RegraCausa[15];

// Ok asks for another attempt. A kind without a rule gives 16144 on the last attempt.
StatusArq StatusDaCausa(plataforma::TipoErroArquivo causa, const RegrasCausa& regras, bool ultimaTentativa);
inline StatusArq StatusDoErro(DWORD erroSO, const RegrasCausa& regras, bool ultimaTentativa)
{
    return StatusDaCausa(plataforma::ClassificaErroArquivo(erroSO), regras, ultimaTentativa);
}

// The open of both record files: structural faults at once, contention on the last attempt.
extern const RegrasCausa kRegrasAbertura;

// The open modes of the record files by letter; false for a letter outside 'L', 'G', 'C'.
bool ModoDaLetra(char letra, plataforma::ModoArquivo& modo);

// The file's first maximo bytes (all of it by default); false when it cannot be opened or read.
bool TQLeArquivoInteiro(const std::string& caminho, std::string& conteudo, uint64_t maximo = UINT32_MAX);

// Reflected CRC-64 (ECMA-182 polynomial), initial value 0, no final inversion; `anterior`
// continues the CRC of the bytes before.
uint64_t TQCrc64(std::string_view dados, uint64_t anterior = 0);
// The key of a file in the generation table: the CRC-64 of its path in lower case.
uint64_t ChaveNomeArquivo(std::string_view caminho);
