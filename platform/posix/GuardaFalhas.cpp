#include "platform/GuardaFalhas.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>
#include <pthread.h>
#include <setjmp.h>
#include <signal.h>
#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace plataforma {

namespace {

constexpr int kSinais[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP};
constexpr int kQuantidadeSinais = sizeof(kSinais) / sizeof(kSinais[0]);
constexpr int kMaxQuadros = 48;
// The handler formats nothing, but the unwinder and the sanitizers want more than SIGSTKSZ.
constexpr size_t kTamanhoPilhaAlternativa = 64 * 1024;
// A SIGSEGV is a stack overflow when the address lies in this band around the low end of the
// thread's stack (the kernel keeps a gap of 256 pages below the main thread's stack)...
constexpr uintptr_t kAbaixoLimite = 1024 * 1024;
constexpr uintptr_t kAcimaLimite = 64 * 1024;
// ... and the stack pointer is within this distance of that end.
constexpr uintptr_t kPilhaPertoLimite = 1024 * 1024;

// One guarded call in progress on a thread.
struct Quadro {
    sigjmp_buf retorno;
    Quadro* anterior;
    volatile bool emTratamento;
    DWORD codigo;
    uintptr_t endereco;   // the address the fault was about
    int quantidade;
    void* enderecos[kMaxQuadros];
};

// Read by the signal handler: plain values with static TLS, safe there.
__attribute__((tls_model("initial-exec"))) thread_local Quadro* t_quadro = nullptr;
__attribute__((tls_model("initial-exec"))) thread_local uintptr_t t_limitePilha = 0;
__attribute__((tls_model("initial-exec"))) thread_local bool t_threadPronta = false;

struct sigaction g_anteriores[kQuantidadeSinais];

int IndiceSinal(int sinal)
{
    int i = 0;
    while (i < kQuantidadeSinais - 1 && kSinais[i] != sinal)
        ++i;
    return i;
}

uintptr_t PonteiroPilha(const void* contexto)
{
    const ucontext_t* uc = static_cast<const ucontext_t*>(contexto);
#if defined(__x86_64__)
    return static_cast<uintptr_t>(uc->uc_mcontext.gregs[REG_RSP]);
#elif defined(__aarch64__)
    return static_cast<uintptr_t>(uc->uc_mcontext.sp);
#else
    (void)uc;
    return 0;
#endif
}

uintptr_t ContadorPrograma(const void* contexto)
{
    const ucontext_t* uc = static_cast<const ucontext_t*>(contexto);
#if defined(__x86_64__)
    return static_cast<uintptr_t>(uc->uc_mcontext.gregs[REG_RIP]);
#elif defined(__aarch64__)
    return static_cast<uintptr_t>(uc->uc_mcontext.pc);
#else
    (void)uc;
    return 0;
#endif
}

bool EhEstouroPilha(uintptr_t endereco, uintptr_t pilha)
{
    const uintptr_t limite = t_limitePilha;
    if (limite == 0)
        return false;
    const bool enderecoPerto = endereco + kAbaixoLimite >= limite && endereco < limite + kAcimaLimite;
    const bool pilhaPerto = pilha == 0 || pilha < limite + kPilhaPertoLimite;
    return enderecoPerto && pilhaPerto;
}

DWORD CodigoDoSinal(int sinal, const siginfo_t* info, uintptr_t pilha)
{
    switch (sinal) {
    case SIGSEGV:
        return EhEstouroPilha(reinterpret_cast<uintptr_t>(info->si_addr), pilha) ? falha::EstouroPilha
                                                                                 : falha::ViolacaoAcesso;
    case SIGBUS:
        return info->si_code == BUS_ADRALN ? falha::Desalinhamento : falha::ErroPagina;
    case SIGFPE:
        switch (info->si_code) {
        case FPE_INTOVF: return falha::IntEstouro;
        case FPE_FLTDIV: return falha::FltDivisaoZero;
        case FPE_FLTOVF: return falha::FltEstouro;
        case FPE_FLTUND: return falha::FltSubfluxo;
        case FPE_FLTRES: return falha::FltResultadoInexato;
        case FPE_FLTINV: return falha::FltOperacaoInvalida;
        case FPE_FLTSUB: return falha::LimiteVetor;
        default: return falha::IntDivisaoZero; // x86 reports every integer division fault so
        }
    case SIGILL:
        return info->si_code == ILL_PRVOPC || info->si_code == ILL_PRVREG ? falha::InstrucaoPrivilegiada
                                                                          : falha::InstrucaoIlegal;
    default:
        return info->si_code == TRAP_TRACE ? falha::PassoUnico : falha::PontoParada;
    }
}

// A signal outside any guard: whoever handled it before us (by default, the end of the process).
void RepassaAoAnterior(int sinal, const siginfo_t* info)
{
    const struct sigaction& anterior = g_anteriores[IndiceSinal(sinal)];
    if (anterior.sa_handler == SIG_IGN) {
        struct sigaction padrao {};
        padrao.sa_handler = SIG_DFL;
        sigaction(sinal, &padrao, nullptr);
    } else {
        sigaction(sinal, &anterior, nullptr);
    }
    // A faulting instruction faults again on return; a trap or a sent signal does not.
    if (info->si_code <= 0 || sinal == SIGTRAP)
        raise(sinal);
}

void Trata(int sinal, siginfo_t* info, void* contexto)
{
    Quadro* q = t_quadro;
    if (q == nullptr) {
        RepassaAoAnterior(sinal, info);
        return;
    }
    // A fault while recording this one: go back with what there is.
    if (q->emTratamento)
        siglongjmp(q->retorno, 1);
    q->emTratamento = true;
    const uintptr_t pilha = PonteiroPilha(contexto);
    q->codigo = CodigoDoSinal(sinal, info, pilha);
    q->endereco = reinterpret_cast<uintptr_t>(info->si_addr);
    q->quantidade = 0;
    // The walk starts in this handler: keep the frames from the faulting instruction on.
    void* enderecos[kMaxQuadros];
    const int total = backtrace(enderecos, kMaxQuadros);
    const uintptr_t pc = ContadorPrograma(contexto);
    int inicio = 0;
    while (inicio < total && reinterpret_cast<uintptr_t>(enderecos[inicio]) != pc)
        ++inicio;
    if (inicio == total) {
        inicio = 0;
        q->enderecos[q->quantidade++] = reinterpret_cast<void*>(pc);
    }
    for (int i = inicio; i < total && q->quantidade < kMaxQuadros; ++i)
        q->enderecos[q->quantidade++] = enderecos[i];
    // The handler ran with nothing more blocked than before (SA_NODEFER, empty mask), so
    // the jump need not restore the signal mask. (Under AddressSanitizer the jump's interceptor
    // clears the red zones of the abandoned frames, on this stack and the thread's own.)
    siglongjmp(q->retorno, 1);
}

bool InstalaTratadores()
{
    // The first walk loads the unwinder; it must not happen inside the handler.
    void* primeiro[1];
    backtrace(primeiro, 1);
    struct sigaction acao {};
    acao.sa_sigaction = Trata;
    acao.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
    sigemptyset(&acao.sa_mask);
    for (int i = 0; i < kQuantidadeSinais; ++i)
        sigaction(kSinais[i], &acao, &g_anteriores[i]);
    return true;
}

// The alternate signal stack of a thread, kept while the thread lives. A thread that already
// has one that is big enough (the sanitizers install their own) keeps it.
class PilhaAlternativa {
public:
    PilhaAlternativa() = default;
    PilhaAlternativa(const PilhaAlternativa&) = delete;
    PilhaAlternativa& operator=(const PilhaAlternativa&) = delete;

    void Prepara()
    {
        stack_t atual{};
        if (sigaltstack(nullptr, &atual) == 0 && !(atual.ss_flags & SS_DISABLE) &&
            atual.ss_size >= kTamanhoPilhaAlternativa)
            return;
        const size_t pagina = static_cast<size_t>(sysconf(_SC_PAGESIZE));
        void* bloco = mmap(nullptr, kTamanhoPilhaAlternativa + pagina, PROT_READ | PROT_WRITE,
                           MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (bloco == MAP_FAILED)
            return;
        // A page without access below it turns an overflow of the handler into a crash.
        mprotect(bloco, pagina, PROT_NONE);
        stack_t nova{};
        nova.ss_sp = static_cast<char*>(bloco) + pagina;
        nova.ss_size = kTamanhoPilhaAlternativa;
        if (sigaltstack(&nova, &m_anterior) != 0) {
            munmap(bloco, kTamanhoPilhaAlternativa + pagina);
            return;
        }
        m_bloco = bloco;
        m_pagina = pagina;
    }

    ~PilhaAlternativa()
    {
        if (m_bloco == nullptr)
            return;
        stack_t atual{};
        if (sigaltstack(nullptr, &atual) == 0 && atual.ss_sp == static_cast<char*>(m_bloco) + m_pagina) {
            if (m_anterior.ss_flags & SS_DISABLE) {
                stack_t nenhuma{};
                nenhuma.ss_flags = SS_DISABLE;
                sigaltstack(&nenhuma, nullptr);
            } else {
                m_anterior.ss_flags = 0;
                sigaltstack(&m_anterior, nullptr);
            }
        }
        munmap(m_bloco, kTamanhoPilhaAlternativa + m_pagina);
    }

private:
    void* m_bloco = nullptr;
    size_t m_pagina = 0;
    stack_t m_anterior{};
};

thread_local PilhaAlternativa t_pilhaAlternativa;

void PreparaThread()
{
    pthread_attr_t atributos;
    if (pthread_getattr_np(pthread_self(), &atributos) == 0) {
        void* base = nullptr;
        size_t tamanho = 0;
        if (pthread_attr_getstack(&atributos, &base, &tamanho) == 0)
            t_limitePilha = reinterpret_cast<uintptr_t>(base);
        pthread_attr_destroy(&atributos);
    }
    t_pilhaAlternativa.Prepara();
    t_threadPronta = true;
}

// Arms the guard for one call; the previous guard of the thread comes back when it ends,
// by return, by a fault or by an exception.
class Armado {
public:
    explicit Armado(Quadro& q) : m_q(q)
    {
        q.anterior = t_quadro;
        q.emTratamento = false;
        t_quadro = &q;
    }
    ~Armado() { t_quadro = m_q.anterior; }
    Armado(const Armado&) = delete;
    Armado& operator=(const Armado&) = delete;

private:
    Quadro& m_q;
};

// Separate so that the jump lands in a frame that holds nothing but the call.
__attribute__((noinline)) bool ChamaAteFalha(Quadro& q, void (*funcao)(void*), void* contexto)
{
    if (sigsetjmp(q.retorno, 0) != 0)
        return true;
    funcao(contexto);
    return false;
}

std::string NomeBase(const char* caminho)
{
    if (caminho == nullptr)
        return "?";
    const char* barra = std::strrchr(caminho, '/');
    return barra ? barra + 1 : caminho;
}

std::string FormataPilha(const Quadro& q)
{
    char linha[160];
    std::snprintf(linha, sizeof linha, "excecao 0x%08X endereco 0x%zx\n", q.codigo, static_cast<size_t>(q.endereco));
    std::string texto = linha;
    for (int i = 0; i < q.quantidade; ++i) {
        const uintptr_t endereco = reinterpret_cast<uintptr_t>(q.enderecos[i]);
        Dl_info info{};
        if (dladdr(q.enderecos[i], &info) == 0 || info.dli_fbase == nullptr) {
            std::snprintf(linha, sizeof linha, "#%d 0x%zx\n", i, static_cast<size_t>(endereco));
            texto += linha;
            continue;
        }
        std::snprintf(linha, sizeof linha, "#%d %s+0x%zx", i, NomeBase(info.dli_fname).c_str(),
                      static_cast<size_t>(endereco - reinterpret_cast<uintptr_t>(info.dli_fbase)));
        texto += linha;
        if (info.dli_sname != nullptr && info.dli_saddr != nullptr) {
            int estado = 0;
            char* legivel = abi::__cxa_demangle(info.dli_sname, nullptr, nullptr, &estado);
            texto += ' ';
            texto += estado == 0 && legivel ? legivel : info.dli_sname;
            std::free(legivel);
            std::snprintf(linha, sizeof linha, "+0x%zx",
                          static_cast<size_t>(endereco - reinterpret_cast<uintptr_t>(info.dli_saddr)));
            texto += linha;
        }
        texto += '\n';
    }
    return texto;
}

} // namespace

bool ExecutaProtegido(void (*funcao)(void*), void* contexto, DWORD& codigoFalha, std::string& pilha)
{
    static const bool instalados = InstalaTratadores();
    (void)instalados;
    if (!t_threadPronta)
        PreparaThread();
    Quadro q;
    Armado armado(q);
    if (!ChamaAteFalha(q, funcao, contexto))
        return false;
    codigoFalha = q.codigo;
    pilha = FormataPilha(q);
    return true;
}

} // namespace plataforma
