// Where a trace line or a report comes from.
#pragma once

#include <source_location>

// The function a trace line names and the line it carries. Built from a name alone, it takes
// the line of the call that names it, so no call site spells its own line. The lines that trace
// readers know by number are named constants (kLinha...), given with the name.
struct TQLocal {
    const char* funcao;
    int linha;

    constexpr TQLocal(const char* nome, std::source_location onde = std::source_location::current()) noexcept
        : funcao(nome), linha(static_cast<int>(onde.line()))
    {
    }
    constexpr TQLocal(const char* nome, int linhaFixa) noexcept : funcao(nome), linha(linhaFixa) {}
};
