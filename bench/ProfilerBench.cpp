// A profiler scope as every call of the frame opens one: "log.ini" read and cached, lines off.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQModulos.h"
#include "df/tqlibex/TQPath.h"
#include "df/tqlibex/TQProfiler.h"
#include "df/tqlibex/TQProfilerConfig.h"
#include "platform/Arquivo.h"
#include "platform/Processo.h"
#include "platform/Registro.h"

namespace {

using namespace plataforma;

// A registry and a module directory of the benchmark's own, with a "log.ini" that asks for nothing.
struct Instalacao {
    std::string dir, registro, ini;
    Instalacao()
    {
        const std::string base = DiretorioTemporario() + "zazazu-bench-profiler-" + std::to_string(IdProcesso());
        dir = base + kSeparador;
        registro = base + ".reg";
        ini = dir + "log.ini";
        CriaDiretorio(dir.c_str());
        DefineVariavelAmbiente("ZAZAZU_REGISTRY", registro.c_str());
        ChaveRegistro chave;
        chave.Cria(RaizRegistro::LocalMachine, CTQPath::CombinaChave(kChaveSuiteBarra, TQSubchaveModulo(kModuloDF)).c_str());
        chave.GravaTexto(kValorPath, dir.c_str());
        ArquivoSO arquivo;
        arquivo.Abre(ini.c_str(), {true, true, true, true, Disposicao::CriaSempre});
        const std::string texto = "[Log]\r\nEntrada=0\r\nSaida=0\r\nPerformance=1\r\n";
        arquivo.Grava(texto.data(), DWORD(texto.size()));
    }
    ~Instalacao()
    {
        ApagaArquivo(ini.c_str());
        RemoveDiretorio(dir.c_str());
        std::remove(registro.c_str());
        std::remove((registro + ".lock").c_str());
    }
};

void EscopoSemLinhas(benchmark::State& estado)
{
    static Instalacao instalacao;
    CTQProfilerEmpresa identidade("0001", 1, 1);
    TQProfilerConfig::Invalida();
    const ValoresProfiler config = TQProfilerConfig::Atual();
    if (!config.performance || config.LinhasAtivas()) {
        estado.SkipWithError("log.ini was not read");
        return;
    }
    for (auto _ : estado) {
        CTQProfilerEscopo escopo(&identidade);
        escopo.Entra("T_TQUnknown<struct ITQDF_PlanoAlt,class CBasePlanoAlternativo>::BuscaPlanos");
        benchmark::DoNotOptimize(escopo);
    }
}
BENCHMARK(EscopoSemLinhas);

} // namespace
