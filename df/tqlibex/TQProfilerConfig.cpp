#include "df/tqlibex/TQProfilerConfig.h"

#include <atomic>
#include <mutex>

#include "df/tqlibex/ArquivoIni.h"
#include "df/tqlibex/TQModulos.h"
#include "df/tqlibex/TQPath.h"
#include "df/tqlibex/TQProfiler.h"
#include "platform/Tempo.h"
#include "platform/Texto.h"

namespace {

constexpr const char* kSecao = "Log";
constexpr DWORD kValidadeInicialMs = 600000;
constexpr unsigned kTimeoutPadrao = 600;
constexpr size_t kMaximoProcessos = 260;

// The values travel as one word, so a reader sees one read's values whole.
constexpr uint32_t kEntrada = 1u << 0;
constexpr uint32_t kSaida = 1u << 1;
constexpr uint32_t kCoCreate = 1u << 2;
constexpr uint32_t kPerformance = 1u << 3;
constexpr uint32_t kMemory = 1u << 4;
constexpr uint32_t kProcessoLoga = 1u << 5;
constexpr uint32_t kLido = 1u << 6;

std::atomic<uint32_t> g_bits{kProcessoLoga};
std::atomic<DWORD> g_ultimaLeitura{0};
std::atomic<DWORD> g_validade{kValidadeInicialMs};
// Held only by the thread that re-reads, and by readers of the Processos text.
std::mutex g_travaLeitura;
std::string g_processos = "todos";

uint32_t ParaBits(const ValoresProfiler& v)
{
    return (v.entrada ? kEntrada : 0) | (v.saida ? kSaida : 0) | (v.coCreate ? kCoCreate : 0) |
           (v.performance ? kPerformance : 0) | (v.memory ? kMemory : 0) | (v.processoLoga ? kProcessoLoga : 0);
}

ValoresProfiler DeBits(uint32_t bits)
{
    ValoresProfiler v;
    v.entrada = bits & kEntrada;
    v.saida = bits & kSaida;
    v.coCreate = bits & kCoCreate;
    v.performance = bits & kPerformance;
    v.memory = bits & kMemory;
    v.processoLoga = bits & kProcessoLoga;
    return v;
}

bool Vencido(uint32_t bits, DWORD agora)
{
    return !(bits & kLido) || DWORD(agora - g_ultimaLeitura.load(std::memory_order_relaxed)) >
                                  g_validade.load(std::memory_order_relaxed);
}

// Called with the lock held.
uint32_t Le(DWORD agora)
{
    const std::string conteudo = TQIniLeArquivo(CTQPath::Combina(CTQPath::DiretorioModulo(kModuloDF), "log.ini"));
    std::string processos;
    unsigned timeout = kTimeoutPadrao;
    const ValoresProfiler v = TQProfilerConfig::Interpreta(conteudo, TQNomeProcesso(), processos, timeout);
    g_processos = std::move(processos);
    g_validade.store(DWORD(timeout * 1000u), std::memory_order_relaxed);
    g_ultimaLeitura.store(agora, std::memory_order_relaxed);
    const uint32_t bits = ParaBits(v) | kLido;
    g_bits.store(bits, std::memory_order_release);
    return bits;
}

uint32_t Rele(uint32_t bits, DWORD agora)
{
    std::unique_lock<std::mutex> trava(g_travaLeitura, std::defer_lock);
    if (bits & kLido) {
        // Somebody else is reading: the values in hand serve until he is done.
        if (!trava.try_lock())
            return bits;
    } else {
        trava.lock();
    }
    bits = g_bits.load(std::memory_order_acquire);
    return Vencido(bits, agora) ? Le(agora) : bits;
}

} // namespace

ValoresProfiler TQProfilerConfig::Atual()
{
    uint32_t bits = g_bits.load(std::memory_order_acquire);
    const DWORD agora = plataforma::Ticks();
    if (Vencido(bits, agora))
        bits = Rele(bits, agora);
    return DeBits(bits);
}

ValoresProfiler TQProfilerConfig::Guardados() { return DeBits(g_bits.load(std::memory_order_acquire)); }

std::string TQProfilerConfig::Processos()
{
    std::lock_guard<std::mutex> trava(g_travaLeitura);
    return g_processos;
}

DWORD TQProfilerConfig::ValidadeMs() { return g_validade.load(std::memory_order_relaxed); }

void TQProfilerConfig::Invalida() { g_bits.fetch_and(~kLido, std::memory_order_acq_rel); }

bool TQProfilerConfig::ProcessoLoga(std::string_view processos, std::string_view nomeProcesso)
{
    if (processos.find("todos") != std::string_view::npos)
        return true;
    constexpr std::string_view kSeparadores = ";, \t";
    for (size_t ini = processos.find_first_not_of(kSeparadores); ini != std::string_view::npos;) {
        const size_t fim = processos.find_first_of(kSeparadores, ini);
        if (nomeProcesso.find(processos.substr(ini, fim - ini)) != std::string_view::npos)
            return true;
        ini = processos.find_first_not_of(kSeparadores, fim);
    }
    return false;
}

ValoresProfiler TQProfilerConfig::Interpreta(std::string_view conteudo, std::string_view nomeProcesso,
                                             std::string& processos, unsigned& timeoutSegundos)
{
    const auto ligado = [&](const char* chave) { return TQIniLeNumero(conteudo, kSecao, chave, 0) == 1; };
    ValoresProfiler v;
    v.entrada = ligado("Entrada");
    v.saida = ligado("Saida");
    v.coCreate = ligado("CoCreateInstance");
    v.performance = ligado("Performance");
    v.memory = ligado("Memory");
    timeoutSegundos = TQIniLeNumero(conteudo, kSecao, "TimeoutConfig", kTimeoutPadrao);
    if (!TQIniLeTexto(conteudo, kSecao, "Processos", processos))
        processos = "todos";
    if (processos.size() > kMaximoProcessos)
        processos.resize(kMaximoProcessos);
    for (char& c : processos)
        c = plataforma::MinusculaAnsi(c);
    v.processoLoga = ProcessoLoga(processos, nomeProcesso);
    return v;
}
