// One KeepAlive and one Le through ZAZAZU.exe against the same calls to a trivial local server
// of our own (every method empty; the same interface and proxy/stub), one client process and
// one server process each, timed with QueryPerformanceCounter. Under Wine:
//   scripts/wine-run build/windows/bench/windows/bench_servidor_local.exe [calls]
// It installs the server with install.cmd, registers the trivial class for the run, and prints
// microseconds per call and the ratios.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include <windows.h>

#include "ServidorVazio.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Processo.h"
#include "platform/Registro.h"
#include "server/Contrato.h"
#include "tests/server/Cliente.h"

namespace {

using plataforma::RaizRegistro;

const std::string kChaveVazio = "Software\\Classes\\CLSID\\{6B3C2B4E-6F31-4D0E-9E57-2D7A1C0B9A11}";

double Agora()
{
    static LARGE_INTEGER f = [] {
        LARGE_INTEGER q;
        QueryPerformanceFrequency(&q);
        return q;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(f.QuadPart);
}

// Microseconds per call of one round of n calls.
template <class Chamada>
double Rodada(int n, Chamada chamada)
{
    const double inicio = Agora();
    for (int i = 0; i < n; ++i)
        chamada();
    return (Agora() - inicio) * 1e6 / n;
}

// The best round of each of the two, their rounds taken in turn so that the machine's load
// weighs on both alike.
template <class A, class B>
std::pair<double, double> Mede(int n, A a, B b)
{
    std::pair<double, double> melhor{1e30, 1e30};
    for (int rodada = 0; rodada < 7; ++rodada) {
        melhor.first = std::min(melhor.first, Rodada(n, a));
        melhor.second = std::min(melhor.second, Rodada(n, b));
    }
    return melhor;
}

bool Falhou(HRESULT hr, const char* passo)
{
    if (SUCCEEDED(hr))
        return false;
    std::fprintf(stderr, "%s: 0x%08lX\n", passo, static_cast<unsigned long>(hr));
    return true;
}

// Both objects, an account to read in ZAZAZU's, and the timings.
int CriaEMede(int n)
{
    cliente::Ptr<ITQDF_PlanoAlt> zaz, vazio;
    if (Falhou(CoCreateInstance(CLSID_TQDF_PlanoAlt, nullptr, CLSCTX_LOCAL_SERVER, IID_ITQDF_PlanoAlt,
                                reinterpret_cast<void**>(&zaz)),
               "ZAZAZU") ||
        Falhou(CoCreateInstance(kClsidVazio, nullptr, CLSCTX_LOCAL_SERVER, IID_ITQDF_PlanoAlt,
                                reinterpret_cast<void**>(&vazio)),
               "trivial server") ||
        Falhou(zaz->Inicializa_Padrao(cliente::Sessao("0001")), "Inicializa_Padrao"))
        return 1;
    REG_DADOS_PLANO_ALT_PS d{};
    std::strcpy(d.cNomePlano, "Bench");
    LONG plano = 0, conta = 0;
    REG_MASCARA_ALT_PS m{};
    std::memcpy(m.Mascara[1], "9.9.99", 6);
    REG_PLANO_ALT_PS a{};
    std::strcpy(a.cClassificacao, "1");
    std::strcpy(a.cNome, "Conta");
    a.cTipo = 'T';
    if (Falhou(zaz->GravaPlano(0, d, &plano), "GravaPlano") || Falhou(zaz->SetMascara(plano, m), "SetMascara") ||
        Falhou(zaz->SetPlano(plano), "SetPlano") || Falhou(zaz->Grava(0, a, &conta), "Grava"))
        return 1;
    LONG ok = 0;
    REG_PLANO_ALT_PS lida{};
    Rodada(200, [&] {
        zaz->KeepAlive(&ok);
        vazio->KeepAlive(&ok);
    });
    const auto keep = Mede(n, [&] { zaz->KeepAlive(&ok); }, [&] { vazio->KeepAlive(&ok); });
    const auto le = Mede(n, [&] { zaz->Le(conta, &lida); }, [&] { vazio->Le(conta, &lida); });
    // The same reads in this process: what Le costs before any transport.
    cliente::Ptr<ITQDF_PlanoAlt> local;
    double leLocal = 0;
    if (!Falhou(cliente::Cria(&local), "in process") &&
        !Falhou(local->Inicializa_Padrao(cliente::Sessao("0001")), "Inicializa_Padrao in process") &&
        !Falhou(local->SetPlano(plano), "SetPlano in process"))
        leLocal = Mede(n, [&] { local->Le(conta, &lida); }, [] {}).first;
    std::printf("calls per round: %d (best of 7 rounds each, taken in turn)\n", n);
    std::printf("KeepAlive: ZAZAZU %.1f us, trivial %.1f us, ratio %.3f\n", keep.first, keep.second,
                keep.first / keep.second);
    std::printf("Le:        ZAZAZU %.1f us, trivial %.1f us, ratio %.3f\n", le.first, le.second, le.first / le.second);
    std::printf("Le in process: %.1f us\n", leLocal);
    return 0;
}

int Compara(int n)
{
    const std::string dirServidor = CTQPath::Combina(
        CTQPath::GetParentPath(CTQPath::GetParentPath(CTQPath::GetDiretorio(plataforma::CaminhoExecutavel()))),
        "server");
    // The in-process object finds the suite's libraries where the server does.
    CTQPath::DefineInstalacaoSemRegistro(dirServidor);
    const std::string servidor = CTQPath::Combina(dirServidor, "install.cmd");
    if (std::system(("cmd /c \"" + servidor + "\"").c_str()) != 0)
        return Falhou(E_FAIL, "install.cmd");
    plataforma::ChaveRegistro k;
    k.Cria(RaizRegistro::LocalMachine, (kChaveVazio + "\\LocalServer32").c_str());
    k.GravaTexto(nullptr, ("\"" + plataforma::CaminhoExecutavel() + "\"").c_str());
    k.Fecha();
    const std::string dados = plataforma::DiretorioTemporario() + "zazbench\\";
    CreateDirectoryA(dados.c_str(), nullptr);
    k.Cria(RaizRegistro::LocalMachine, CTQPath::CombinaChave(kChaveSuiteBarra, "Empresas\\0001").c_str());
    k.GravaTexto("DF", dados.c_str());
    k.Fecha();

    const int r = CriaEMede(n);
    plataforma::ApagaChaveRegistro(RaizRegistro::LocalMachine, kChaveVazio.c_str());
    return r;
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (_stricmp(argv[i] + (argv[i][0] == '-' || argv[i][0] == '/'), "Embedding") == 0)
            return ServeVazio();
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const int r = Compara(argc > 1 ? std::max(100, std::atoi(argv[1])) : 2000);
    CoUninitialize();
    return r;
}
