#include "platform/GuardaFalhas.h"

#include <malloc.h>

#include <cstdio>

#include "platform/win32/Largo.h"

namespace plataforma {

namespace {

constexpr int kMaxQuadros = 48;
// Below the stack pointer of the guard's calling frame: where the landing function runs.
constexpr uintptr_t kFolgaPouso = 64;

// One guarded call in progress on a thread.
struct Quadro {
    CONTEXT contexto; // the walk's copy, kept here and not on an exhausted stack
    void* retorno[5]; // the __builtin_setjmp buffer
    Quadro* anterior;
    uintptr_t pilhaPouso;
    volatile bool emTratamento;
    DWORD codigo;
    ULONG_PTR endereco;
    int quantidade;
    DWORD64 enderecos[kMaxQuadros];
};

// A Win32 TLS slot rather than thread_local: the filter reads it on any thread that faults,
// and mingw's emulated TLS may allocate on a thread's first access.
DWORD g_indiceTls = TLS_OUT_OF_INDEXES;

Quadro* QuadroAtual()
{
    return static_cast<Quadro*>(TlsGetValue(g_indiceTls));
}

// Where the filter resumes the faulting thread: straight back into the guard. The frames in
// between are abandoned; catch(...) would not see a hardware fault with this compiler.
[[noreturn]] void Pousa()
{
    __builtin_longjmp(QuadroAtual()->retorno, 1);
}

// The faulting thread's frames, by the unwind data of each function, from the fault's context.
void RegistraPilha(Quadro& q)
{
    // The thread's own block, as NtCurrentTeb() reads it (whose inline gcc 12 warns about).
    const NT_TIB* tib;
    asm("mov %%gs:0x30, %0" : "=r"(tib));
    const DWORD64 baixo = reinterpret_cast<DWORD64>(tib->StackLimit);
    const DWORD64 alto = reinterpret_cast<DWORD64>(tib->StackBase);
    CONTEXT& c = q.contexto;
    q.quantidade = 0;
    while (q.quantidade < kMaxQuadros && c.Rip != 0 && c.Rsp >= baixo && c.Rsp + sizeof(DWORD64) <= alto) {
        const DWORD64 pc = c.Rip;
        q.enderecos[q.quantidade++] = pc;
        DWORD64 base = 0;
        PRUNTIME_FUNCTION funcao = RtlLookupFunctionEntry(pc, &base, nullptr);
        if (funcao == nullptr) {
            // A leaf function has no unwind data: its return address is on top of the stack.
            c.Rip = *reinterpret_cast<const DWORD64*>(c.Rsp);
            c.Rsp += sizeof(DWORD64);
        } else {
            void* dadosTratador = nullptr;
            DWORD64 quadroEstabelecido = 0;
            RtlVirtualUnwind(UNW_FLAG_NHANDLER, base, pc, funcao, &c, &dadosTratador, &quadroEstabelecido, nullptr);
        }
    }
}

LONG WINAPI Filtro(EXCEPTION_POINTERS* excecao)
{
    Quadro* q = QuadroAtual();
    const EXCEPTION_RECORD& registro = *excecao->ExceptionRecord;
    if (q == nullptr || IndiceCodigoFalha(registro.ExceptionCode) == kQuantidadeCodigosFalha)
        return EXCEPTION_CONTINUE_SEARCH;
    // A fault while recording this one goes back with what there is.
    if (!q->emTratamento) {
        q->emTratamento = true;
        q->codigo = registro.ExceptionCode;
        const bool acesso = registro.ExceptionCode == falha::ViolacaoAcesso || registro.ExceptionCode == falha::ErroPagina;
        q->endereco = acesso && registro.NumberParameters >= 2 ? registro.ExceptionInformation[1]
                                                                : reinterpret_cast<ULONG_PTR>(registro.ExceptionAddress);
        q->contexto = *excecao->ContextRecord;
        RegistraPilha(*q);
    }
    excecao->ContextRecord->Rsp = q->pilhaPouso;
    excecao->ContextRecord->Rip = reinterpret_cast<DWORD64>(&Pousa);
    return EXCEPTION_CONTINUE_EXECUTION;
}

bool Instala()
{
    g_indiceTls = TlsAlloc();
    AddVectoredExceptionHandler(1, Filtro);
    return true;
}

// Arms the guard for one call; the previous guard of the thread comes back when it ends,
// by return, by a fault or by an exception.
class Armado {
public:
    explicit Armado(Quadro& q) : m_q(q)
    {
        q.anterior = QuadroAtual();
        q.emTratamento = false;
        TlsSetValue(g_indiceTls, &q);
    }
    ~Armado() { TlsSetValue(g_indiceTls, m_q.anterior); }
    Armado(const Armado&) = delete;
    Armado& operator=(const Armado&) = delete;

private:
    Quadro& m_q;
};

// Separate so that the jump lands in a frame that holds nothing but the call. The landing
// function runs below this frame's stack pointer, over the abandoned frames, and leaves
// this frame's saved registers intact for the return.
__attribute__((noinline)) bool ChamaAteFalha(Quadro& q, void (*funcao)(void*), void* contexto)
{
    uintptr_t pilha;
    asm volatile("mov %%rsp, %0" : "=r"(pilha));
    // Aligned as at a function's entry: 8 below a multiple of 16.
    q.pilhaPouso = ((pilha - kFolgaPouso) & ~uintptr_t(15)) - 8;
    if (__builtin_setjmp(q.retorno) != 0)
        return true;
    funcao(contexto);
    return false;
}

std::string NomeModulo(DWORD64 endereco, DWORD64& base)
{
    HMODULE modulo = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(endereco), &modulo))
        return std::string();
    wchar_t caminho[MAX_PATH];
    const DWORD n = GetModuleFileNameW(modulo, caminho, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return std::string();
    std::wstring_view nome(caminho, n);
    const size_t barra = nome.find_last_of(L"\\/");
    if (barra != std::wstring_view::npos)
        nome.remove_prefix(barra + 1);
    base = reinterpret_cast<DWORD64>(modulo);
    return win32::Estreito(nome);
}

std::string FormataPilha(const Quadro& q)
{
    char linha[160];
    std::snprintf(linha, sizeof linha, "excecao 0x%08lX endereco 0x%llx\n", static_cast<unsigned long>(q.codigo),
                  static_cast<unsigned long long>(q.endereco));
    std::string texto = linha;
    for (int i = 0; i < q.quantidade; ++i) {
        DWORD64 base = 0;
        const std::string modulo = NomeModulo(q.enderecos[i], base);
        if (modulo.empty())
            std::snprintf(linha, sizeof linha, "#%d 0x%llx\n", i, static_cast<unsigned long long>(q.enderecos[i]));
        else
            std::snprintf(linha, sizeof linha, "#%d %s+0x%llx\n", i, modulo.c_str(),
                          static_cast<unsigned long long>(q.enderecos[i] - base));
        texto += linha;
    }
    return texto;
}

} // namespace

bool ExecutaProtegido(void (*funcao)(void*), void* contexto, DWORD& codigoFalha, std::string& pilha)
{
    static const bool instalado = Instala();
    (void)instalado;
    Quadro q;
    {
        Armado armado(q);
        if (!ChamaAteFalha(q, funcao, contexto))
            return false;
    }
    // The overflow used up the stack's guard page: put one back for the next overflow.
    if (q.codigo == falha::EstouroPilha)
        _resetstkoflw();
    codigoFalha = q.codigo;
    pilha = FormataPilha(q);
    return true;
}

} // namespace plataforma
