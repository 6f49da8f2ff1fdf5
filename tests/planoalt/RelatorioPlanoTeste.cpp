// The plan printed as a report: the lines in index order with their links, the columns the user
// chose, and every failing step answering its code with no report file left behind.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ServicoTeste.h"
#include "apoio/PlanoPrincipal.h"
#include "df/tqlibex/TQGeradorExports.h"
#include "df/tqlibex/TQModulos.h"
#include "df/tqlibex/TQPath.h"
#include "suite/TQGERADOR/CodigosGerador.h"

namespace {

constexpr HRESULT kFalhaDeTeste = TQHResult(0x80041234);

class RelatorioPlano : public teste::ServicoTeste {
protected:
    void SetUp() override
    {
        ServicoTeste::SetUp();
        // Registered only now: the test's registry is isolated from here on.
        m_principal = std::make_unique<teste::PlanoPrincipalRegistrado>();
        ASSERT_EQ(m_principal->Registro(), S_OK);
        m_gerador = CTQPath::CarregaBibliotecaModulo(kBibliotecaTQGERADOR, kModuloDF);
        ASSERT_NE(m_gerador, nullptr);
        teste::GravaPlanoPrincipal(m_dir, {{"1", 1, "P1", "Ativo"},
                                           {"1.1.01", 0, "P2", "Caixa geral"},
                                           {"1.1.02", 0, "P3", "Bancos, contas \"movimento\""}});
        SelecionaPlano();
    }
    void TearDown() override
    {
        LimpaFalhas();
        m_principal.reset();
        m_gerador.reset();
        ServicoTeste::TearDown();
    }
    void LimpaFalhas()
    {
        if (m_gerador)
            for (const char* operacao : {"Inicializa", "GeraRelatorio"})
                DefineFalhaGerador(operacao, 0);
        if (m_principal)
            for (int slot : {0, 7, 8})
                m_principal->DefineFalha(slot, 0);
    }

    HRESULT Gera(const std::string& nome, LONG plano = 1)
    {
        return m_objeto.GeraRelatorioPlanoAlternativo((m_dir + nome).c_str(), "Plano alternativo", "Empresa Teste",
                                                      plano);
    }
    void DefineFalhaGerador(const char* operacao, HRESULT hr)
    {
        auto define =
            reinterpret_cast<PFN_TQDefineFalhaParaTestes>(m_gerador->Simbolo(kExportTQDefineFalhaParaTestes));
        ASSERT_NE(define, nullptr);
        define(operacao, hr);
    }
    // A summary account and an analytic one linked to the three main-chart accounts, with the
    // characteristics 1, 2 and 7.
    void DuasContasLigadas()
    {
        NovaConta("1", 'T', "T1");
        const LONG a = NovaConta("1.1", 'A', "A1");
        const int16_t caracteristicas[] = {1, 2, 7};
        for (LONG p = 1; p <= 3; ++p)
            ASSERT_EQ(m_objeto.Vinculo(REG_VINCULO_ALT{0, a, p, uint16_t(caracteristicas[p - 1]), {}}), S_OK);
    }

    std::unique_ptr<teste::PlanoPrincipalRegistrado> m_principal;
    std::unique_ptr<plataforma::Biblioteca> m_gerador;
};

TEST_F(RelatorioPlano, ContasEmOrdemCadaAnaliticaSeguidaDosVinculos)
{
    // An empty plan leaves no file.
    EXPECT_EQ(Gera("plano.csv"), S_OK);
    EXPECT_FALSE(apoio::Existe(m_dir + "plano.csv"));
    DuasContasLigadas();
    ASSERT_EQ(Gera("plano.csv"), S_OK);
    EXPECT_EQ(apoio::LeTudo(m_dir + "plano.csv"),
              "C\xC3\xB3" "digo,Tipo,Classifica\xC3\xA7\xC3\xA3o,Nome,Sinal\r\n"
              "T1,T,1,Conta,\r\n"
              "A1,A,1.1,Conta,\r\n"
              "     P1,     T,     1,     Ativo,+\r\n"
              "     P2,     A,     1.1.01,     Caixa geral,-\r\n"
              "     P3,     A,     1.1.02,\"     Bancos, contas \"\"movimento\"\"\",?\r\n");
    EXPECT_EQ(m_objeto.m_lPlanoAtual, 1u) << "the plan stays selected";
}

// Each failing step answers its code, writes its trace line and leaves no report behind.
TEST_F(RelatorioPlano, FalhasNaoDeixamRelatorio)
{
    DuasContasLigadas();
    const LONG semMascaras = NovoPlano("Sem mascaras");
    ASSERT_EQ(m_objeto.SetMascara(semMascaras, REG_MASCARA_ALT_PS{}), S_OK);
    struct Caso {
        const char* nome;
        std::function<void()> prepara;
        LONG plano;
        HRESULT esperado;
    };
    const Caso casos[] = {
        {"builder set-up", [&] { DefineFalhaGerador("Inicializa", kFalhaDeTeste); }, 1, kFalhaDeTeste},
        {"plan without masks", [] {}, semMascaras, kPlanoSemMascaras},
        {"main-chart server creation", [&] { m_principal->DefineFalha(0, kFalhaDeTeste); }, 1, kFalhaDeTeste},
        {"main-chart account", [&] { m_principal->DefineFalha(8, kFalhaDeTeste); }, 1, kFalhaDeTeste},
        {"report file", [&] { DefineFalhaGerador("GeraRelatorio", kFalhaDeTeste); }, 1, kFalhaDeTeste},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        c.prepara();
        apoio::CapturaTrace trace;
        EXPECT_EQ(Gera("plano.csv", c.plano), c.esperado);
        EXPECT_GE(trace.quantidade(), 1u);
        EXPECT_FALSE(apoio::Existe(m_dir + "plano.csv"));
        LimpaFalhas();
    }
}

} // namespace
