// One account inserted into the full benchmark chart (the whole index read, edited and
// rewritten) against the floor of any whole-index rewrite: the entries copied once and the
// index file written once.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "PlanoBench.h"
#include "platform/Arquivo.h"

namespace {

using plataforma::ArquivoSO;
using plataforma::Disposicao;

std::string LeArquivo(const std::string& caminho)
{
    ArquivoSO a;
    uint64_t tamanho = 0;
    if (a.Abre(caminho.c_str(), {}) != 0 || a.Tamanho(tamanho) != 0)
        std::abort();
    std::string bytes(size_t(tamanho), '\0');
    DWORD lidos = 0;
    if (a.Le(bytes.data(), DWORD(tamanho), lidos) != 0 || lidos != tamanho)
        std::abort();
    return bytes;
}

// Writes bytes over the file from its start and cuts it there.
DWORD Reescreve(const std::string& caminho, const void* bytes, size_t tamanho, bool corta)
{
    ArquivoSO a;
    DWORD e = a.Abre(caminho.c_str(), {true, true, true, true, Disposicao::AbreExistente});
    if (!e)
        e = a.Grava(bytes, DWORD(tamanho));
    if (!e && corta)
        e = a.DefineFim();
    return e;
}

// The index of the full chart, as Inicializa generated it.
const std::string& IndiceOriginal()
{
    static const std::string indice = [] {
        CClassificacao plano;
        if (bench::InicializaPlano(plano) != 0)
            std::abort();
        return LeArquivo(bench::CaminhoIndice());
    }();
    return indice;
}

void InsercaoGravaDados(benchmark::State& estado)
{
    const std::string& indice = IndiceOriginal();
    const size_t tamanhoPlano = bench::Plano().bytesPlano.size();
    CClassificacao plano;
    if (bench::InicializaPlano(plano) != 0) {
        estado.SkipWithError("Inicializa failed");
        return;
    }
    // A new analytic account in the middle of the chart, after the last one of its group.
    uint8_t registro[bench::kTamanhoRegistroBench];
    bench::MontaRegistro({"3.3.05.005.0500", 0, "NOVA1", "Conta Nova de Servi\xE7os"}, registro);
    for (auto _ : estado) {
        uint32_t posicao = 0;
        if (plano.GravaDados(registro, &posicao) != 0) {
            estado.SkipWithError("GravaDados failed");
            break;
        }
        estado.PauseTiming();
        // Back to the full chart: the record appended goes, the index is put back.
        if (posicao != bench::Plano().contas.size() + 1 ||
            Reescreve(bench::CaminhoIndice(), indice.data(), indice.size(), true)) {
            estado.SkipWithError(("restoring the index failed at " + std::to_string(posicao)).c_str());
            break;
        }
        {
            ArquivoSO a;
            if (a.Abre(bench::CaminhoPlano().c_str(), {true, true, true, true, Disposicao::AbreExistente}) ||
                a.Posiciona(int64_t(tamanhoPlano), plataforma::Origem::Inicio) || a.DefineFim()) {
                estado.SkipWithError("cutting the chart failed");
                break;
            }
        }
        estado.ResumeTiming();
    }
    estado.counters["entradas"] = double(indice.size() / sizeof(REGCON_INDEX));
}
BENCHMARK(InsercaoGravaDados)->Unit(benchmark::kMicrosecond);

// The floor: the index entries copied once in memory and the index file written once
// (open, one write from the start, close).
void CopiaEGravaIndice(benchmark::State& estado)
{
    const std::string& indice = IndiceOriginal();
    std::vector<char> trabalho(indice.size() + sizeof(REGCON_INDEX));
    for (auto _ : estado) {
        std::memcpy(trabalho.data(), indice.data(), indice.size());
        benchmark::DoNotOptimize(trabalho.data());
        if (Reescreve(bench::CaminhoIndice(), trabalho.data(), indice.size(), false)) {
            estado.SkipWithError("write failed");
            break;
        }
    }
    estado.counters["entradas"] = double(indice.size() / sizeof(REGCON_INDEX));
}
BENCHMARK(CopiaEGravaIndice)->Unit(benchmark::kMicrosecond);

} // namespace
