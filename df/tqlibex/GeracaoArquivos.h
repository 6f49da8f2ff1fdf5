// The process-wide table of file generations: a write through one record file object
// makes the caches of the other objects of the process on the same file stale.
#pragma once

#include <cstdint>

namespace geracao {
// Each answers "unchanged" (false) and does nothing for key 0.
void Incrementa(uint64_t chave, uint32_t& vista);
// true when the file's generation moved since vista; vista catches up.
bool Mudou(uint64_t chave, uint32_t& vista);
void Abriu(uint64_t chave);
void Fechou(uint64_t chave);

// Set to 0xFFFFFFFF by every invalidation in the process, to the byte count by every fill.
void MarcaInvalidacao();
void MarcaCarga(uint32_t bytes);
bool HouveInvalidacao();
} // namespace geracao
