// The one entry point of trace lines: every failing step calls it with its identity, where it
// is (function and line), its source and the text of the failure.
#pragma once

#include <cstdarg>
#include <string>

#include "df/tqlibex/TQLocal.h"
#include "platform/Tipos.h"

class ITQDF_Profiler; // identity of the caller (company, user, session); may be null

struct LinhaTrace {
    ITQDF_Profiler* identidade;
    const char* funcao;
    const char* fonte;
    int linha;
    std::string texto;
};

// Where trace lines go. Without a destination they go to the error output.
using DestinoTrace = void (*)(const LinhaTrace& linha, void* contexto);
void TQDefineDestinoTrace(DestinoTrace destino, void* contexto);

// printf-style format; "%I64d" and "%I64u" are accepted as on Windows.
// (No format attribute: the system's own formats use "%I64d", unknown to the compiler's check.)
void TQTrace(ITQDF_Profiler* identidade, TQLocal onde, const char* fonte, const char* formato, ...);
void TQTraceV(ITQDF_Profiler* identidade, TQLocal onde, const char* fonte, const char* formato,
              va_list argumentos);

// The HRESULT format: "<variable> = <expression>", the value and the names of its parts.
void TQTraceHResult(ITQDF_Profiler* identidade, TQLocal onde, const char* fonte,
                    const char* variavel, const char* expressao, HRESULT hr);
// The return-code format, for a status of the record files.
void TQTraceRetorno(ITQDF_Profiler* identidade, TQLocal onde, const char* fonte,
                    const char* variavel, const char* expressao, long retorno);

// An assertion report: a condition the code relies on did not hold.
void TQRelatorioAssercao(const char* fonte, const char* expressao,
                         TQOnde onde = TQOnde::Atual());
