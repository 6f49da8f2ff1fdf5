// The answer of a record-file operation: success or one of the codes below. Its own type, so a
// code cannot pass for an HRESULT or a system error number by accident.
#pragma once

#include <cstdint>

#include "platform/Tipos.h"

class StatusArq {
public:
    constexpr StatusArq() = default;
    constexpr explicit StatusArq(uint32_t codigo) : m_codigo(codigo) {}

    // True when the operation failed, as a nonzero code reads: `if (StatusArq s = arq.Le(...))`.
    constexpr explicit operator bool() const { return m_codigo != 0; }
    constexpr bool Ok() const { return m_codigo == 0; }
    constexpr uint32_t Codigo() const { return m_codigo; }
    // As a caller reports it: S_OK, or the error bit and FACILITY_ITF around the code.
    constexpr HRESULT ComoHResult() const { return m_codigo ? TQHResult(0x80040000u | m_codigo) : S_OK; }
    // The code an HRESULT of FACILITY_ITF carries in its low word.
    static constexpr StatusArq DoHResult(HRESULT hr) { return StatusArq(uint32_t(hr) & 0xFFFF); }
    constexpr bool operator==(const StatusArq&) const = default;

private:
    uint32_t m_codigo = 0;
};

namespace statusarq {
constexpr StatusArq Ok{};
constexpr StatusArq BuscaFalhou{16012};
constexpr StatusArq FimArquivo{16021};
constexpr StatusArq ErroHardware{16039};
constexpr StatusArq NaoEncontrado{16055};
constexpr StatusArq CaminhoInvalido{16063};
constexpr StatusArq MuitosAbertos{16071};
constexpr StatusArq AcessoNegado{16080};
constexpr StatusArq SomenteLeitura{16081};
constexpr StatusArq ArquivoInvalido{16098};
constexpr StatusArq DiretorioCheio{16101};
constexpr StatusArq Compartilhamento{16110};
constexpr StatusArq Bloqueio{16128};
constexpr StatusArq DiscoCheio{16136};
constexpr StatusArq TentativasEsgotadas{16144};
constexpr StatusArq ArgumentoInvalido{16179};
// A write position beyond the end or negative: the low word of 0x80040A73 and 0x80040A74.
constexpr StatusArq PosicaoAlemDoFim{2675};
constexpr StatusArq PosicaoNegativa{2676};
} // namespace statusarq
