// The translation of machine faults into HRESULTs, and the guard that the call frame runs
// each business operation in.
#pragma once

#include <string>
#include <type_traits>

#include "platform/Tipos.h"

class CTQSEH {
public:
    // The HRESULT of a structured-exception code: 0x8004EAC5 onwards for the codes the guard
    // handles, 0x8004EADB for 0x80000029, 0x8004EE47 for any other.
    static HRESULT TraduzCodigo(DWORD codigo);

    // Runs f() (which returns an HRESULT) under the fault guard: f's result, or the HRESULT of
    // the machine fault it raised. After a fault the code and the stack text are kept as the
    // process's last ones, the text also goes to *pilha and true to *falhou when given. A
    // thrown exception passes through.
    static HRESULT Executa(HRESULT (*funcao)(void*), void* contexto, std::string* pilha = nullptr,
                           bool* falhou = nullptr);

    template <class F>
    static HRESULT Executa(F&& f, std::string* pilha = nullptr, bool* falhou = nullptr)
    {
        using Funcao = std::remove_reference_t<F>;
        return Executa([](void* p) -> HRESULT { return (*static_cast<Funcao*>(p))(); },
                       const_cast<void*>(static_cast<const volatile void*>(&f)), pilha, falhou);
    }

    // The last fault caught in the process (0 and empty before any).
    static DWORD UltimoCodigo();
    static std::string UltimaPilha();
};

// True for the HRESULTs of the fault translation: 0x8004EAC5 to 0x8004EADB, and 0x8004EE47.
bool TQEhHResultDeFalha(HRESULT hr);
