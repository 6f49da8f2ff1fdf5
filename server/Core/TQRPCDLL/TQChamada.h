// What every call of the frame shares, whatever its interface: the call site, the invalid-
// parameter handler, the report of a machine fault and the default access of the call.
#pragma once

#include <string>

#include "df/tqlibex/TQLocal.h"
#include "platform/Tipos.h"

class CTQBaseParaRotinas;

// The frame's own codes.
constexpr HRESULT kObjetoNaoInicializado = TQHResult(0x81080A04);
constexpr HRESULT kSemObjetoDeNegocio = TQHResult(0x81080AA8);
// The main code of the reports of machine faults and invalid parameters (never returned).
constexpr HRESULT kRelatoDeFalha = TQHResult(0x81080BB1);

// A call site: the qualified name of the method with its line, and the source name its trace
// lines carry.
struct LocalChamada {
    TQLocal onde;
    const char* fonte;
};

// The invalid-parameter handler of a call site (contexto is its LocalChamada): reports the
// thread's errno HRESULT through the message library, then throws it as a 32-bit integer.
void TQTrataParametroInvalido(const char* expressao, const char* funcao, const char* arquivo, unsigned linha,
                              void* contexto);

// Reports a machine fault caught in a guarded call through the message library.
void TQRelataFalhaDeMaquina(const LocalChamada& local, HRESULT hr, const char* empresa, const std::string& pilha);

// Makes a call's routine object the default access while the call lasts (when initialized).
class CTQAcessoDaChamada {
public:
    explicit CTQAcessoDaChamada(CTQBaseParaRotinas* rotina);
    ~CTQAcessoDaChamada();
    CTQAcessoDaChamada(const CTQAcessoDaChamada&) = delete;
    CTQAcessoDaChamada& operator=(const CTQAcessoDaChamada&) = delete;
};
