// A seam at the system edge of the file operations, so tests can make any of them fail as the
// system would (a full disk, a lock held elsewhere...) and watch the retry rules answer.
// Only tests arm it; unarmed, each operation pays one relaxed atomic load.
#pragma once

#include "platform/Tipos.h"

namespace plataforma {

enum class OperacaoArquivo { Abre, Le, Grava, Posiciona, DefineFim, Fecha, Quantas };

// The system error a fault asks this call of `operacao` to fail with; 0 lets it through.
// Called first by each operation of both backends.
DWORD FalhaDaOperacao(OperacaoArquivo operacao);

// Tests only: the product never calls these.
// From now on the `enesima` call of `operacao` (1 = the next) and the `vezes` - 1 after it
// (vezes 0: every call after it) fail with erroSO. Counting starts again at each call.
void DefineFalhaArquivoParaTestes(OperacaoArquivo operacao, unsigned enesima, DWORD erroSO, unsigned vezes = 1);
// Calls of `operacao` since the fault was defined.
unsigned ChamadasArquivoParaTestes(OperacaoArquivo operacao);
void RemoveFalhaArquivoParaTestes();

} // namespace plataforma
