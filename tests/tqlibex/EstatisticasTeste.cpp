// Call statistics of an object: the tree path, the counters and the merging of trees.
#include <algorithm>
#include <cstring>

#include <gtest/gtest.h>

#include "df/tqlibex/TQEstatisticas.h"
#include "df/tqlibex/TQProfiler.h"

namespace {

constexpr uint64_t kMs = 10000; // 100-ns ticks in a millisecond

class Identidade : public ITQDF_Profiler {
public:
    Identidade(std::string empresa, uint16_t usuario, const char* aplicativo) : m_empresa(std::move(empresa)), m_usuario(usuario)
    {
        std::memcpy(m_regInicializacao.szAplicativo, aplicativo,
                    std::min(std::strlen(aplicativo), sizeof m_regInicializacao.szAplicativo));
    }
    std::string GetEmpresa() override { return m_empresa; }
    uint16_t GetUsuario() override { return m_usuario; }
    uint32_t GetNumeroSessao() override { return 9; }

private:
    std::string m_empresa;
    uint16_t m_usuario;
};

constexpr const char* kLe = "T_TQUnknown<ITQDF_PlanoAlt,CBasePlanoAlternativo>::Le";

// The one leaf of a tree that holds a single path.
const ContadoresChamada& Folha(const ArvoreEstatisticas& arvore, const std::string& empresa, const std::string& aplicativo,
                               const std::string& classe, const std::string& metodo, uint16_t usuario)
{
    return arvore.at(empresa).at(TQDmaHoje()).at(aplicativo).at(classe).at(metodo).at(usuario);
}

} // namespace

// Companies, users and applications apart reach the analytics log (AnalyticsTeste), merged trees too.
TEST(TQEstatisticas, ContadoresPorEmpresaAplicativoEUsuario)
{
    Identidade id("0001", 7, "CONTABIL");
    // An application that fills its field has no terminator.
    Identidade longo("0003", 1, std::string(48, 'X').c_str());
    ArvoreEstatisticas arvore;
    TQAdicionaEstatistica(arvore, &id, kLe, 1000 * kMs, 1003 * kMs);
    // Parts of a millisecond are dropped.
    TQAdicionaEstatistica(arvore, &id, kLe, 50 * kMs, 57 * kMs + kMs - 1);
    TQAdicionaEstatistica(arvore, nullptr, kLe, 0, 1 * kMs);
    TQAdicionaEstatistica(arvore, &longo, kLe, 0, 0);
    EXPECT_EQ(Folha(arvore, "0001", "CONTABIL", "T_TQUnknown", "Le", 7), (ContadoresChamada{2, 10, 7, 3}));
    EXPECT_EQ(arvore.size(), 3u);
    EXPECT_EQ(Folha(arvore, "", "", "T_TQUnknown", "Le", 0).chamadas, 1u);
    EXPECT_EQ(Folha(arvore, "0003", std::string(48, 'X'), "T_TQUnknown", "Le", 1).chamadas, 1u);
}

TEST(TQEstatisticas, SeparacaoDoNome)
{
    Identidade id("0001", 1, "APP");
    ArvoreEstatisticas arvore;
    TQAdicionaEstatistica(arvore, &id, kLe, 0, 0);
    TQAdicionaEstatistica(arvore, &id, "CTQDF_PlanoAlt::BuscaPlanos", 0, 0);
    TQAdicionaEstatistica(arvore, &id,
                          "T_TQUnknown<struct ITQDF_PlanoAlt,class CBasePlanoAlternativo>::Inicializa_Padrao::<lambda_e191>"
                          "::operator ()",
                          0, 0);
    TQAdicionaEstatistica(arvore, &id, "SemClasse", 0, 0);
    TQAdicionaEstatistica(arvore, &id, "A:B", 0, 0);
    const PorClasse& classes = arvore.at("0001").at(TQDmaHoje()).at("APP");
    ASSERT_EQ(classes.size(), 4u);
    EXPECT_EQ(classes.at("T_TQUnknown").size(), 2u);
    EXPECT_EQ(classes.at("T_TQUnknown").count("Le"), 1u);
    EXPECT_EQ(classes.at("T_TQUnknown").count("Inicializa_Padrao"), 1u);
    EXPECT_EQ(classes.at("CTQDF_PlanoAlt").count("BuscaPlanos"), 1u);
    // Without a "::" there is no method.
    EXPECT_EQ(classes.at("SemClasse").count(""), 1u);
    EXPECT_EQ(classes.at("A").count(""), 1u);
}
