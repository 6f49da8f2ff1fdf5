// The machine-fault guard: runs a function so that a processor fault inside it (bad access,
// division by zero, stack overflow...) ends the function instead of the process.
#pragma once

#include <cstddef>
#include <string>

#include "platform/Tipos.h"

namespace plataforma {

// The structured-exception codes that the guard handles, on both builds.
namespace falha {
constexpr DWORD ViolacaoAcesso = 0xC0000005;
constexpr DWORD LimiteVetor = 0xC000008C;
constexpr DWORD PontoParada = 0x80000003;
constexpr DWORD Desalinhamento = 0x80000002;
constexpr DWORD FltOperandoDesnormal = 0xC000008D;
constexpr DWORD FltDivisaoZero = 0xC000008E;
constexpr DWORD FltResultadoInexato = 0xC000008F;
constexpr DWORD FltOperacaoInvalida = 0xC0000090;
constexpr DWORD FltEstouro = 0xC0000091;
constexpr DWORD FltPilha = 0xC0000092;
constexpr DWORD FltSubfluxo = 0xC0000093;
constexpr DWORD PaginaGuarda = 0x80000001;
constexpr DWORD InstrucaoIlegal = 0xC000001D;
constexpr DWORD ErroPagina = 0xC0000006;
constexpr DWORD IntDivisaoZero = 0xC0000094;
constexpr DWORD IntEstouro = 0xC0000095;
constexpr DWORD DisposicaoInvalida = 0xC0000026;
constexpr DWORD HandleInvalido = 0xC0000008;
constexpr DWORD NaoContinuavel = 0xC0000025;
constexpr DWORD InstrucaoPrivilegiada = 0xC0000096;
constexpr DWORD PassoUnico = 0x80000004;
constexpr DWORD EstouroPilha = 0xC00000FD;
} // namespace falha

// Every code the guard handles. The order is the order of their HRESULTs in the fault
// translation of the suite library, which counts on it.
inline constexpr DWORD kCodigosFalha[] = {
    falha::ViolacaoAcesso,        falha::LimiteVetor,         falha::PontoParada,
    falha::Desalinhamento,        falha::FltOperandoDesnormal, falha::FltDivisaoZero,
    falha::FltResultadoInexato,   falha::FltOperacaoInvalida, falha::FltEstouro,
    falha::FltPilha,              falha::FltSubfluxo,         falha::PaginaGuarda,
    falha::InstrucaoIlegal,       falha::ErroPagina,          falha::IntDivisaoZero,
    falha::IntEstouro,            falha::DisposicaoInvalida,  falha::HandleInvalido,
    falha::NaoContinuavel,        falha::InstrucaoPrivilegiada, falha::PassoUnico,
    falha::EstouroPilha,
};
inline constexpr size_t kQuantidadeCodigosFalha = sizeof(kCodigosFalha) / sizeof(kCodigosFalha[0]);

// Position of a code in kCodigosFalha, or kQuantidadeCodigosFalha when the guard does not handle it.
constexpr size_t IndiceCodigoFalha(DWORD codigo)
{
    size_t i = 0;
    while (i < kQuantidadeCodigosFalha && kCodigosFalha[i] != codigo)
        ++i;
    return i;
}

// Runs funcao(contexto) under the guard on the calling thread. Returns false when it returned
// normally; true when it raised one of the handled faults, with the fault's code and a text
// of the faulting thread's stack (one line per frame, module and offset). Other faults are left
// alone (the process ends as without the guard), and a C++ exception passes through.
// After a fault the frames between the guard and the fault are abandoned: their destructors
// do not run. Guards may nest; the innermost one catches.
// On POSIX: SIGSEGV, SIGBUS, SIGFPE, SIGILL and SIGTRAP become the matching codes, a
// SIGSEGV near the low end of the thread's stack being a stack overflow; such a signal on a
// thread outside any guard goes to the handler that was there before (by default, the crash).
bool ExecutaProtegido(void (*funcao)(void*), void* contexto, DWORD& codigoFalha, std::string& pilha);

} // namespace plataforma
