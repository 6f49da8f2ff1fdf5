// The current scheme of marks: a file created with no sharing at all and held open.
// Another taker's create fails with a sharing violation until the holder closes it.
#pragma once

#include <cstdint>
#include <string>

#include "df/tqlibex/CodigosMarca.h"
#include "platform/Arquivo.h"

// 0 when taken (arquivo holds it), the busy code of the type after the wait, 16080 for access
// denied (at once unless esperaAcessoNegado), 0x80070000 | system error for any other failure.
uint32_t TomaMarcaAtual(plataforma::ArquivoSO& arquivo, const std::string& caminho, EsquemaMarca esquema,
                        unsigned tipo, bool esperaAcessoNegado);

// "<directory><separator unless it ends with one><name>"
std::string CaminhoNoDiretorio(const std::string& diretorio, const std::string& nome);

// How long a taker waits for a busy mark (50 s).
DWORD EsperaMarcaMs();
