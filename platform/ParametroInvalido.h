// Reports of invalid arguments by checked run-time routines, delivered to a handler of the
// calling thread (which may throw). Windows: the C runtime's own reports reach it too.
#pragma once

#include <cstddef>

namespace plataforma {

// Any text may be null (the runtime's release builds give none).
using TratadorParametroInvalido = void (*)(const char* expressao, const char* funcao, const char* arquivo,
                                           unsigned linha, void* contexto);

// Installs the calling thread's handler; it stays until replaced. Null removes it.
void DefineTratadorParametroInvalido(TratadorParametroInvalido tratador, void* contexto);

// What a checked routine does with a bad argument: errno set to numeroErrno, then the
// thread's handler. Without a handler nothing more happens and the routine fails.
void RelataParametroInvalido(int numeroErrno, const char* expressao, const char* funcao, const char* arquivo,
                             unsigned linha);

// Checked copy of a text into a buffer of `tamanho` bytes: 0, or EINVAL (null destination or
// source, zero size) or ERANGE (does not fit; the destination is emptied), each reported.
int CopiaTexto(char* destino, size_t tamanho, const char* origem);

} // namespace plataforma
