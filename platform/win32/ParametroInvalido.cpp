#include "platform/ParametroInvalido.h"

#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/win32/Largo.h"

namespace plataforma {

void EntregaAoTratador(const char* expressao, const char* funcao, const char* arquivo, unsigned linha);

namespace {

// The runtime's handler is process-wide: it hands each report to the reporting thread's own.
void Despacha(const wchar_t* expressao, const wchar_t* funcao, const wchar_t* arquivo, unsigned linha, uintptr_t)
{
    const auto ansi = [](const wchar_t* t) { return t ? win32::Estreito(t) : std::string(); };
    const std::string e = ansi(expressao), f = ansi(funcao), a = ansi(arquivo);
    EntregaAoTratador(expressao ? e.c_str() : nullptr, funcao ? f.c_str() : nullptr, arquivo ? a.c_str() : nullptr,
                      linha);
}

} // namespace

void LigaRelatosDoRuntime()
{
    static std::once_flag uma;
    std::call_once(uma, [] { _set_invalid_parameter_handler(Despacha); });
}

} // namespace plataforma
