// The report of the benchmark chart (its first 65,500 accounts, 10,000 links to a main chart of 1,000
// accounts) as a text file through the interface, against what a client would do to print it
// itself: the index listed, every account read with Le and every analytic account's links with
// BuscaVinculo, through the same interface.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "EmpresaBench.h"
#include "ObjetoBench.h"
#include "PlanoBench.h"
#include "df/tqlibex/TQLDadosDFExports.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Arquivo.h"
#include "platform/Biblioteca.h"
#include "platform/Bstr.h"
#include "platform/Processo.h"
#include "platform/Texto.h"

namespace {

constexpr const char* kEmpresa = "EMPRELAT";
constexpr uint32_t kContasPrincipais = 1000;
constexpr uint32_t kVinculos = 10000;
constexpr const char* kMascara = "9.9.99.999.9999";

using PFN_Registra = HRESULT (*)();

// The plan through the interface: catalogue entry and masks, the benchmark chart's bytes as its
// chart file (the index made when the plan is selected), the main chart, the links, and the
// main-chart server registered. Built once per process.
struct PlanoComVinculos {
    HRESULT hr = S_OK;
    bench::ObjetoPlano objeto;
    std::string dir = bench::DiretorioEmpresa(kEmpresa);
    plataforma::Biblioteca servidor;

    PlanoComVinculos()
    {
        bench::EsvaziaDiretorio(dir);
        objeto = bench::ObjetoInicializado(kEmpresa);
        hr = objeto ? Monta() : TQHResult(0x80004005);
    }

    HRESULT Monta()
    {
        const std::string suite = CTQPath::Combina(
            CTQPath::GetParentPath(CTQPath::GetDiretorio(plataforma::CaminhoExecutavel())), "suite");
        if (!servidor.Carrega(CTQPath::Combina(CTQPath::Combina(suite, "x64"), "TQDF_Plano.dll").c_str()))
            return TQHResult(0x8007007E);
        auto registra = reinterpret_cast<PFN_Registra>(servidor.Simbolo("DllRegisterServer"));
        if (HRESULT r = registra ? registra() : TQHResult(0x8007007F); r != S_OK)
            return r;
        REG_DADOS_PLANO_ALT_PS dados{};
        std::strcpy(dados.cNomePlano, "Plano de benchmark");
        LONG plano = 0;
        if (HRESULT r = objeto->GravaPlano(0, dados, &plano); r != S_OK)
            return r;
        REG_MASCARA_ALT_PS mascaras{};
        for (int digito = 1; digito <= 5; ++digito)
            std::memcpy(mascaras.Mascara[digito], kMascara, std::strlen(kMascara));
        if (HRESULT r = objeto->SetMascara(plano, mascaras); r != S_OK)
            return r;
        const auto& contas = bench::Plano().contas;
        std::string principal(size_t(bench::kTamanhoRegistroBench) * (kContasPrincipais + 1), '\0');
        for (uint32_t i = 0; i < kContasPrincipais; ++i)
            bench::MontaRegistro(contas[i], reinterpret_cast<uint8_t*>(&principal[(i + 1) * bench::kTamanhoRegistroBench]));
        // The service's limit of accounts, which the interface's 16-bit counts can list.
        const std::string plano65500 = bench::Plano().bytesPlano.substr(0, size_t(bench::kTamanhoRegistroBench) * (kMaximoContas + 1));
        if (!Grava(dir + "DFPLA001.DAT", plano65500) || !Grava(dir + kArquivoPlanoEmpresarial, principal))
            return TQHResult(0x80004005);
        if (HRESULT r = objeto->SetPlano(plano); r != S_OK)
            return r;
        uint32_t feitos = 0;
        for (size_t i = 0; i < kMaximoContas && feitos < kVinculos; ++i) {
            if (contas[i].status & kStatusTitulo)
                continue;
            const REG_VINCULO_ALT v{0, LONG(i + 1), LONG(1 + feitos % kContasPrincipais), uint16_t(1 + feitos % 3), {}};
            if (HRESULT r = objeto->Vinculo(v); r != S_OK)
                return r;
            ++feitos;
        }
        return S_OK;
    }

    static bool Grava(const std::string& caminho, const std::string& bytes)
    {
        plataforma::ArquivoSO a;
        return a.Abre(caminho.c_str(), {true, true, true, true, plataforma::Disposicao::CriaSempre}) == 0 &&
               a.Grava(bytes.data(), DWORD(bytes.size())) == 0;
    }
};

PlanoComVinculos& Preparado()
{
    static PlanoComVinculos plano;
    return plano;
}

void RelatorioTexto(benchmark::State& estado)
{
    PlanoComVinculos& p = Preparado();
    if (p.hr != S_OK) {
        estado.SkipWithError("set-up of the plan");
        return;
    }
    BSTR arquivo = plataforma::AlocaBstrDeAnsi(p.dir + "plano.txt");
    BSTR relatorio = plataforma::AlocaBstrDeAnsi("Plano de benchmark");
    BSTR razao = plataforma::AlocaBstrDeAnsi("Empresa de Benchmark");
    for (auto _ : estado)
        if (p.objeto->GeraRelatorioPlanoAlternativo(arquivo, relatorio, razao, 1) != S_OK)
            estado.SkipWithError("GeraRelatorioPlanoAlternativo");
    for (BSTR b : {arquivo, relatorio, razao})
        plataforma::LiberaBstr(b);
}
BENCHMARK(RelatorioTexto)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the report reads, read by a client: the index, each account, each analytic account's links.
void LeituraDoRelatorio(benchmark::State& estado)
{
    PlanoComVinculos& p = Preparado();
    if (p.hr != S_OK) {
        estado.SkipWithError("set-up of the plan");
        return;
    }
    BSTR tipo = plataforma::AlocaBstrDeAnsi("X");
    uint64_t vinculos = 0;
    for (auto _ : estado) {
        ARRAY_REGCON_INDEX_ALT_PS* indice = nullptr;
        if (p.objeto->GetPlanoIndex(tipo, 0, &indice) != S_OK || !indice) {
            estado.SkipWithError("GetPlanoIndex");
            break;
        }
        const REGCON_INDEX_ALT_PS* entradas = indice->pArrayRegConIndex;
        for (size_t i = 0; i < indice->iQtde && entradas; ++i) {
            const uint32_t tipoIndCon = entradas[i].Tipo_IndCon;
            const LONG posicao = LONG(tipoIndCon & 0x00FFFFFFu);
            if (posicao == 0)
                continue;
            REG_PLANO_ALT_PS conta;
            p.objeto->Le(posicao, &conta);
            if (!(tipoIndCon & 0xFF000000u))
                continue;
            ARRAY_REGCON_INDEX_ALT_PS* lista = nullptr;
            if (p.objeto->BuscaVinculo(posicao, &lista) == S_OK && lista) {
                vinculos += lista->iQtde;
                plataforma::LiberaTarefa(lista->pArrayRegConIndex);
                plataforma::LiberaTarefa(lista);
            }
        }
        plataforma::LiberaTarefa(indice->pArrayRegConIndex);
        plataforma::LiberaTarefa(indice);
    }
    plataforma::LiberaBstr(tipo);
    estado.counters["vinculos"] = benchmark::Counter(double(vinculos), benchmark::Counter::kAvgIterations);

}
BENCHMARK(LeituraDoRelatorio)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
