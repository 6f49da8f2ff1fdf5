// Where a trace line or a report comes from.
#pragma once

// The place of a call. As a default argument, Atual() takes the caller's file, function and line
// (the compilers' builtins that std::source_location is made of: the fuzzing build's compiler
// has no std::source_location with this standard library).
struct TQOnde {
    const char* arquivo;
    const char* funcao;
    int linha;

    static constexpr TQOnde Atual(const char* arquivo = __builtin_FILE(), const char* funcao = __builtin_FUNCTION(),
                                  int linha = __builtin_LINE()) noexcept
    {
        return {arquivo, funcao, linha};
    }
};

// The function a trace line names and the line it carries. Built from a name alone, it takes
// the line of the call that names it, so no call site spells its own line. The lines that trace
// readers know by number are named constants (kLinha...), given with the name.
struct TQLocal {
    const char* funcao;
    int linha;

    constexpr TQLocal(const char* nome, TQOnde onde = TQOnde::Atual()) noexcept : funcao(nome), linha(onde.linha) {}
    constexpr TQLocal(const char* nome, int linhaFixa) noexcept : funcao(nome), linha(linhaFixa) {}
};
