// What the client sessions share, through the interface or against SQLite: the same accounts,
// the same lookups with what each must find, and each phase timed into a counter.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "server/Contrato.h"

namespace bench {

constexpr uint32_t kContasDaSessao = 5000;
// Every level grows: 1.5.20.043 becomes 10.5.020.0043.
constexpr const char* kMascaraNova = "99.9.999.9999";
// The last account of the session under the new mask.
constexpr const char* kUltimaContaNova = "10.5.020.0043";

constexpr HRESULT kNaoAchou = TQHResult(0x80004005); // E_FAIL: a lookup found something else

struct Consulta {
    LONG posicao;
    std::string texto; // the code or the classification
    BSTR bstr;         // the same text, as the interface takes it
    LONG esperada;     // the position found: the account itself, or the title above it
};

// The session's 1,000 lookups, each kind spread over the plan: a third by code, a third for the
// title above a classification, a third by position.
struct ConsultasSessao {
    explicit ConsultasSessao(const std::vector<REG_PLANO_ALT_PS>& contas);
    ~ConsultasSessao();
    ConsultasSessao(const ConsultasSessao&) = delete;
    ConsultasSessao& operator=(const ConsultasSessao&) = delete;

    std::vector<Consulta> porCodigo;
    std::vector<Consulta> titulos;
    std::vector<Consulta> leituras;
};

class Fases {
public:
    explicit Fases(benchmark::State& estado) : m_estado(estado) {}
    // Times fase() under the name; a result other than S_OK stops the benchmark.
    template <class F>
    bool Mede(const char* nome, F&& fase)
    {
        const auto inicio = std::chrono::steady_clock::now();
        const HRESULT hr = fase();
        const std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - inicio;
        m_ms[nome] += ms.count();
        if (hr != S_OK)
            m_estado.SkipWithError(nome);
        return hr == S_OK;
    }
    void Publica()
    {
        for (const auto& [nome, ms] : m_ms)
            m_estado.counters[nome] = benchmark::Counter(ms, benchmark::Counter::kAvgIterations);
    }

private:
    benchmark::State& m_estado;
    std::map<std::string, double> m_ms;
};

} // namespace bench
