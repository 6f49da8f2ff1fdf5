// Record file reads and appends on a chart-sized file (65,500 records of 96 bytes).
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "df/tqlibex/TQArqEx.h"
#include "platform/Arquivo.h"
#include "platform/Processo.h"

namespace {

constexpr uint32_t kTamanho = 96;
constexpr uint32_t kRegistros = 65500;

// Written at the first use, removed when the process ends (after every benchmark that used it).
struct ArquivoTemporario {
    std::string caminho;
    ArquivoTemporario()
        : caminho(plataforma::DiretorioTemporario() + "zazazu-bench-" + std::to_string(plataforma::IdProcesso()) +
                  ".dat")
    {
        plataforma::ArquivoSO a;
        a.Abre(caminho.c_str(), {true, true, true, true, plataforma::Disposicao::CriaSempre});
        std::vector<char> dados(size_t(kTamanho) * (kRegistros + 1));
        for (size_t i = 0; i < dados.size(); ++i)
            dados[i] = char(i * 31);
        a.Grava(dados.data(), DWORD(dados.size()));
    }
    ~ArquivoTemporario() { plataforma::ApagaArquivo(caminho.c_str()); }
};

const std::string& ArquivoDeTeste()
{
    static const ArquivoTemporario arquivo;
    return arquivo.caminho;
}

void LeituraSequencial(benchmark::State& estado)
{
    CTQArqEx arq;
    arq.Abre(ArquivoDeTeste(), 'L', kTamanho, kAbreAgora);
    char registro[kTamanho];
    uint64_t leituras = 0;
    for (auto _ : estado) {
        const uint64_t antes = plataforma::LeiturasPlataforma();
        for (uint32_t i = 1; i <= kRegistros; ++i)
            if (arq.Le(i, registro))
                estado.SkipWithError("Le failed");
        leituras += plataforma::LeiturasPlataforma() - antes;
        benchmark::DoNotOptimize(registro);
    }
    estado.counters["leituras_plataforma"] =
        benchmark::Counter(double(leituras) / double(estado.iterations()));
    estado.SetItemsProcessed(int64_t(estado.iterations()) * kRegistros);
}
BENCHMARK(LeituraSequencial)->Unit(benchmark::kMillisecond);

// The floor: the same bytes in 32 KiB blocks straight from the platform.
void LeituraEmBlocosDireta(benchmark::State& estado)
{
    plataforma::ArquivoSO a;
    a.Abre(ArquivoDeTeste().c_str(), {});
    std::vector<char> bloco(32768);
    for (auto _ : estado) {
        a.Posiciona(0, plataforma::Origem::Inicio);
        DWORD lidos = 0;
        do {
            a.Le(bloco.data(), DWORD(bloco.size()), lidos);
            benchmark::DoNotOptimize(bloco.data());
        } while (lidos == bloco.size());
    }
}
BENCHMARK(LeituraEmBlocosDireta)->Unit(benchmark::kMillisecond);

void LeituraAleatoria(benchmark::State& estado)
{
    CTQArqEx arq;
    arq.Abre(ArquivoDeTeste(), 'L', kTamanho, kAbreAgora);
    std::mt19937 gerador(42);
    std::uniform_int_distribution<uint32_t> posicao(1, kRegistros);
    char registro[kTamanho];
    for (auto _ : estado) {
        if (arq.Le(posicao(gerador), registro))
            estado.SkipWithError("Le failed");
        benchmark::DoNotOptimize(registro);
    }
}
BENCHMARK(LeituraAleatoria);

void GravaAcrescimo(benchmark::State& estado)
{
    const std::string c = plataforma::DiretorioTemporario() + "zazazu-bench-grava-" +
                          std::to_string(plataforma::IdProcesso()) + ".dat";
    {
        CTQArqEx arq;
        arq.Abre(c, 'C', kTamanho, kAbreAgora);
        char registro[kTamanho] = {1, 2, 3};
        for (auto _ : estado) {
            int32_t pos = 0;
            if (arq.Grava(registro, pos))
                estado.SkipWithError("Grava failed");
        }
    }
    plataforma::ApagaArquivo(c.c_str());
}
BENCHMARK(GravaAcrescimo);

} // namespace
