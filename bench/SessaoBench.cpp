// One client session through the interface, each phase timed: the object created and
// initialized; a plan created, given its mask and selected; 5,000 accounts written one by one;
// 1,000 lookups (by code, the title above a classification, by position); a mask change that
// rewrites every account; the object released. Each session starts from an empty company.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "ContasSessaoBench.h"
#include "EmpresaBench.h"
#include "FasesBench.h"
#include "ObjetoBench.h"
#include "ServidorLocalBench.h"
#include "platform/Texto.h"

namespace {

using bench::Consulta;
using bench::kNaoAchou;

constexpr const char* kEmpresa = "EMPSESSAO";

// The session on objects that criador makes (in process, or in the local server).
void Sessao(benchmark::State& estado, bench::ObjetoPlano (*criador)(const std::string&))
{
    const std::vector<REG_PLANO_ALT_PS> contas = bench::ContasSessao(bench::kContasDaSessao);
    const bench::ConsultasSessao consultas(contas);
    _MASCARA_PLANO_ALT mudanca{};
    std::memcpy(mudanca.Velha[1], bench::kMascaraSessao, std::strlen(bench::kMascaraSessao));
    std::memcpy(mudanca.Nova[1], bench::kMascaraNova, std::strlen(bench::kMascaraNova));
    bench::Fases fases(estado);

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
                           objeto = criador(kEmpresa);
                           return objeto ? S_OK : kNaoAchou;
                       }) &&
            fases.Mede("plano_ms", [&] { return bench::CriaPlanoSelecionado(objeto.get(), &plano); }) &&
            fases.Mede("contas_ms", [&] { return bench::GravaContas(objeto.get(), contas); }) &&
            fases.Mede("existe_ms",
                       [&] {
                           for (const Consulta& c : consultas.porCodigo) {
                               LONG posicao = 0;
                               REG_PLANO_ALT_PS conta;
                               if (const HRESULT hr = objeto->Existe(c.bstr, 1, &posicao, &conta); hr != S_OK)
                                   return hr;
                               if (posicao != c.esperada)
                                   return kNaoAchou;
                           }
                           return S_OK;
                       }) &&
            fases.Mede("titulo_ms",
                       [&] {
                           for (const Consulta& c : consultas.titulos) {
                               LONG posicao = -1;
                               if (const HRESULT hr = objeto->ExisteContaTitulo(c.bstr, &posicao); hr != S_OK)
                                   return hr;
                               if (posicao != c.esperada)
                                   return kNaoAchou;
                           }
                           return S_OK;
                       }) &&
            fases.Mede("le_ms",
                       [&] {
                           for (const Consulta& c : consultas.leituras) {
                               REG_PLANO_ALT_PS conta;
                               if (const HRESULT hr = objeto->Le(c.posicao, &conta); hr != S_OK)
                                   return hr;
                               if (plataforma::BstrParaAnsi(c.bstr) != conta.cClassificacao)
                                   return kNaoAchou;
                           }
                           return S_OK;
                       }) &&
            fases.Mede("mascara_ms", [&] { return objeto->AlteraMascara(&mudanca); }) &&
            fases.Mede("fim_ms", [&] {
                // The last account under the new mask, then the client lets go.
                REG_PLANO_ALT_PS conta;
                const HRESULT hr = objeto->Le(LONG(bench::kContasDaSessao), &conta);
                objeto.reset();
                return hr == S_OK && std::strcmp(conta.cClassificacao, bench::kUltimaContaNova) == 0 ? S_OK : kNaoAchou;
            });
        if (!ok)
            break;
    }
    fases.Publica();
}
void SessaoCompleta(benchmark::State& estado) { Sessao(estado, bench::ObjetoInicializado); }
BENCHMARK(SessaoCompleta)->Unit(benchmark::kMillisecond)->UseRealTime();

void SessaoCompletaServidorLocal(benchmark::State& estado) { Sessao(estado, bench::ObjetoNoServidor); }
BENCHMARK(SessaoCompletaServidorLocal)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
