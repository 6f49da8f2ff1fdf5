// One trace line, written for real to the programs' error log of a scratch module directory.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQModulos.h"
#include "df/tqlibex/TQTrace.h"
#include "platform/Arquivo.h"
#include "platform/Diretorio.h"
#include "platform/Processo.h"
#include "platform/Registro.h"

namespace {

// A registry of its own whose module 1 lives in a scratch directory.
struct Instalacao {
    std::string dir;
    Instalacao()
    {
        const std::string base = plataforma::DiretorioTemporario() + "zazazu-bench-trace-" +
                                 std::to_string(plataforma::IdProcesso());
        dir = base + plataforma::kSeparador;
        plataforma::CriaDiretorio(dir.c_str());
        plataforma::DefineVariavelAmbiente("ZAZAZU_REGISTRY", (base + ".reg").c_str());
        plataforma::ChaveRegistro chave;
        chave.Cria(plataforma::RaizRegistro::LocalMachine,
                   (std::string(kChaveSuiteBarra) + TQSubchaveModulo(kModuloDF)).c_str());
        chave.GravaTexto(kValorPath, dir.c_str());
    }
    ~Instalacao()
    {
        std::vector<plataforma::EntradaDiretorio> entradas;
        plataforma::ListaDiretorio(dir.c_str(), entradas);
        for (const auto& e : entradas)
            plataforma::ApagaArquivo((dir + e.nome).c_str());
        plataforma::RemoveDiretorio(dir.c_str());
        const std::string registro = dir.substr(0, dir.size() - 1) + ".reg";
        plataforma::ApagaArquivo(registro.c_str());
        plataforma::ApagaArquivo((registro + ".lock").c_str());
    }
};

void LinhaDeTrace(benchmark::State& estado)
{
    static Instalacao instalacao;
    int n = 0;
    for (auto _ : estado)
        TQTrace(nullptr, "CBench::LinhaDeTrace", "TraceBench", "hr = %#X\titeracao = %d", 0x80043E95u, ++n);
}
BENCHMARK(LinhaDeTrace)->Unit(benchmark::kMicrosecond);

} // namespace
