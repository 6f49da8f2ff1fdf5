// The local server against an empty call on the same private bus, and its memory with the
// benchmark chart's 65,500 accounts selected.
#include "ServidorLocalBench.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "ContasSessaoBench.h"
#include "EmpresaBench.h"
#include "platform/Biblioteca.h"
#include "platform/Processo.h"
#include "server/dbus/Barramento.h"
#include "servidorbarramento/BarramentoPrivado.h"

namespace {

constexpr const char* kEmpresa = "EMPSERVIDOR";
constexpr const char* kEmpresaGrande = "EMPRSS";
constexpr uint32_t kContasGrande = 65500;

} // namespace

namespace bench {

namespace {

// Started at the first use; ended with the process.
struct Servidor {
    Servidor()
    {
        DiretorioEmpresa(kEmpresa); // the registry the server will read
        std::filesystem::create_directories(dir);
        erro = barramento.Inicia(dir);
        if (erro.empty() && !modulo.Carrega(servidorlocal::ModuloProxy()))
            erro = "libZAZAZUps.so not loaded";
        obtem = reinterpret_cast<decltype(obtem)>(modulo.Simbolo("DllGetClassObject"));
        sd_bus* b = nullptr;
        if (sd_bus_open_user(&b) >= 0)
            bus.reset(b);
    }
    ~Servidor()
    {
        bus.reset();
        std::error_code ignorado;
        std::filesystem::remove_all(dir, ignorado);
    }

    std::string dir = plataforma::DiretorioTemporario() + "zazbench-" + std::to_string(plataforma::IdProcesso()) + "/";
    servidorlocal::BarramentoPrivado barramento;
    std::string erro;
    plataforma::Biblioteca modulo;
    HRESULT (*obtem)(REFCLSID, REFIID, void**) = nullptr;
    dbus::Bus bus;
};

Servidor& O()
{
    static Servidor s;
    return s;
}

} // namespace

ObjetoPlano ObjetoNoServidor(const std::string& empresa)
{
    if (!O().erro.empty() || !O().obtem)
        return nullptr;
    IClassFactory* fabrica = nullptr;
    if (O().obtem(CLSID_TQDF_PlanoAlt, IID_IClassFactory, reinterpret_cast<void**>(&fabrica)) != S_OK)
        return nullptr;
    ITQDF_PlanoAlt* p = nullptr;
    const HRESULT hr = fabrica->CreateInstance(nullptr, IID_ITQDF_PlanoAlt, reinterpret_cast<void**>(&p));
    fabrica->Release();
    ObjetoPlano objeto(hr == S_OK ? p : nullptr);
    if (objeto && objeto->Inicializa_Padrao(RegistroSessao(empresa)) != S_OK)
        objeto.reset();
    return objeto;
}

sd_bus* BarramentoBench() { return O().bus.get(); }

std::string NomeServidor()
{
    const char* dono = nullptr;
    sd_bus_creds* c = nullptr;
    if (!O().bus || sd_bus_get_name_creds(O().bus.get(), dbus::kNomeServico, SD_BUS_CREDS_UNIQUE_NAME, &c) < 0)
        return {};
    sd_bus_creds_get_unique_name(c, &dono);
    const std::string nome = dono ? dono : "";
    sd_bus_creds_unref(c);
    return nome;
}

uint64_t MemoriaServidor()
{
    const DWORD pid = O().barramento.PidServidor();
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string linha; std::getline(status, linha);)
        if (linha.rfind("VmRSS:", 0) == 0)
            return std::stoull(linha.substr(6)) * 1024;
    return 0;
}

} // namespace bench

namespace {

// The floor: a method call that the server's bus thread answers without any of our code
// (org.freedesktop.DBus.Peer.Ping), on the same bus.
void ChamadaVaziaNoBarramento(benchmark::State& estado)
{
    bench::ObjetoPlano objeto = bench::ObjetoNoServidor(kEmpresa); // the server runs
    const std::string servidor = bench::NomeServidor();
    if (!objeto || servidor.empty()) {
        estado.SkipWithError("no local server");
        return;
    }
    for (auto _ : estado) {
        sd_bus_message* r = nullptr;
        if (sd_bus_call_method(bench::BarramentoBench(), servidor.c_str(), "/", "org.freedesktop.DBus.Peer", "Ping",
                               nullptr, &r, "") < 0) {
            estado.SkipWithError("Ping failed");
            break;
        }
        sd_bus_message_unref(r);
    }
}
BENCHMARK(ChamadaVaziaNoBarramento)->Unit(benchmark::kMicrosecond)->UseRealTime();

void KeepAliveServidorLocal(benchmark::State& estado)
{
    bench::ObjetoPlano objeto = bench::ObjetoNoServidor(kEmpresa);
    if (!objeto) {
        estado.SkipWithError("no local server");
        return;
    }
    for (auto _ : estado) {
        LONG ok = 0;
        if (objeto->KeepAlive(&ok) != S_OK || ok != 1) {
            estado.SkipWithError("KeepAlive failed");
            break;
        }
    }
}
BENCHMARK(KeepAliveServidorLocal)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Le of 100 accounts in turn, through the server.
void LeServidorLocal(benchmark::State& estado)
{
    const std::string dir = bench::DiretorioEmpresa(kEmpresa);
    bench::EsvaziaDiretorio(dir);
    bench::ObjetoPlano objeto = bench::ObjetoNoServidor(kEmpresa);
    LONG plano = 0;
    if (!objeto || bench::CriaPlanoSelecionado(objeto.get(), &plano) != S_OK ||
        bench::GravaContas(objeto.get(), bench::ContasSessao(100)) != S_OK) {
        estado.SkipWithError("no plan in the local server");
        return;
    }
    LONG posicao = 0;
    for (auto _ : estado) {
        REG_PLANO_ALT_PS conta;
        if (objeto->Le(posicao % 100 + 1, &conta) != S_OK) {
            estado.SkipWithError("Le failed");
            break;
        }
        ++posicao;
    }
}
BENCHMARK(LeServidorLocal)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The server's resident memory once a client selected a plan of 65,500 accounts (written once,
// in process) and read its last account.
void MemoriaServidorPlanoGrande(benchmark::State& estado)
{
    static const bool pronto = [] {
        bench::EsvaziaDiretorio(bench::DiretorioEmpresa(kEmpresaGrande));
        bench::ObjetoPlano local = bench::ObjetoInicializado(kEmpresaGrande);
        LONG plano = 0;
        return local && bench::CriaPlanoSelecionado(local.get(), &plano) == S_OK &&
               bench::GravaContas(local.get(), bench::ContasSessao(kContasGrande)) == S_OK;
    }();
    bench::ObjetoPlano objeto = bench::ObjetoNoServidor(kEmpresaGrande);
    if (!pronto || !objeto || objeto->SetPlano(1) != S_OK) {
        estado.SkipWithError("no large plan in the local server");
        return;
    }
    for (auto _ : estado) {
        REG_PLANO_ALT_PS conta;
        if (objeto->Le(LONG(kContasGrande), &conta) != S_OK) {
            estado.SkipWithError("Le failed");
            break;
        }
    }
    estado.counters["rss_mb"] = double(bench::MemoriaServidor()) / (1024.0 * 1024.0);
}
BENCHMARK(MemoriaServidorPlanoGrande)->Unit(benchmark::kMicrosecond)->Iterations(100);

} // namespace
