// Four threads of one client call one object at once: its calls take turns. Every account a
// write acknowledged is afterwards listed once by the index at its own position, and no call
// meanwhile answers a wrong result.
#include <cstring>
#include <future>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "Cliente.h"
#include "df/tqclasses/ClassificacaoCodigos.h"

namespace cliente {
namespace {

constexpr int kThreads = 4;
constexpr int kChamadas = 1000; // per thread
// One cycle of calls: a write (G), then reads of an account by position (L). Writes scan the
// chart, slow under Wine: one in twenty.
constexpr char kCiclo[] = "GLLLLLLLLLLLLLLLLLLL";
constexpr int kEscritasPorThread = kChamadas / (sizeof kCiclo - 1);

// An account as its writer sent it (its code is its name too), and the position it got.
struct Escrita {
    std::string classificacao, codigo;
    LONG posicao = 0;
};

// Write i of thread t (1 to 4): first the thread's title "1.t", then accounts "1.t.iiii" below it.
Escrita ContaDe(int t, int i)
{
    const std::string n = std::to_string(10000 + i).substr(1);
    if (i == 0)
        return {"1." + std::to_string(t), "T" + std::to_string(t)};
    return {"1." + std::to_string(t) + "." + n, "C" + std::to_string(t) + "-" + n};
}

// What is wrong with an account as read, or empty.
std::string Diferenca(const REG_PLANO_ALT_PS& r, const Escrita& c)
{
    if (r.cClassificacao == c.classificacao && r.cCodigoProprio == c.codigo && r.cNome == c.codigo &&
        r.lPosicaoConta == c.posicao && r.cExcluida == 0)
        return {};
    return c.codigo + " at " + std::to_string(c.posicao) + " reads as " + r.cClassificacao + " / " + r.cCodigoProprio +
           " at " + std::to_string(r.lPosicaoConta);
}

// One thread's calls on the object: the accounts it wrote, and its first wrong answer (it stops).
struct Trabalho {
    std::vector<Escrita> contas;
    std::string erro;
};

void Trabalha(ITQDF_PlanoAlt* obj, int t, Trabalho& w)
{
    for (int n = 0; n < kChamadas && w.erro.empty(); ++n) {
        const char chamada = kCiclo[n % (sizeof kCiclo - 1)];
        HRESULT hr = S_OK;
        std::string d;
        REG_PLANO_ALT_PS r{};
        if (chamada == 'G') {
            Escrita c = ContaDe(t, int(w.contas.size()));
            std::strcpy(r.cClassificacao, c.classificacao.c_str());
            std::strcpy(r.cCodigoProprio, c.codigo.c_str());
            std::strcpy(r.cNome, c.codigo.c_str());
            r.cTipo = w.contas.empty() ? 'T' : 'A';
            hr = obj->Grava(0, r, &c.posicao);
            if (hr == S_OK)
                w.contas.push_back(c);
        } else if (!w.contas.empty()) {
            const Escrita& alvo = w.contas[size_t(n * 7) % w.contas.size()];
            hr = obj->Le(alvo.posicao, &r);
            d = Diferenca(r, alvo);
        }
        if (hr != S_OK || !d.empty())
            w.erro = "thread " + std::to_string(t) + ", call " + std::to_string(n) + " " + chamada + ": answers " +
                     std::to_string(hr) + " " + d;
    }
}

class Concorrencia : public ClienteTeste {};

TEST_F(Concorrencia, QuatroThreadsNumObjeto)
{
    ASSERT_NO_FATAL_FAILURE(Inicializa());
    ASSERT_NO_FATAL_FAILURE(SelecionaPlano("9.9.9999"));
    std::vector<Trabalho> trabalhos(kThreads);
    std::promise<void> largada;
    const std::shared_future<void> vai = largada.get_future().share();
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            vai.wait();
            Trabalha(m_obj.get(), t + 1, trabalhos[size_t(t)]);
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

    // Nothing else written.
    ULONG quantidade = 0;
    ASSERT_EQ(m_obj->GetQuantidadeRegistros(&quantidade), S_OK);
    EXPECT_EQ(quantidade, ULONG(todas.size() + 1));
    // The index lists each account once, at its position, with its classification.
    ARRAY_REGCON_INDEX_ALT_PS* bloco = nullptr;
    ASSERT_EQ(m_obj->GetPlanoIndex(Texto(u"X"), 0, &bloco), S_OK);
    std::map<LONG, std::string> indice;
    for (const auto& e : TomaBloco(bloco, &ARRAY_REGCON_INDEX_ALT_PS::pArrayRegConIndex))
        indice[LONG(IDX_INDCON(e.Tipo_IndCon))].assign(reinterpret_cast<const char*>(e.Classificacao),
                                                       kTamanhoEmpacotado);
    EXPECT_EQ(indice.size(), todas.size());
    for (const Escrita& c : todas) {
        uint8_t empacotada[kTamanhoEmpacotado];
        EmpacotaClassificacao(c.classificacao, empacotada);
        EXPECT_EQ(indice[c.posicao], std::string(reinterpret_cast<char*>(empacotada), kTamanhoEmpacotado)) << c.codigo;
    }
}

} // namespace
} // namespace cliente
