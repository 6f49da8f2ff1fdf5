// Several threads of one client call the service at once: four threads on one object, whose
// calls take turns, and four objects of one process on the same plan, one thread each, whose
// calls run at once and meet only in the plan's files. Every account a write acknowledged is
// afterwards there exactly once with its data and its own position, the index lists each, and
// no call meanwhile answers a wrong result.
#include <cstdio>
#include <cstring>
#include <future>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "Cliente.h"
#include "df/tqclasses/ClassificacaoCodigos.h"

namespace cliente {
namespace {

constexpr int kThreads = 4;
constexpr int kChamadas = 1000; // per thread
constexpr const char* kMascara = "9.9.9999";
constexpr HRESULT kEmUso = TQHResult(0x80043EEE); // sharing violation after the retries

// One cycle of calls, repeated until the thread has made its calls: one write, then reads of
// what the thread wrote (the newest account, and older ones), counts and the whole index.
// Writes and code lookups scan the chart, slow under Wine: one write and two lookups in twenty.
enum class Chamada { Grava, LeNova, ExisteNova, TituloDaNova, Quantidade, LeAntiga, ExisteAntiga, Indice };
constexpr Chamada kCiclo[] = {
    Chamada::Grava,      Chamada::LeNova,       Chamada::ExisteNova, Chamada::TituloDaNova, Chamada::Quantidade,
    Chamada::LeAntiga,   Chamada::Indice,       Chamada::LeAntiga,   Chamada::Quantidade,   Chamada::TituloDaNova,
    Chamada::LeAntiga,   Chamada::ExisteAntiga, Chamada::LeNova,     Chamada::Quantidade,   Chamada::LeAntiga,
    Chamada::TituloDaNova, Chamada::LeAntiga,   Chamada::Indice,     Chamada::Quantidade,   Chamada::LeAntiga};
constexpr int kTamanhoCiclo = int(sizeof kCiclo / sizeof kCiclo[0]);
constexpr int kEscritasPorThread = kChamadas / kTamanhoCiclo;
constexpr ULONG kMaximoRegistros = kThreads * kEscritasPorThread + 1; // the count includes record 0

// An account as its writer sent it, and the position the write answered.
struct Escrita {
    std::string classificacao, codigo, nome;
    char tipo = 'A';
    LONG posicao = 0;
};

// Write i of thread t (1 to 4): first the thread's title "1.t", then accounts "1.t.iiii" below it.
Escrita ContaDe(int t, int i)
{
    char texto[3][32];
    if (i == 0) {
        std::snprintf(texto[0], sizeof texto[0], "1.%d", t);
        std::snprintf(texto[1], sizeof texto[1], "T%d", t);
        std::snprintf(texto[2], sizeof texto[2], "Titulo %d", t);
        return {texto[0], texto[1], texto[2], 'T'};
    }
    std::snprintf(texto[0], sizeof texto[0], "1.%d.%04d", t, i);
    std::snprintf(texto[1], sizeof texto[1], "C%d-%04d", t, i);
    std::snprintf(texto[2], sizeof texto[2], "Conta %d %04d", t, i);
    return {texto[0], texto[1], texto[2], 'A'};
}

std::u16string Ole(const std::string& ansi) { return std::u16string(ansi.begin(), ansi.end()); }

// What is wrong with an account as read, or empty.
std::string Diferenca(const REG_PLANO_ALT_PS& lida, const Escrita& c)
{
    if (lida.cClassificacao != c.classificacao || lida.cCodigoProprio != c.codigo || lida.cNome != c.nome ||
        lida.cTipo != c.tipo || lida.lPosicaoConta != c.posicao || lida.cExcluida != 0)
        return "account " + c.codigo + " at " + std::to_string(c.posicao) + " reads as " + lida.cClassificacao +
               " / " + lida.cCodigoProprio + " / " + lida.cNome + " / type " + char(lida.cTipo) + " / position " +
               std::to_string(lida.lPosicaoConta) + " / deleted " + std::to_string(lida.cExcluida);
    return {};
}

// The listing of the whole plan.
HRESULT Indice(ITQDF_PlanoAlt* obj, std::vector<REGCON_INDEX_ALT_PS>& entradas)
{
    ARRAY_REGCON_INDEX_ALT_PS* bloco = nullptr;
    const HRESULT hr = obj->GetPlanoIndex(Texto(u"X"), 0, &bloco);
    entradas = TomaBloco(bloco, &ARRAY_REGCON_INDEX_ALT_PS::pArrayRegConIndex);
    return hr;
}

// What is wrong with a listing that must hold the given accounts (and only accounts of the
// plan, each once), or empty. `todas`: the listing holds nothing else.
std::string ConfereIndice(const std::vector<REGCON_INDEX_ALT_PS>& entradas, const std::vector<Escrita>& contas,
                          bool todas)
{
    std::map<LONG, const REGCON_INDEX_ALT_PS*> porPosicao;
    for (const auto& e : entradas) {
        const LONG posicao = LONG(IDX_INDCON(e.Tipo_IndCon));
        if (posicao == 0 || ULONG(posicao) >= kMaximoRegistros)
            return "the index lists position " + std::to_string(posicao);
        if (!porPosicao.emplace(posicao, &e).second)
            return "the index lists position " + std::to_string(posicao) + " twice";
    }
    if (todas && entradas.size() != contas.size())
        return "the index lists " + std::to_string(entradas.size()) + " accounts, not " +
               std::to_string(contas.size());
    for (const Escrita& c : contas) {
        const auto it = porPosicao.find(c.posicao);
        if (it == porPosicao.end())
            return "the index lacks account " + c.codigo + " at " + std::to_string(c.posicao);
        uint8_t empacotada[kTamanhoEmpacotado];
        EmpacotaClassificacao(c.classificacao, empacotada);
        const bool titulo = EhTitulo(it->second->Tipo_IndCon);
        if (std::memcmp(it->second->Classificacao, empacotada, kTamanhoEmpacotado) != 0 || titulo != (c.tipo == 'T'))
            return "the index entry of account " + c.codigo + " holds " +
                   DesempacotaClassificacao(reinterpret_cast<const uint8_t*>(it->second->Classificacao)) +
                   (titulo ? " as a title" : " as an account");
    }
    return {};
}

// One thread's calls on its object: the accounts it wrote, and the first wrong answer (the
// thread stops there).
struct Trabalho {
    std::vector<Escrita> contas;
    std::string erro;
};

void Trabalha(ITQDF_PlanoAlt* obj, int t, Trabalho& w)
{
    const auto falha = [&](int chamada, const std::string& texto) {
        w.erro = "thread " + std::to_string(t) + ", call " + std::to_string(chamada) + ": " + texto;
    };
    const auto hex = [](HRESULT hr) {
        char s[16];
        std::snprintf(s, sizeof s, "0x%08X", unsigned(hr));
        return std::string(s);
    };
    ULONG quantidadeAnterior = 0;
    for (int n = 0; n < kChamadas && w.erro.empty(); ++n) {
        const Chamada chamada = kCiclo[n % kTamanhoCiclo];
        if (chamada == Chamada::Grava) {
            Escrita c = ContaDe(t, int(w.contas.size()));
            REG_PLANO_ALT_PS r{};
            std::strcpy(r.cClassificacao, c.classificacao.c_str());
            std::strcpy(r.cCodigoProprio, c.codigo.c_str());
            std::strcpy(r.cNome, c.nome.c_str());
            r.cTipo = uint8_t(c.tipo);
            // Another object's write may hold the chart through all the retries of an open, on a
            // loaded machine: a busy chart is the one refusal a client tries again.
            HRESULT hr = obj->Grava(0, r, &c.posicao);
            for (int k = 0; hr == kEmUso && k < 100; ++k)
                hr = obj->Grava(0, r, &c.posicao);
            if (hr != S_OK || c.posicao <= 0 || ULONG(c.posicao) >= kMaximoRegistros)
                falha(n, "Grava of " + c.codigo + " answers " + hex(hr) + ", position " + std::to_string(c.posicao));
            else
                w.contas.push_back(c);
            continue;
        }
        if (w.contas.empty())
            continue;
        const Escrita& nova = w.contas.back();
        const Escrita& antiga = w.contas[size_t(n * 7) % w.contas.size()];
        const Escrita& alvo = (chamada == Chamada::LeAntiga || chamada == Chamada::ExisteAntiga) ? antiga : nova;
        switch (chamada) {
        case Chamada::LeNova:
        case Chamada::LeAntiga: {
            REG_PLANO_ALT_PS lida{};
            if (const HRESULT hr = obj->Le(alvo.posicao, &lida); hr != S_OK)
                falha(n, "Le of " + alvo.codigo + " answers " + hex(hr));
            else if (const std::string d = Diferenca(lida, alvo); !d.empty())
                falha(n, "Le: " + d);
            break;
        }
        case Chamada::ExisteNova:
        case Chamada::ExisteAntiga: {
            LONG posicao = 0;
            REG_PLANO_ALT_PS lida{};
            if (const HRESULT hr = obj->Existe(Texto(Ole(alvo.codigo).c_str()), 1, &posicao, &lida); hr != S_OK)
                falha(n, "Existe of " + alvo.codigo + " answers " + hex(hr));
            else if (posicao != alvo.posicao)
                falha(n, "Existe of " + alvo.codigo + " answers position " + std::to_string(posicao));
            else if (const std::string d = Diferenca(lida, alvo); !d.empty())
                falha(n, "Existe: " + d);
            break;
        }
        case Chamada::TituloDaNova: {
            // The account itself when it is the title, else the title above it: the thread's first.
            LONG posicao = 0;
            if (const HRESULT hr = obj->ExisteContaTitulo(Texto(Ole(alvo.classificacao).c_str()), &posicao);
                hr != S_OK || posicao != w.contas.front().posicao)
                falha(n, "ExisteContaTitulo of " + alvo.classificacao + " answers " + hex(hr) + ", position " +
                             std::to_string(posicao));
            break;
        }
        case Chamada::Quantidade: {
            // Only grows, and is past every account the thread wrote.
            ULONG quantidade = 0;
            if (const HRESULT hr = obj->GetQuantidadeRegistros(&quantidade); hr != S_OK)
                falha(n, "GetQuantidadeRegistros answers " + hex(hr));
            else if (quantidade < quantidadeAnterior || quantidade <= ULONG(nova.posicao) ||
                     quantidade > kMaximoRegistros)
                falha(n, "GetQuantidadeRegistros answers " + std::to_string(quantidade) + " after " +
                             std::to_string(quantidadeAnterior));
            quantidadeAnterior = quantidade;
            break;
        }
        case Chamada::Indice: {
            std::vector<REGCON_INDEX_ALT_PS> entradas;
            if (const HRESULT hr = Indice(obj, entradas); hr != S_OK)
                falha(n, "GetPlanoIndex answers " + hex(hr));
            else if (const std::string d = ConfereIndice(entradas, w.contas, false); !d.empty())
                falha(n, "GetPlanoIndex: " + d);
            break;
        }
        case Chamada::Grava:
            break;
        }
    }
}

class Concorrencia : public ClienteTeste {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ClienteTeste::SetUp());
        ASSERT_NO_FATAL_FAILURE(Inicializa());
        ASSERT_NO_FATAL_FAILURE(SelecionaPlano(kMascara));
    }

    // Thread t calls objetos[t % objetos.size()]; all start together. Then the checks, through
    // the test's own object.
    void Roda(const std::vector<ITQDF_PlanoAlt*>& objetos)
    {
        std::vector<Trabalho> trabalhos(kThreads);
        {
            std::promise<void> largada;
            const std::shared_future<void> vai = largada.get_future().share();
            std::vector<std::thread> threads;
            for (int t = 0; t < kThreads; ++t)
                threads.emplace_back([&, t] {
                    vai.wait();
                    Trabalha(objetos[size_t(t) % objetos.size()], t + 1, trabalhos[size_t(t)]);
                });
            largada.set_value();
            for (auto& th : threads)
                th.join();
        }
        std::vector<Escrita> todas;
        for (const Trabalho& w : trabalhos) {
            EXPECT_EQ(w.erro, "");
            EXPECT_EQ(w.contas.size(), size_t(kEscritasPorThread));
            todas.insert(todas.end(), w.contas.begin(), w.contas.end());
        }

        // Each account at a position of its own, nothing else written, and each reads back.
        std::set<LONG> posicoes;
        for (const Escrita& c : todas)
            EXPECT_TRUE(posicoes.insert(c.posicao).second) << c.codigo << " at " << c.posicao;
        ULONG quantidade = 0;
        ASSERT_EQ(m_obj->GetQuantidadeRegistros(&quantidade), S_OK);
        EXPECT_EQ(quantidade, ULONG(todas.size() + 1));
        for (const Escrita& c : todas) {
            REG_PLANO_ALT_PS lida{};
            ASSERT_EQ(m_obj->Le(c.posicao, &lida), S_OK) << c.codigo;
            EXPECT_EQ(Diferenca(lida, c), "");
        }
        std::vector<REGCON_INDEX_ALT_PS> entradas;
        ASSERT_EQ(Indice(m_obj.get(), entradas), S_OK);
        EXPECT_EQ(ConfereIndice(entradas, todas, true), "");
        // The index in classification order: each thread's title before its accounts.
        for (size_t i = 1; i < entradas.size(); ++i)
            EXPECT_LT(std::memcmp(entradas[i - 1].Classificacao, entradas[i].Classificacao, kTamanhoEmpacotado), 0)
                << "entry " << i;
        // Only the refusals of a busy chart, which were tried again.
        EXPECT_EQ(LinhasDeErro(), LinhasDeErro("CODE = 16110")) << LogDeErros();
    }
};

TEST_F(Concorrencia, QuatroThreadsNumObjeto)
{
    Roda({m_obj.get()});
}

TEST_F(Concorrencia, QuatroObjetosNoMesmoPlano)
{
    Ptr<ITQDF_PlanoAlt> objetos[kThreads];
    std::vector<ITQDF_PlanoAlt*> lista;
    for (int t = 0; t < kThreads; ++t) {
        ASSERT_EQ(Cria(&objetos[t]), S_OK);
        ASSERT_EQ(objetos[t]->Inicializa_Padrao(Sessao("0001", uint32_t(t + 1))), S_OK);
        ASSERT_EQ(objetos[t]->SetPlano(1), S_OK);
        lista.push_back(objetos[t].get());
    }
    Roda(lista);
}

} // namespace
} // namespace cliente
