// The helper process of the multi-process tests. Each command signals the test by creating
// a file once it holds what it was asked to hold.
//   segura <arquivo> <L|G|C> <ms> <sinal>      holds a record file open
//   marca <dir> <tipo> <dono> <ms> <sinal>     holds a mark, then releases it and writes
//                                              the release tick into <sinal>.liberado;
//                                              <sinal> holds the tick it took the mark at
//   abandona <dir> <tipo> <dono> <sinal>       takes a mark and ends without releasing it
//   diretoriodados <modulo> <empresa> <sinal>  writes the data directory of the module for
//                                              the company into <sinal> (the start-up switches
//                                              are read once per process, so this runs fresh)
//   analytics <empresa> <usuario> <ms>...      posts one object's calls of the given durations
//                                              and stops the channel as the module's end does
// segura and marca hold for <ms>, or until the test creates <sinal>.solta, whichever comes first.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "df/tqlibex/GanchosTeste.h"
#include "df/tqlibex/TQAnalytics.h"
#include "df/tqlibex/TQPath.h"
#include "df/tqlibex/TQProfiler.h"
#include "df/tqlibex/TQArq.h"
#include "df/tqlibex/TQArqEx.h"
#include "df/tqlibex/TQArqMarca.h"
#include "platform/Arquivo.h"
#include "platform/Tempo.h"

namespace {

void Sinaliza(const std::string& caminho, const std::string& conteudo = "")
{
    const std::string temporario = caminho + ".tmp";
    {
        plataforma::ArquivoSO a;
        if (a.Abre(temporario.c_str(), {true, true, true, true, plataforma::Disposicao::CriaSempre}) != 0)
            std::exit(3);
        a.Grava(conteudo.data(), DWORD(conteudo.size()));
    }
    // Appears whole: the test never reads it half written.
    if (plataforma::RenomeiaArquivo(temporario.c_str(), caminho.c_str()) != 0)
        std::exit(3);
}

// Waits until ms have passed since the tick desde, or until the test lets go sooner.
void AteSoltar(const std::string& sinal, DWORD desde, DWORD ms)
{
    const std::string solta = sinal + ".solta";
    bool somenteLeitura = false;
    while (plataforma::Ticks() - desde < ms && plataforma::LeSomenteLeitura(solta.c_str(), somenteLeitura) != 0)
        plataforma::Dorme(10);
}

int Segura(const std::string& arquivo, char modo, DWORD ms, const std::string& sinal)
{
    CTQArqEx arq;
    if (StatusArq r = arq.Abre(arquivo, modo, 8, kAbreAgora))
        return int(r.Codigo() % 250);
    const DWORD desde = plataforma::Ticks();
    Sinaliza(sinal);
    AteSoltar(sinal, desde, ms);
    return 0;
}

int Marca(const std::string& dir, int tipo, int dono, DWORD ms, const std::string& sinal)
{
    CTQarq marca;
    if (uint32_t r = marca.Marca(dir, uint8_t(tipo), uint32_t(dono)))
        return int(r % 250);
    const DWORD desde = plataforma::Ticks();
    Sinaliza(sinal, std::to_string(desde));
    AteSoltar(sinal, desde, ms);
    marca.Desmarca();
    Sinaliza(sinal + ".liberado", std::to_string(plataforma::Ticks()));
    return 0;
}

int Abandona(const std::string& dir, int tipo, int dono, const std::string& sinal)
{
    static CTQarq marca; // never destroyed: the process ends holding it
    if (uint32_t r = marca.Marca(dir, uint8_t(tipo), uint32_t(dono)))
        return int(r % 250);
    Sinaliza(sinal);
    std::_Exit(0);
}

int DiretorioDados(long modulo, const std::string& empresa, const std::string& sinal)
{
    Sinaliza(sinal, CTQPath::GetDiretorioDadosModulo(modulo, empresa));
    return 0;
}

int Analytics(const std::string& empresa, int usuario, char** duracoes, int quantidade)
{
    CTQAnalytics modulo; // its end stops the sender and sends what is left
    CTQProfilerEmpresa identidade(empresa, uint16_t(usuario), 1);
    ArvoreEstatisticas arvore;
    for (int i = 0; i < quantidade; ++i)
        TQAdicionaEstatistica(arvore, &identidade, "CTQDF_PlanoAlt::Le", 0, uint64_t(std::atoi(duracoes[i])) * 10000);
    TQPostaEstatisticas(arvore);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const std::string comando = argv[1];
    if (comando == "segura" && argc == 6)
        return Segura(argv[2], argv[3][0], DWORD(std::atoi(argv[4])), argv[5]);
    if (comando == "marca" && argc == 7)
        return Marca(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), DWORD(std::atoi(argv[5])), argv[6]);
    if (comando == "abandona" && argc == 6)
        return Abandona(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), argv[5]);
    if (comando == "diretoriodados" && argc == 5)
        return DiretorioDados(std::atol(argv[2]), argv[3], argv[4]);
    if (comando == "analytics" && argc >= 4)
        return Analytics(argv[2], std::atoi(argv[3]), argv + 4, argc - 4);
    std::fprintf(stderr, "tqauxiliar: unknown command\n");
    return 2;
}
