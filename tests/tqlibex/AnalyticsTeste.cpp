// The analytics channel end to end: trees posted by objects, merged, numbered and handed to the
// suite's library, which appends them to "TQAnalytics.log" in the LocalKarvo directory.
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "apoio/SuiteInstalada.h"
#include "apoio/Apoio.h"
#include "df/tqlibex/GanchosTeste.h"
#include "df/tqlibex/TQAnalytics.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQDma.h"
#include "df/tqlibex/TQLConxExports.h"
#include "df/tqlibex/TQPath.h"
#include "df/tqlibex/TQProfiler.h"
#include "platform/Arquivo.h"
#include "platform/Processo.h"

using plataforma::RaizRegistro;

namespace {

// An object's identity with the application of its session record.
class Identidade : public CTQProfilerEmpresa {
public:
    Identidade(const std::string& empresa, uint16_t usuario, const char* aplicativo)
        : CTQProfilerEmpresa(empresa, usuario, 1)
    {
        std::strncpy(m_regInicializacao.szAplicativo, aplicativo, sizeof m_regInicializacao.szAplicativo - 1);
    }
};

void Chamada(ArvoreEstatisticas& arvore, Identidade& identidade, const char* funcao, uint64_t ms)
{
    const uint64_t inicio = 1000000;
    TQAdicionaEstatistica(arvore, &identidade, funcao, inicio, inicio + ms * 10000);
}

std::vector<std::string> Linhas(const std::string& texto)
{
    std::vector<std::string> linhas;
    std::stringstream fluxo(texto);
    for (std::string linha; std::getline(fluxo, linha);)
        linhas.push_back(linha);
    return linhas;
}

// A line as the library writes it: day, company, application, class, method, user, calls, total,
// longest, shortest, server, then the numbers of company, application, class and method.
std::string Linha(const std::string& empresa, const std::string& aplicativo, const std::string& classe,
                  const std::string& metodo, int usuario, int chamadas, int total, int maior, int menor,
                  const std::string& servidor, const std::string& numeros)
{
    return std::to_string(TQDmaHoje()) + "\t" + empresa + "\t" + aplicativo + "\t" + classe + "\t" + metodo + "\t" +
           std::to_string(usuario) + "\t" + std::to_string(chamadas) + "\t" + std::to_string(total) + "\t" +
           std::to_string(maior) + "\t" + std::to_string(menor) + "\t" + servidor + "\t" + numeros;
}

class AnalyticsTeste : public teste::SuiteInstalada {
protected:
    void SetUp() override
    {
        teste::SuiteInstalada::SetUp();
        // Whatever earlier tests left posted goes nowhere: the switch is off until Liga.
        TQAnalyticsReleChaveParaTestes();
        TQAnalyticsEnviaAgora();
        m_log = m_dir + "TQAnalytics.log";
    }
    void Liga()
    {
        GravaTexto(RaizRegistro::LocalMachine, kChaveSuite, kValorLocalKarvo, m_dir);
        TQAnalyticsReleChaveParaTestes();
    }
    std::vector<std::string> Enviadas()
    {
        TQAnalyticsEnviaAgora();
        return Linhas(apoio::LeTudo(m_log));
    }

    std::string m_log;
    const std::string m_servidor = CTQPath::GetNomeSemExtensao(plataforma::CaminhoExecutavel());
};

} // namespace

TEST_F(AnalyticsTeste, ArvoresDeVariosObjetosSaoSomadas)
{
    Liga();
    ASSERT_TRUE(TQAnalyticsLigado());
    Identidade usuario7("0001", 7, "Contabil");
    ArvoreEstatisticas primeiro, segundo;
    Chamada(primeiro, usuario7, "CTQDF_PlanoAlt::Le", 3);
    Chamada(segundo, usuario7, "CTQDF_PlanoAlt::Le", 7);
    Chamada(segundo, usuario7, "CTQDF_PlanoAlt::Grava", 5);
    TQPostaEstatisticas(primeiro);
    TQPostaEstatisticas(segundo);

    const std::vector<std::string> linhas = Enviadas();
    // Methods in key order within their class; numbers by first appearance.
    EXPECT_EQ(linhas, (std::vector<std::string>{
                          Linha("0001", "Contabil", "CTQDF_PlanoAlt", "Grava", 7, 1, 5, 5, 5, m_servidor, "0\t0\t0\t0"),
                          Linha("0001", "Contabil", "CTQDF_PlanoAlt", "Le", 7, 2, 10, 7, 3, m_servidor, "0\t0\t0\t1"),
                      }));
    // Sent once: the store starts over.
    EXPECT_EQ(Enviadas().size(), 2u);
}

TEST_F(AnalyticsTeste, NumeracaoContinuaEntreEmpresas)
{
    Liga();
    Identidade a("0001", 1, "Contabil"), b("0002", 2, "Fiscal"), c("0002", 3, "Contabil");
    ArvoreEstatisticas arvore;
    Chamada(arvore, a, "CTQDF_PlanoAlt::Le", 1);
    Chamada(arvore, b, "CTQDF_Plano<X>::Busca", 2);
    Chamada(arvore, c, "CTQDF_PlanoAlt::Le", 4);
    TQPostaEstatisticas(arvore);

    EXPECT_EQ(Enviadas(), (std::vector<std::string>{
                              Linha("0001", "Contabil", "CTQDF_PlanoAlt", "Le", 1, 1, 1, 1, 1, m_servidor, "0\t0\t0\t0"),
                              // The second company's record knows the first one's names and numbers.
                              Linha("0002", "Contabil", "CTQDF_PlanoAlt", "Le", 3, 1, 4, 4, 4, m_servidor, "1\t0\t0\t0"),
                              Linha("0002", "Fiscal", "CTQDF_Plano", "Busca", 2, 1, 2, 2, 2, m_servidor, "1\t1\t1\t1"),
                          }));
}

TEST_F(AnalyticsTeste, FolhasDeOutrosDiasVaoComADataDoEnvio)
{
    Liga();
    ArvoreEstatisticas arvore;
    ContadoresChamada ontem{4, 40, 20, 5};
    ContadoresChamada hoje{1, 9, 9, 9};
    arvore["0001"][TQDmaHoje() - 1]["Contabil"]["CTQDF_PlanoAlt"]["Le"][8] = ontem;
    arvore["0001"][TQDmaHoje()]["Contabil"]["CTQDF_PlanoAlt"]["Le"][8] = hoje;
    TQPostaEstatisticas(arvore);

    EXPECT_EQ(Enviadas(), (std::vector<std::string>{
                              Linha("0001", "Contabil", "CTQDF_PlanoAlt", "Le", 8, 4, 40, 20, 5, m_servidor, "0\t0\t0\t0"),
                              Linha("0001", "Contabil", "CTQDF_PlanoAlt", "Le", 8, 1, 9, 9, 9, m_servidor, "0\t0\t0\t0"),
                          }));
}

TEST_F(AnalyticsTeste, DesligadoNadaEnvia)
{
    Identidade usuario("0001", 1, "Contabil");
    ArvoreEstatisticas arvore;
    Chamada(arvore, usuario, "CTQDF_PlanoAlt::Le", 3);

    // Without LocalKarvo nothing is posted.
    EXPECT_FALSE(TQAnalyticsLigado());
    TQPostaEstatisticas(arvore);
    Liga();
    EXPECT_TRUE(Enviadas().empty());

    // Posted while on, switched off before the send: dropped with the store.
    TQPostaEstatisticas(arvore);
    GravaDword(RaizRegistro::LocalMachine, kChaveSuite, kValorDesativarAnalytics, 1);
    TQAnalyticsReleChaveParaTestes();
    EXPECT_FALSE(TQAnalyticsLigado());
    EXPECT_TRUE(Enviadas().empty());
    GravaDword(RaizRegistro::LocalMachine, kChaveSuite, kValorDesativarAnalytics, 0);
    TQAnalyticsReleChaveParaTestes();
    EXPECT_TRUE(Enviadas().empty());
    EXPECT_FALSE(apoio::Existe(m_log));
}

TEST_F(AnalyticsTeste, ChaveLidaNoMaximoUmaVezPorMinuto)
{
    Liga();
    EXPECT_TRUE(TQAnalyticsLigado());
    GravaDword(RaizRegistro::LocalMachine, kChaveSuite, kValorDesativarAnalytics, 1);
    EXPECT_TRUE(TQAnalyticsLigado()) << "read again before a minute passed";
    TQAnalyticsReleChaveParaTestes();
    EXPECT_FALSE(TQAnalyticsLigado());
}

TEST_F(AnalyticsTeste, SemBibliotecaNadaEnviaEPerdeAsContagens)
{
    Liga();
    GravaTexto(RaizRegistro::LocalMachine, teste::kChaveModuloDF, kValorPath, m_dir);
    Identidade usuario("0001", 1, "Contabil");
    ArvoreEstatisticas arvore;
    Chamada(arvore, usuario, "CTQDF_PlanoAlt::Le", 3);
    TQPostaEstatisticas(arvore);
    EXPECT_TRUE(Enviadas().empty());
    GravaTexto(RaizRegistro::LocalMachine, teste::kChaveModuloDF, kValorPath, teste::DiretorioSuite());
    EXPECT_TRUE(Enviadas().empty());
}

TEST_F(AnalyticsTeste, MilesimaPostagemAcordaORemetente)
{
    Liga();
    Identidade usuario("0001", 1, "Contabil");
    ArvoreEstatisticas arvore;
    Chamada(arvore, usuario, "CTQDF_PlanoAlt::Le", 2);
    for (int i = 0; i < 1000; ++i)
        TQPostaEstatisticas(arvore);
    ASSERT_TRUE(apoio::EsperaArquivo(m_log)) << "the sender thread did not send";
    // The send appends once; wait for the whole line.
    std::vector<std::string> linhas;
    for (int i = 0; i < 200 && linhas.empty(); ++i, plataforma::Dorme(10))
        linhas = Linhas(apoio::LeTudo(m_log));
    EXPECT_EQ(linhas, (std::vector<std::string>{
                          Linha("0001", "Contabil", "CTQDF_PlanoAlt", "Le", 1, 1000, 2000, 2, 2, m_servidor, "0\t0\t0\t0"),
                      }));
}

namespace {

class AnalyticsProcessoTeste : public AnalyticsTeste {
protected:
    DWORD Executa(const std::string& executavel, const std::vector<std::string>& argumentos)
    {
        plataforma::ProcessoFilho filho;
        EXPECT_EQ(filho.Inicia(executavel, argumentos), 0u);
        DWORD codigo = 999;
        if (!filho.Espera(60000, &codigo))
            filho.Termina();
        return codigo;
    }
};

} // namespace

TEST_F(AnalyticsProcessoTeste, FimDoModuloEnviaOQueFicou)
{
    Liga();
    ASSERT_EQ(Executa(apoio::CaminhoAuxiliar(), {"analytics", "0003", "9", "3", "7"}), 0u);
    EXPECT_EQ(Linhas(apoio::LeTudo(m_log)),
              (std::vector<std::string>{
                  Linha("0003", "", "CTQDF_PlanoAlt", "Le", 9, 2, 10, 7, 3, "tqauxiliar", "0\t0\t0\t0"),
              }));
}

TEST_F(AnalyticsProcessoTeste, OServicoDeAnalyticsNaoEnviaASiMesmo)
{
    Liga();
    const std::string auxiliar = apoio::CaminhoAuxiliar();
    const std::string copia = m_dir + "TQSAnalytics" +
                              (CTQPath::GetExtensao(auxiliar).empty() ? "" : "." + CTQPath::GetExtensao(auxiliar));
    apoio::GravaTudo(copia, apoio::LeTudo(auxiliar));
#ifndef _WIN32
    ASSERT_EQ(chmod(copia.c_str(), 0755), 0);
#endif
    ASSERT_EQ(Executa(copia, {"analytics", "0003", "9", "3"}), 0u);
    EXPECT_FALSE(apoio::Existe(m_log));
}

// The routine object of the suite's library, as the sender drives it.
using RotinaAnalyticsTeste = AnalyticsTeste;

TEST_F(RotinaAnalyticsTeste, SoInicializaARotinaDoAnalyticsEmConexaoPropria)
{
    Liga();
    auto conx = CTQPath::CarregaBibliotecaModulo(kBibliotecaTQLConx, 1);
    ASSERT_NE(conx, nullptr);
    auto cria = reinterpret_cast<PFN_TQCriaBaseParaRotinas>(conx->Simbolo(kExportTQCriaBaseParaRotinas));
    ASSERT_NE(cria, nullptr);
    ITQBaseParaRotinas* rotina = cria();
    ASSERT_NE(rotina, nullptr);
    EXPECT_EQ(rotina->GetAcessoCore(), nullptr);
    EXPECT_LT(rotina->Inicializa(kRotinaAnalytics, 65535, 0), 0) << "on the default connection";
    rotina->SetUsaConexaoDefault(false);
    EXPECT_LT(rotina->Inicializa("TQDataBase", 65535, 0), 0);
    EXPECT_LT(rotina->Inicializa(nullptr, 65535, 0), 0);
    EXPECT_EQ(rotina->GetAcessoCore(), nullptr);
    ASSERT_EQ(rotina->Inicializa(kRotinaAnalytics, 65535, 0), S_OK);
    ITQAcessoCore* core = rotina->GetAcessoCore();
    ASSERT_NE(core, nullptr);

    // A number without its name is refused whole.
    CTQDadosCR_AnalyticsGravacao gravacao;
    gravacao.SetDma(62951);
    gravacao.SetServidor("ZAZAZU");
    CTQDadosCR_Analytics dados;
    dados.SetQtdExecucoes(1);
    dados.SetIndexMetodo(1);
    gravacao.AdicionaDadosAnalytics(dados);
    for (ListaAnalytics lista : {ListaAnalytics::Empresas, ListaAnalytics::Origens, ListaAnalytics::Interfaces,
                                 ListaAnalytics::Metodos})
        gravacao.Lista(lista).resize(1);
    EXPECT_LT(core->GravaAnalytics(gravacao), 0);
    EXPECT_FALSE(apoio::Existe(m_log));
    gravacao.Lista(ListaAnalytics::Metodos).resize(2);
    gravacao.Lista(ListaAnalytics::Metodos)[1].SetTexto("Le");
    EXPECT_EQ(core->GravaAnalytics(gravacao), S_OK);
    EXPECT_EQ(Linhas(apoio::LeTudo(m_log)), (std::vector<std::string>{"62951\t\t\t\tLe\t0\t1\t0\t0\t0\tZAZAZU\t0\t0\t0\t1"}));
    rotina->Libera();
}

TEST_F(RotinaAnalyticsTeste, SemLocalKarvoNaoInicializa)
{
    auto conx = CTQPath::CarregaBibliotecaModulo(kBibliotecaTQLConx, 1);
    ASSERT_NE(conx, nullptr);
    auto cria = reinterpret_cast<PFN_TQCriaBaseParaRotinas>(conx->Simbolo(kExportTQCriaBaseParaRotinas));
    ASSERT_NE(cria, nullptr);
    ITQBaseParaRotinas* rotina = cria();
    rotina->SetUsaConexaoDefault(false);
    EXPECT_LT(rotina->Inicializa(kRotinaAnalytics, 65535, 0), 0);
    EXPECT_EQ(rotina->GetAcessoCore(), nullptr);
    rotina->Libera();
}
