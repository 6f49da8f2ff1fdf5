// The analytics channel end to end: trees posted by objects, merged, numbered and handed to the
// suite's library, which appends them to "TQAnalytics.log" in the LocalKarvo directory.
#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "apoio/SuiteInstalada.h"
#include "apoio/Apoio.h"
#include "df/tqlibex/GanchosTeste.h"
#include "df/tqlibex/TQAnalytics.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQDma.h"
#include "df/tqlibex/TQPath.h"
#include "df/tqlibex/TQProfiler.h"
#include "platform/Processo.h"

using plataforma::RaizRegistro;

namespace {

// One call of funcao, ms long, on an object of a company's user and application.
void Chamada(ArvoreEstatisticas& arvore, const char* empresa, uint16_t usuario, const char* aplicativo,
             const char* funcao, uint64_t ms)
{
    struct Identidade : CTQProfilerEmpresa {
        Identidade(const char* empresa, uint16_t usuario, const char* aplicativo)
            : CTQProfilerEmpresa(empresa, usuario, 1)
        {
            std::strncpy(m_regInicializacao.szAplicativo, aplicativo, sizeof m_regInicializacao.szAplicativo - 1);
        }
    } identidade(empresa, usuario, aplicativo);
    const uint64_t inicio = 1000000;
    TQAdicionaEstatistica(arvore, &identidade, funcao, inicio, inicio + ms * 10000);
}

using Linhas = std::vector<std::string>;

// A line as the library writes it, its columns given here with a blank between: today; company,
// application, class, method, user, calls, total, longest, shortest; the server; the numbers of
// company, application, class and method.
std::string Linha(const std::string& contagem, const std::string& servidor, const std::string& numeros)
{
    std::string linha = std::to_string(TQDmaHoje()) + " " + contagem + " " + servidor + " " + numeros;
    std::replace(linha.begin(), linha.end(), ' ', '\t');
    return linha;
}

class AnalyticsTeste : public teste::SuiteInstalada {
protected:
    void SetUp() override
    {
        teste::SuiteInstalada::SetUp();
        // Whatever earlier tests left posted goes nowhere: the switch is off until LocalKarvo is set.
        TQAnalyticsReleChaveParaTestes();
        TQAnalyticsEnviaAgora();
    }
    Linhas Enviadas()
    {
        TQAnalyticsEnviaAgora();
        Linhas linhas;
        std::istringstream texto(apoio::LeTudo(m_dir + "TQAnalytics.log"));
        for (std::string linha; std::getline(texto, linha);)
            linhas.push_back(linha);
        return linhas;
    }

    const std::string m_servidor = CTQPath::GetNomeSemExtensao(plataforma::CaminhoExecutavel());
};

} // namespace

TEST_F(AnalyticsTeste, ArvoresFundidasNumeradasEEnviadasUmaVez)
{
    // Without LocalKarvo nothing is posted, nor kept for a later send.
    ArvoreEstatisticas perdida;
    Chamada(perdida, "0009", 1, "Contabil", "CTQDF_PlanoAlt::Le", 1);
    EXPECT_FALSE(TQAnalyticsLigado());
    TQPostaEstatisticas(perdida);
    GravaTexto(RaizRegistro::LocalMachine, kChaveSuite, kValorLocalKarvo, m_dir);
    TQAnalyticsReleChaveParaTestes();
    ArvoreEstatisticas primeiro, segundo;
    Chamada(primeiro, "0001", 7, "Contabil", "CTQDF_PlanoAlt::Le", 3);
    Chamada(primeiro, "0002", 3, "Ativo", "CTQDF_PlanoAlt::Le", 4);
    Chamada(segundo, "0001", 7, "Contabil", "CTQDF_PlanoAlt::Le", 7);
    Chamada(segundo, "0001", 7, "Contabil", "CTQDF_PlanoAlt::Grava", 5);
    Chamada(segundo, "0002", 2, "Fiscal", "CTQDF_Plano<X>::Busca", 2);
    segundo["0001"][TQDmaHoje() - 1]["Contabil"]["CTQDF_PlanoAlt"]["Le"][7] = ContadoresChamada{4, 40, 20, 5};
    TQPostaEstatisticas(primeiro);
    TQPostaEstatisticas(segundo);

    // Companies, days and names in key order, all under the day of the send; names numbered by
    // first appearance, the numbering running on across companies.
    const Linhas esperadas = {Linha("0001 Contabil CTQDF_PlanoAlt Le 7 4 40 20 5", m_servidor, "0 0 0 0"),
                              Linha("0001 Contabil CTQDF_PlanoAlt Grava 7 1 5 5 5", m_servidor, "0 0 0 1"),
                              Linha("0001 Contabil CTQDF_PlanoAlt Le 7 2 10 7 3", m_servidor, "0 0 0 0"),
                              Linha("0002 Ativo CTQDF_PlanoAlt Le 3 1 4 4 4", m_servidor, "1 1 0 0"),
                              Linha("0002 Fiscal CTQDF_Plano Busca 2 1 2 2 2", m_servidor, "1 2 1 2")};
    EXPECT_EQ(Enviadas(), esperadas);
    // Sent once: the store starts over.
    EXPECT_EQ(Enviadas(), esperadas);
}
