// Whatever sequence of inserts, alterations and deletions goes through the store, its index
// holds the entries, in the order, that regeneration from the chart file would write.
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PlanoTeste.h"
#include "apoio/Apoio.h"
#include "df/tqclasses/Classificacao.h"

namespace {

using teste::ContaPlano;

constexpr int kOperacoes = 300;
constexpr int kVerificaACada = 60;

// Letters, digits, spaces and the accented letters that both the insertion (folded, case
// ignored) and the generator's name key (upper case, its own folding) treat alike.
const char kLetrasNome[] = "abcdeABCDE019 \xC1\xC2\xC3\xE1\xE2\xE3\xC7\xE7\xC9\xCA\xE9\xEA\xCD\xED\xD3\xD4\xD5\xF3\xF4\xF5\xDA\xFA";

class Propriedade : public teste::PlanoTeste, public ::testing::WithParamInterface<uint32_t> {
protected:
    uint32_t Sorteia(uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(m_gerador); }

    // Under the mask 9.9.99.999 with few digits per level, so classifications repeat.
    std::string Classificacao()
    {
        std::string c(1, char('1' + Sorteia(2)));
        const uint32_t niveis = Sorteia(4);
        static const char* const formatos[] = {".%u", ".%02u", ".%03u"};
        for (uint32_t n = 0; n < niveis; ++n) {
            char nivel[8];
            std::snprintf(nivel, sizeof nivel, formatos[n], 1 + Sorteia(3));
            c += nivel;
        }
        return c;
    }

    std::string Nome()
    {
        std::string n(1 + Sorteia(8), ' ');
        for (char& c : n)
            c = kLetrasNome[Sorteia(sizeof kLetrasNome - 1)];
        return n;
    }

    bool Vivo(uint32_t r) const { return !(m_contas[r - 1].status & kStatusExcluido); }

    // Titles keep a classification of their own (the insertion walk does not look at the new
    // account's type, so a title after an analytic account of its classification would stay there).
    bool Livre(const std::string& c, bool titulo, uint32_t ignora) const
    {
        for (uint32_t r = 1; r <= m_contas.size(); ++r)
            if (r != ignora && Vivo(r) && m_contas[r - 1].classificacao == c &&
                (titulo || m_contas[r - 1].status & kStatusTitulo))
                return false;
        return true;
    }

    // A classification that an account of this kind may take; empty after a few misses.
    std::string ClassificacaoPara(bool titulo, uint32_t ignora)
    {
        for (int k = 0; k < 20; ++k)
            if (std::string c = Classificacao(); Livre(c, titulo, ignora))
                return c;
        return {};
    }

    ContaPlano Nova(bool titulo, uint32_t ignora)
    {
        const uint32_t tipo = Sorteia(10);
        const uint8_t status = titulo ? kStatusTitulo : tipo == 0 ? kStatusS : tipo == 1 ? kStatusG : 0;
        return {ClassificacaoPara(titulo, ignora), status, "K" + std::to_string(++m_codigos), Nome()};
    }

    void Grava(const ContaPlano& c, uint32_t pos)
    {
        if (c.classificacao.empty())
            return;
        ASSERT_EQ(PlanoTeste::Grava(c, pos), 0) << c.classificacao << " at " << pos;
        ++m_feitas;
    }

    uint32_t Qualquer(bool vivo)
    {
        std::vector<uint32_t> r;
        for (uint32_t p = 1; p <= m_contas.size(); ++p)
            if (Vivo(p) == vivo)
                r.push_back(p);
        return r.empty() ? 0 : r[Sorteia(uint32_t(r.size()))];
    }

    void Operacao()
    {
        const uint32_t o = Sorteia(100);
        if (o < 35) {
            Grava(Nova(Sorteia(5) == 0, 0), 0);
            return;
        }
        if (o < 45) { // a deleted record comes back with new data
            if (uint32_t r = Qualquer(false))
                Grava(Nova(Sorteia(5) == 0, r), r);
            return;
        }
        const uint32_t r = Qualquer(true);
        if (r == 0)
            return;
        ContaPlano c = m_contas[r - 1];
        const bool titulo = c.status & kStatusTitulo;
        if (o < 65) {
            c.classificacao = ClassificacaoPara(titulo, r);
        } else if (o < 80) {
            c.nome = Nome();
        } else if (o < 88) {
            // Between 'A' and 'T' only: the type-only rewrite keeps an 'S' or 'G' bit that an
            // alteration to 'A' would need to clear.
            if (c.status & (kStatusS | kStatusG))
                return;
            if (titulo)
                c.status = 0;
            else if (Livre(c.classificacao, true, r))
                c.status = kStatusTitulo;
        } else {
            ASSERT_EQ(Exclui(r), 0) << r;
            ++m_feitas;
            return;
        }
        Grava(c, r);
    }

    // The chart file as written; the kept index as a regeneration would write it.
    void Verifica()
    {
        EXPECT_EQ(apoio::LeTudo(CaminhoPlano()), teste::ConteudoPlano(m_contas));
        ASSERT_EQ(apoio::LeTudo(CaminhoIndice()).size() % sizeof(REGCON_INDEX), 0u);
        teste::VerificaIndice(teste::LeIndice(CaminhoIndice()), m_contas);
    }

    std::mt19937 m_gerador;
    uint32_t m_codigos = 0;
    int m_feitas = 0; // operations that reached the store
};

TEST_P(Propriedade, IndiceMantidoIgualAoGerado)
{
    m_gerador.seed(GetParam());
    for (int i = 0; i < 30; ++i) {
        ContaPlano c = Nova(Sorteia(4) == 0, 0);
        if (c.classificacao.empty())
            continue;
        if (Sorteia(8) == 0)
            c.status |= kStatusExcluido;
        m_contas.push_back(c);
    }
    GravaPlano(m_contas);
    Plano(); // generates the index: there is none yet
    ASSERT_TRUE(apoio::Existe(CaminhoIndice()));
    for (int i = 1; i <= kOperacoes; ++i) {
        SCOPED_TRACE(i);
        Operacao();
        if (HasFatalFailure())
            return;
        if (i % kVerificaACada == 0) {
            Verifica();
            if (HasFatalFailure())
                return;
        }
    }
    EXPECT_GT(m_feitas, kOperacoes * 3 / 4);
    ASSERT_EQ(Plano().GeraClassificacao(), 0);
    teste::VerificaIndice(teste::LeIndice(CaminhoIndice()), m_contas);
}

INSTANTIATE_TEST_SUITE_P(Sementes, Propriedade, ::testing::Values(1u, 7u, 2024u, 31337u, 90210u));

} // namespace
