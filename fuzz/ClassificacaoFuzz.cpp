// Fuzz target of the chart store's read side: arbitrary bytes become a chart file and an
// index file, and every lookup and listing must answer with a status, never touch memory it
// does not own, and never leave a listing that GetIndex copies past its count.
//
// Input: two bytes (little-endian) of the chart file's length, taken modulo what follows; the
// chart file; the index file (the rest).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "df/tqclasses/Classificacao.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQModulos.h"
#include "df/tqlibex/TQTrace.h"
#include "platform/Arquivo.h"
#include "platform/Processo.h"
#include "platform/Registro.h"
#include "platform/Tempo.h"
#include "platform/Texto.h"

namespace {

constexpr const char* kEmpresa = "EMPFUZZ";
constexpr const char* kArquivoPlano = "DFPLA001.DAT";
constexpr const char* kArquivoIndice = "DFIND001.DAT";

void SemTrace(const LinhaTrace&, void*) {}

// The company's data directory, registered once per process.
const std::string& Diretorio()
{
    static const std::string dir = [] {
        std::string d = plataforma::DiretorioTemporario() + "zazazu-fuzz-" + std::to_string(plataforma::IdProcesso()) +
                        "-" + std::to_string(plataforma::Relogio100ns()) + plataforma::kSeparador;
        if (plataforma::CriaDiretorio(d.c_str()) != 0)
            std::abort();
        const std::string registro = d + "registro.reg";
        plataforma::DefineVariavelAmbiente("ZAZAZU_REGISTRY", registro.c_str());
        plataforma::ChaveRegistro chave;
        const std::string nome = std::string(kChaveSuiteBarra) + kSubchaveEmpresas + "\\" + kEmpresa;
        if (chave.Cria(plataforma::RaizRegistro::LocalMachine, nome.c_str()) != 0 ||
            chave.GravaTexto(TQCodigoModulo(kModuloDF).c_str(), d.c_str()) != 0)
            std::abort();
        TQDefineDestinoTrace(SemTrace, nullptr);
        return d;
    }();
    return dir;
}

void Grava(const std::string& caminho, const uint8_t* dados, size_t tamanho)
{
    plataforma::ArquivoSO a;
    if (a.Abre(caminho.c_str(), {true, true, true, true, plataforma::Disposicao::CriaSempre}) != 0)
        std::abort();
    if (tamanho && a.Grava(dados, DWORD(tamanho)) != 0)
        std::abort();
}

std::basic_string<OLECHAR> Ole(const std::string& ansi) { return plataforma::AnsiParaOle(ansi); }

void Verifica(bool condicao)
{
    if (!condicao)
        std::abort();
}

// A plain status or 0: the read side of the store never fails on a well-formed file system
// except through the file statuses, which all come as 0x8004xxxx.
void VerificaResultado(HRESULT hr) { Verifica(hr >= 0 || (uint32_t(hr) & 0xFFFF0000u) == 0x80040000u); }

void Lista(CClassificacao& plano, const char* tipo, uint32_t base, bool ordena)
{
    uint32_t quantidade = 0xDEADBEEF;
    const HRESULT hr = plano.GetTamanhoIndex(Ole(tipo).c_str(), base, &quantidade);
    VerificaResultado(hr);
    if (hr != 0) {
        Verifica(quantidade == 0);
        return;
    }
    // One guard slot after what was asked for.
    std::vector<REGCON_INDEX> saida(size_t(quantidade) + 1, REGCON_INDEX{0xA5A5A5A5u, {}});
    const HRESULT hrIndex = plano.GetIndex(quantidade, saida.data(), ordena);
    // A listing without its base counts one entry more than it holds ("G" or "P" from the
    // top, "g"): that last slot stays as it was, and may be the only one.
    Verifica(hrIndex == 0 || (hrIndex == statusclass::ListagemVazia && quantidade == 1));
    Verifica(saida.back().Tipo_IndCon == 0xA5A5A5A5u);
    uint32_t preenchidas = 0;
    while (preenchidas < quantidade && saida[preenchidas].Tipo_IndCon != 0xA5A5A5A5u)
        ++preenchidas;
    Verifica(preenchidas + 1 >= quantidade);
    for (uint32_t i = 0; i < preenchidas; ++i)
        Verifica((saida[i].Tipo_IndCon & kBitInativo) == 0 && IDX_INDCON(saida[i].Tipo_IndCon) != 0);
    for (uint32_t i = preenchidas; i < quantidade; ++i)
        Verifica(saida[i].Tipo_IndCon == 0xA5A5A5A5u);
    Verifica(plano.GetIndex(1, saida.data(), ordena) == statusclass::ListagemVazia);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho)
{
    if (tamanho < 2)
        return 0;
    const std::string& dir = Diretorio();
    const size_t resto = tamanho - 2;
    const size_t tamanhoPlano = (size_t(dados[0]) | size_t(dados[1]) << 8) % (resto + 1);
    const uint8_t* plano = dados + 2;
    const uint8_t* indice = plano + tamanhoPlano;
    const size_t tamanhoIndice = resto - tamanhoPlano;
    Grava(dir + kArquivoPlano, plano, tamanhoPlano);
    Grava(dir + kArquivoIndice, indice, tamanhoIndice);

    CClassificacao store;
    const HRESULT hrInicio = store.Inicializa(Ole(kEmpresa).c_str(), 1, Ole("DF").c_str(), Ole(kArquivoPlano).c_str(),
                                              96, Ole(kArquivoIndice).c_str(), 50);
    Verifica(hrInicio == 0);
    Verifica(store.SetTamanhoCodigo(10) == 0);
    std::string mascaras(kMascaras * kTamanhoClassificacao, ' ');
    for (size_t d = 0; d < kMascaras; ++d)
        mascaras.replace(d * kTamanhoClassificacao, 16, "9.9.99.999.9999 ");
    store.SetMascaras(Ole(mascaras).c_str());

    // Reads by position.
    uint32_t quantidade = 0;
    Verifica(store.GetQuantidadeRegistros(&quantidade) == 0);
    Verifica(quantidade == tamanhoPlano / 96 - (tamanhoPlano >= 96 ? 1 : 0) + 1);
    std::vector<uint8_t> registro(96);
    Verifica(store.Le(0, registro.data()) == statusclass::ArgumentoInvalido);
    for (uint32_t p : {1u, 2u, quantidade - 1, quantidade, quantidade + 1, 0xFFFFFFu}) {
        const HRESULT hr = store.Le(p, registro.data());
        VerificaResultado(hr);
        Verifica(std::strlen(store.GetClassificacaoAtual()) <= kTamanhoClassificacao);
    }
    const uint32_t posicoes[] = {1, quantidade - 1, 1};
    std::vector<uint8_t> lista(3 * 96);
    VerificaResultado(store.LeLista(posicoes, 3, lista.data()));

    // Texts to search for: fixed ones and what the files hold.
    std::vector<std::string> textos = {"1", "1.1", "1.1.01", "52", "007", "0", std::string(28, '0'), ""};
    if (tamanhoIndice >= 2 * sizeof(REGCON_INDEX)) {
        REGCON_INDEX e;
        std::memcpy(&e, indice + sizeof(REGCON_INDEX), sizeof e);
        textos.push_back(DesempacotaClassificacao(e.Classificacao));
    }
    if (tamanhoPlano >= 2 * 96) {
        const char* primeiro = reinterpret_cast<const char*>(plano + 96);
        textos.emplace_back(primeiro + 16, strnlen(primeiro + 16, 10)); // its own code
        textos.emplace_back(primeiro + 26, strnlen(primeiro + 26, 40)); // its name, as any text
    }
    for (const std::string& texto : textos) {
        const auto ole = Ole(texto);
        uint32_t posicao = 0;
        const HRESULT hr = store.ExisteClassificacao(ole.c_str(), &posicao);
        VerificaResultado(hr);
        Verifica(hr != 0 || posicao != 0);
        for (uint16_t prioridade : {0, 1, 2, 13, 32, 123, 4}) {
            const HRESULT hrCodigo = store.ExisteCodigo(ole.c_str(), &posicao, prioridade);
            VerificaResultado(hrCodigo);
            // A short last record is readable, so a classification may name it.
            Verifica(hrCodigo != 0 || (posicao != 0 && size_t(posicao) * 96 < tamanhoPlano));
        }
        VerificaResultado(store.ExisteContaTitulo(ole.c_str(), &posicao));
        VerificaResultado(store.InternalExisteConta(texto, false, &posicao));
        VerificaResultado(store.ExisteSubordinadas(ole.c_str()));
        uint32_t reduzido = 0;
        VerificaResultado(store.ProcuraReduzido(texto, &reduzido));
        Verifica(reduzido < quantidade);
    }

    // Listings: the whole chart, and below the record numbers of the first entries.
    std::vector<uint32_t> bases = {0, 1, 0xFFFFFF};
    for (size_t i = 1; i < 4 && (i + 1) * sizeof(REGCON_INDEX) <= tamanhoIndice; ++i) {
        uint32_t tipo;
        std::memcpy(&tipo, indice + i * sizeof(REGCON_INDEX), sizeof tipo);
        bases.push_back(IDX_INDCON(tipo));
    }
    bool ordena = false;
    for (uint32_t base : bases)
        for (const char* tipo : {"X", "T", "G", "GT", "g", "P", "A", "AX", "AG", "asg", "GI", "GB", "XB", "AI", "Q"}) {
            Lista(store, tipo, base, ordena);
            ordena = !ordena;
        }
    return 0;
}
