// One client session through the interface, each phase timed: the object created and
// initialized; a plan created, given its mask and selected; 5,000 accounts written one by one;
// 1,000 lookups (by code, the title above a classification, by position); a mask change that
// rewrites every account; the object released. Each session starts from an empty company.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "ContasSessaoBench.h"
#include "EmpresaBench.h"
#include "ObjetoBench.h"
#include "platform/Texto.h"

namespace {

constexpr const char* kEmpresa = "EMPSESSAO";
constexpr uint32_t kContas = 5000;
constexpr uint32_t kConsultas = 1000;
// Every level grows: 1.5.20.043 becomes 10.5.020.0043.
constexpr const char* kMascaraNova = "99.9.999.9999";

// The lookups of one kind, spread over the plan.
struct Consulta {
    LONG posicao;
    BSTR texto; // the code or the classification
    LONG esperada; // the position found: the account itself, or the title above it
};

std::vector<Consulta> Consultas(const std::vector<REG_PLANO_ALT_PS>& contas, uint32_t quantas, uint32_t desvio,
                                bool porCodigo)
{
    std::map<std::string, LONG> posicoes;
    for (size_t i = 0; i < contas.size(); ++i)
        posicoes[contas[i].cClassificacao] = LONG(i + 1);
    std::vector<Consulta> consultas;
    for (uint32_t j = 0; j < quantas; ++j) {
        const LONG posicao = LONG(1 + (j * contas.size()) / quantas + desvio);
        const REG_PLANO_ALT_PS& conta = contas[size_t(posicao - 1)];
        const std::string classificacao = conta.cClassificacao;
        const size_t ponto = classificacao.rfind('.');
        const LONG titulo = ponto == std::string::npos ? 0 : posicoes[classificacao.substr(0, ponto)];
        const std::string texto = porCodigo ? bench::CodigoDaConta(conta, posicao) : classificacao;
        consultas.push_back({posicao, plataforma::AlocaBstrDeAnsi(texto), porCodigo ? posicao : titulo});
    }
    return consultas;
}

void Libera(std::vector<Consulta>& consultas)
{
    for (Consulta& c : consultas)
        plataforma::LiberaBstr(c.texto);
}

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

constexpr HRESULT kNaoAchou = TQHResult(0x80004005); // E_FAIL: a lookup found something else

void SessaoCompleta(benchmark::State& estado)
{
    const std::vector<REG_PLANO_ALT_PS> contas = bench::ContasSessao(kContas);
    std::vector<Consulta> porCodigo = Consultas(contas, kConsultas - 2 * (kConsultas / 3), 0, true);
    std::vector<Consulta> titulos = Consultas(contas, kConsultas / 3, 1, false);
    std::vector<Consulta> leituras = Consultas(contas, kConsultas / 3, 2, false);
    _MASCARA_PLANO_ALT mudanca{};
    std::memcpy(mudanca.Velha[1], bench::kMascaraSessao, std::strlen(bench::kMascaraSessao));
    std::memcpy(mudanca.Nova[1], kMascaraNova, std::strlen(kMascaraNova));
    Fases fases(estado);

    for (auto _ : estado) {
        estado.PauseTiming();
        const std::string dir = bench::DiretorioEmpresa(kEmpresa);
        bench::EsvaziaDiretorio(dir);
        estado.ResumeTiming();

        bench::ObjetoPlano objeto;
        LONG plano = 0;
        const bool ok =
            fases.Mede("inicio_ms",
                       [&] {
                           objeto = bench::ObjetoInicializado(kEmpresa);
                           return objeto ? S_OK : kNaoAchou;
                       }) &&
            fases.Mede("plano_ms", [&] { return bench::CriaPlanoSelecionado(objeto.get(), &plano); }) &&
            fases.Mede("contas_ms", [&] { return bench::GravaContas(objeto.get(), contas); }) &&
            fases.Mede("existe_ms",
                       [&] {
                           for (const Consulta& c : porCodigo) {
                               LONG posicao = 0;
                               REG_PLANO_ALT_PS conta;
                               if (const HRESULT hr = objeto->Existe(c.texto, 1, &posicao, &conta); hr != S_OK)
                                   return hr;
                               if (posicao != c.esperada)
                                   return kNaoAchou;
                           }
                           return S_OK;
                       }) &&
            fases.Mede("titulo_ms",
                       [&] {
                           for (const Consulta& c : titulos) {
                               LONG posicao = -1;
                               if (const HRESULT hr = objeto->ExisteContaTitulo(c.texto, &posicao); hr != S_OK)
                                   return hr;
                               if (posicao != c.esperada)
                                   return kNaoAchou;
                           }
                           return S_OK;
                       }) &&
            fases.Mede("le_ms",
                       [&] {
                           for (const Consulta& c : leituras) {
                               REG_PLANO_ALT_PS conta;
                               if (const HRESULT hr = objeto->Le(c.posicao, &conta); hr != S_OK)
                                   return hr;
                               if (plataforma::BstrParaAnsi(c.texto) != conta.cClassificacao)
                                   return kNaoAchou;
                           }
                           return S_OK;
                       }) &&
            fases.Mede("mascara_ms", [&] { return objeto->AlteraMascara(&mudanca); }) &&
            fases.Mede("fim_ms", [&] {
                // The last account under the new mask, then the client lets go.
                REG_PLANO_ALT_PS conta;
                const HRESULT hr = objeto->Le(LONG(kContas), &conta);
                objeto.reset();
                return hr == S_OK && std::strcmp(conta.cClassificacao, "10.5.020.0043") == 0 ? S_OK : kNaoAchou;
            });
        if (!ok)
            break;
    }
    fases.Publica();
    Libera(porCodigo);
    Libera(titulos);
    Libera(leituras);
}
BENCHMARK(SessaoCompleta)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
