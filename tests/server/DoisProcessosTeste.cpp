// Two processes change the same plan catalogue and the same chains of links at once: the mark
// that both changes take serializes them, so nothing is lost or written twice, under either
// mark scheme the suite may have installed.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "Cliente.h"
#include "apoio/Apoio.h"
#include "apoio/FilhoTeste.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Arquivo.h"
#include "platform/Tempo.h"

namespace cliente {
namespace {

constexpr int kFilhos = 2;
constexpr int kVezes = 100;          // changes of each kind per child
constexpr LONG kContas[2] = {2, 3}; // the two analytic accounts whose chains both children extend
constexpr DWORD kEsperaFilhos = 120000;
// The older scheme gives up after 90 sightings of the mark held (status 16250), which a steady
// stream of changes from the other process can cause; the client tries again. A call refused so
// leaves nothing behind, which the counts in the parent confirm.
constexpr HRESULT kMarcaOcupada = TQHResult(0x80040000 | 16250);

// The main-chart position that child `filho` links at its step i: each pair (child, step) its own.
LONG PosicaoPrincipal(int filho, int i) { return LONG((filho - 1) * kVezes + i + 1); }

template <class Chamada>
HRESULT Repete(Chamada chamada)
{
    HRESULT hr = chamada();
    for (int n = 1; hr == kMarcaOcupada && n < 100; ++n)
        hr = chamada();
    return hr;
}

} // namespace

// Run only as a child (the barrier directory and its number): step i adds a plan and links
// account kContas[i % 2]; every step 3 mod 4 removes the link of step i - 2 (same account) again,
// so removals meet the other child's appends on one chain.
TEST(DoisProcessosFilhoLado, AlteraCatalogoEVinculos)
{
    if (!teste::SouFilho())
        GTEST_SKIP() << "only as a child";
    const std::vector<std::string> args = teste::ArgumentosDoFilho();
    ASSERT_EQ(args.size(), 2u);
    const int filho = std::atoi(args[1].c_str());
    {
        Ptr<ITQDF_PlanoAlt> obj;
        ASSERT_EQ(Cria(&obj), S_OK);
        ASSERT_EQ(obj->Inicializa_Padrao(Sessao("0001", uint32_t(filho))), S_OK);
        ASSERT_EQ(obj->SetPlano(1), S_OK);
        apoio::GravaTudo(args[0] + "pronto" + args[1], "");
        ASSERT_TRUE(apoio::EsperaArquivo(args[0] + "vai", kEsperaFilhos)) << "the parent never gave the start";
        const auto liga = [&](int i, LONG excluir) {
            const REG_VINCULO_ALT v{excluir, kContas[i % 2], PosicaoPrincipal(filho, i), uint16_t(filho), {}};
            return Repete([&] { return obj->Vinculo(v); });
        };
        for (int i = 0; i < kVezes; ++i) {
            REG_DADOS_PLANO_ALT_PS d{};
            std::snprintf(d.cNomePlano, sizeof d.cNomePlano, "Filho %d plano %d", filho, i);
            LONG plano = 0;
            ASSERT_EQ(Repete([&] { return obj->GravaPlano(0, d, &plano); }), S_OK) << "step " << i;
            ASSERT_EQ(liga(i, 0), S_OK) << "step " << i;
            if (i % 4 == 3) {
                ASSERT_EQ(liga(i - 2, 1), S_OK) << "step " << i;
            }
            // A pause lets the other process in: the mark's holder would otherwise take it again
            // before a waiter's next poll, and the two would seldom interleave.
            plataforma::Dorme(1);
        }
    }
    // The exit code is the answer; leaving now keeps the child's summary out of the parent's log.
    std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
}

namespace {

// The parameter: whether the suite's marker of the current mark scheme is installed.
class DoisProcessos : public ClienteTeste, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ClienteTeste::SetUp());
        // The company's data in a directory of its own, so that the scheme's marker beside it
        // belongs to this test alone.
        m_dados = m_dir + "EMPRESA" + plataforma::kSeparador;
        ASSERT_EQ(plataforma::CriaDiretorio(m_dados.c_str()), 0u);
        GravaTexto(plataforma::RaizRegistro::LocalMachine, CTQPath::CombinaChave(kChaveSuiteBarra, "Empresas\\0001"),
                   "DF", m_dados);
        if (GetParam()) {
            ASSERT_EQ(plataforma::CriaDiretorio((m_dir + "DF").c_str()), 0u);
            apoio::GravaTudo(m_dir + "DF" + plataforma::kSeparador + "marcanovo.dat", "");
        }
        ASSERT_NO_FATAL_FAILURE(Inicializa());
        ASSERT_NO_FATAL_FAILURE(SelecionaPlano("9.9.99"));
        ASSERT_EQ(GravaConta(m_obj.get(), "1", 'T', "T1"), 1);
        ASSERT_EQ(GravaConta(m_obj.get(), "1.1", 'A', "A1"), kContas[0]);
        ASSERT_EQ(GravaConta(m_obj.get(), "1.2", 'A', "A2"), kContas[1]);
        // Every main-chart position the children link can be read: analytic accounts.
        apoio::GravaTudo(m_dados + "DFPLAEMP.DAT", std::string(96 * (kFilhos * kVezes + 1), '\0'));
    }

    void TearDown() override
    {
        for (auto& f : m_filhos)
            if (!f.Espera(0))
                f.Termina();
        ClienteTeste::TearDown();
    }

    std::string m_dados;
    plataforma::ProcessoFilho m_filhos[kFilhos];
};

TEST_P(DoisProcessos, MarcaSerializaCatalogoEVinculosSemPerderNada)
{
    for (int f = 1; f <= kFilhos; ++f)
        ASSERT_EQ(teste::RodaFilho("DoisProcessosFilhoLado.AlteraCatalogoEVinculos", {m_dir, std::to_string(f)},
                                   m_filhos[f - 1]),
                  0u);
    // Both are ready before either starts, so that their changes overlap.
    for (int f = 1; f <= kFilhos; ++f)
        ASSERT_TRUE(apoio::EsperaArquivo(m_dir + "pronto" + std::to_string(f), kEsperaFilhos)) << "child " << f;
    apoio::GravaTudo(m_dir + "vai", "");
    for (int f = 1; f <= kFilhos; ++f) {
        DWORD codigo = 99;
        ASSERT_TRUE(m_filhos[f - 1].Espera(kEsperaFilhos, &codigo)) << "child " << f;
        EXPECT_EQ(codigo, 0u) << "child " << f;
    }

    // The catalogue: every name once.
    std::set<std::string> nomes;
    for (const auto& p : Planos())
        EXPECT_TRUE(nomes.insert(p.cNomePlano).second) << p.cNomePlano;
    ASSERT_EQ(nomes.size(), size_t(1 + kFilhos * kVezes));

    // The links: each chain holds exactly the live links of both children, nothing written twice.
    for (int k = 0; k < 2; ++k) {
        std::vector<LONG> esperadas, achadas;
        for (int f = 1; f <= kFilhos; ++f)
            for (int i = k; i < kVezes; i += 2)
                if (i % 4 != 1)
                    esperadas.push_back(PosicaoPrincipal(f, i));
        ARRAY_REGCON_INDEX_ALT_PS* bloco = nullptr;
        ASSERT_EQ(m_obj->BuscaVinculo(kContas[k], &bloco), S_OK);
        for (const auto& v : TomaBloco(bloco, &ARRAY_REGCON_INDEX_ALT_PS::pArrayRegConIndex))
            achadas.push_back(LONG(v.Tipo_IndCon & 0x00FFFFFF));
        std::sort(achadas.begin(), achadas.end());
        std::sort(esperadas.begin(), esperadas.end());
        EXPECT_EQ(achadas, esperadas) << "account " << kContas[k];
    }
    EXPECT_EQ(apoio::LeTudo(m_dados + "DFVIN001.DAT").size(), 32u * (1 + kFilhos * kVezes)) << "a record per link";
}

INSTANTIATE_TEST_SUITE_P(Esquemas, DoisProcessos, ::testing::Bool());

} // namespace
} // namespace cliente
