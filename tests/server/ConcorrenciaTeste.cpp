// Several threads of one client call the service at once: four threads on one object, whose
// calls take turns, and four objects of one process on the same plan, one thread each, whose
// calls meet only in the plan's files. Every account a write acknowledged is afterwards there
// exactly once with its data and its own position, the index lists each, and no call meanwhile
// answers a wrong result.
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
constexpr HRESULT kEmUso = TQHResult(0x80043EEE); // sharing violation after the retries
// One cycle of calls: a write (G), reads of the newest account (L, E: by code, T: its title) and
// of older ones (A, X: by code), counts (Q), the whole index (I). Writes and code lookups scan the
// chart, slow under Wine: one write and two lookups in twenty.
constexpr char kCiclo[] = "GLETQAIAQTAXLQATAIQA";
constexpr int kEscritasPorThread = kChamadas / (sizeof kCiclo - 1);
constexpr ULONG kMaximoRegistros = kThreads * kEscritasPorThread + 1; // the count includes record 0

// An account as its writer sent it (its code is its name too), and the position it got.
struct Escrita {
    std::string classificacao, codigo;
    char tipo;
    LONG posicao = 0;
};

// Write i of thread t (1 to 4): first the thread's title "1.t", then accounts "1.t.iiii" below it.
Escrita ContaDe(int t, int i)
{
    const std::string n = std::to_string(10000 + i).substr(1);
    if (i == 0)
        return {"1." + std::to_string(t), "T" + std::to_string(t), 'T'};
    return {"1." + std::to_string(t) + "." + n, "C" + std::to_string(t) + "-" + n, 'A'};
}

// What is wrong with an account as read, or empty.
std::string Diferenca(const REG_PLANO_ALT_PS& r, const Escrita& c)
{
    if (r.cClassificacao == c.classificacao && r.cCodigoProprio == c.codigo && r.cNome == c.codigo &&
        r.cTipo == c.tipo && r.lPosicaoConta == c.posicao && r.cExcluida == 0)
        return {};
    return c.codigo + " at " + std::to_string(c.posicao) + " reads as " + r.cClassificacao + " / " + r.cCodigoProprio +
           " / " + r.cNome + " at " + std::to_string(r.lPosicaoConta) + " deleted " + std::to_string(r.cExcluida);
}

// What is wrong with the plan's listing, which must hold the accounts (each once, nothing outside
// the plan; `todas`: nothing else), or empty. The entries it read go to `entradas`.
std::string ConfereIndice(ITQDF_PlanoAlt* obj, const std::vector<Escrita>& contas, bool todas,
                          std::vector<REGCON_INDEX_ALT_PS>& entradas)
{
    ARRAY_REGCON_INDEX_ALT_PS* bloco = nullptr;
    if (const HRESULT hr = obj->GetPlanoIndex(Texto(u"X"), 0, &bloco); hr != S_OK)
        return "GetPlanoIndex answers " + std::to_string(hr);
    entradas = TomaBloco(bloco, &ARRAY_REGCON_INDEX_ALT_PS::pArrayRegConIndex);
    std::map<LONG, const REGCON_INDEX_ALT_PS*> porPosicao;
    for (const auto& e : entradas) {
        const LONG posicao = LONG(IDX_INDCON(e.Tipo_IndCon));
        if (posicao == 0 || ULONG(posicao) >= kMaximoRegistros || !porPosicao.emplace(posicao, &e).second)
            return "the index lists position " + std::to_string(posicao) + " out of range or twice";
    }
    if (todas && entradas.size() != contas.size())
        return "the index lists " + std::to_string(entradas.size()) + " of " + std::to_string(contas.size());
    for (const Escrita& c : contas) {
        const auto it = porPosicao.find(c.posicao);
        uint8_t empacotada[kTamanhoEmpacotado];
        EmpacotaClassificacao(c.classificacao, empacotada);
        if (it == porPosicao.end() || std::memcmp(it->second->Classificacao, empacotada, kTamanhoEmpacotado) != 0 ||
            EhTitulo(it->second->Tipo_IndCon) != (c.tipo == 'T'))
            return "the index lacks or misstates account " + c.codigo + " at " + std::to_string(c.posicao);
    }
    return {};
}

// One thread's calls on its object: the accounts it wrote, and its first wrong answer (it stops).
struct Trabalho {
    std::vector<Escrita> contas;
    std::string erro;
};

void Trabalha(ITQDF_PlanoAlt* obj, int t, Trabalho& w)
{
    ULONG quantidadeAnterior = 0;
    for (int n = 0; n < kChamadas && w.erro.empty(); ++n) {
        const char chamada = kCiclo[n % (sizeof kCiclo - 1)];
        HRESULT hr = S_OK;
        std::string d;
        REG_PLANO_ALT_PS r{};
        LONG posicao = 0;
        if (chamada == 'G') {
            Escrita c = ContaDe(t, int(w.contas.size()));
            std::strcpy(r.cClassificacao, c.classificacao.c_str());
            std::strcpy(r.cCodigoProprio, c.codigo.c_str());
            std::strcpy(r.cNome, c.codigo.c_str());
            r.cTipo = uint8_t(c.tipo);
            // Another object's write may hold the chart through all the retries of an open, on a
            // loaded machine: a busy chart is the one refusal a client tries again.
            for (int k = 0; (hr = obj->Grava(0, r, &c.posicao)) == kEmUso && k < 100; ++k) {
            }
            if (c.posicao <= 0 || ULONG(c.posicao) >= kMaximoRegistros)
                d = "position " + std::to_string(c.posicao);
            else if (hr == S_OK)
                w.contas.push_back(c);
        } else if (!w.contas.empty()) {
            const Escrita& alvo = (chamada == 'A' || chamada == 'X') ? w.contas[size_t(n * 7) % w.contas.size()]
                                                                    : w.contas.back();
            const std::u16string codigo(alvo.codigo.begin(), alvo.codigo.end());
            const std::u16string classificacao(alvo.classificacao.begin(), alvo.classificacao.end());
            ULONG quantidade = 0;
            std::vector<REGCON_INDEX_ALT_PS> entradas;
            if (chamada == 'L' || chamada == 'A') {
                hr = obj->Le(alvo.posicao, &r);
                d = Diferenca(r, alvo);
            } else if (chamada == 'E' || chamada == 'X') {
                hr = obj->Existe(Texto(codigo.c_str()), 1, &posicao, &r);
                d = posicao == alvo.posicao ? Diferenca(r, alvo) : "found at " + std::to_string(posicao);
            } else if (chamada == 'T') {
                // The account itself when it is the title, else the title above it: the thread's first.
                hr = obj->ExisteContaTitulo(Texto(classificacao.c_str()), &posicao);
                if (posicao != w.contas.front().posicao)
                    d = "title at " + std::to_string(posicao);
            } else if (chamada == 'Q') {
                // Only grows, and is past every account the thread wrote.
                hr = obj->GetQuantidadeRegistros(&quantidade);
                if (quantidade < quantidadeAnterior || quantidade <= ULONG(alvo.posicao) ||
                    quantidade > kMaximoRegistros)
                    d = std::to_string(quantidade) + " after " + std::to_string(quantidadeAnterior);
                quantidadeAnterior = quantidade;
            } else {
                d = ConfereIndice(obj, w.contas, false, entradas);
            }
        }
        if (hr != S_OK || !d.empty())
            w.erro = "thread " + std::to_string(t) + ", call " + std::to_string(n) + " " + chamada + " of " +
                     (w.contas.empty() ? "" : w.contas.back().codigo) + ": answers " + std::to_string(hr) + " " + d;
    }
}

class Concorrencia : public ClienteTeste {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ClienteTeste::SetUp());
        ASSERT_NO_FATAL_FAILURE(Inicializa());
        ASSERT_NO_FATAL_FAILURE(SelecionaPlano("9.9.9999"));
    }

    // Thread t calls objetos[t % objetos.size()]; all start together. Then the checks, through
    // the test's own object.
    void Roda(const std::vector<ITQDF_PlanoAlt*>& objetos)
    {
        std::vector<Trabalho> trabalhos(kThreads);
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
        EXPECT_EQ(ConfereIndice(m_obj.get(), todas, true, entradas), "");
        // The index in classification order: each thread's title before its accounts.
        for (size_t i = 1; i < entradas.size(); ++i)
            EXPECT_LT(std::memcmp(entradas[i - 1].Classificacao, entradas[i].Classificacao, kTamanhoEmpacotado), 0)
                << "entry " << i;
        // Only the refusals of a busy chart, which were tried again.
        EXPECT_EQ(LinhasDeErro(), LinhasDeErro("CODE = 16110")) << LogDeErros();
    }
};

TEST_F(Concorrencia, QuatroThreadsNumObjeto) { Roda({m_obj.get()}); }

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
