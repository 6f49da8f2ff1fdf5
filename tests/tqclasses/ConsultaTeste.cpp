// Lookups of the chart store: records by position, accounts by classification, own code,
// reduced code and title, subordinate accounts; and what a broken index or chart file gives.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PlanoTeste.h"
#include "apoio/Apoio.h"
#include "df/tqclasses/Classificacao.h"
#include "platform/Arquivo.h"
#include "platform/Texto.h"

namespace {

using teste::ContaPlano;

constexpr uint8_t T = kStatusTitulo;
constexpr uint8_t A = 0;

// Nine records. Reduced codes: record 3 is "30", 5 is "52", 7 is "75", 9 is "98".
// Record 7 is excluded; the slot-5 mask turns a typed 52 into the classification 5.2 (record 9).
std::vector<ContaPlano> Contas()
{
    return {
        {"1", T, "ATV", "Ativo"},
        {"1.1", T, "CIRC", "Circulante"},
        {"1.1.01", A, "7", "Caixa"},
        {"1.1.02", A, "ACAO", "Bancos"},
        {"1.1.03", kStatusG, "CX5", "Aplica\xE7\xF5" "es"},
        {"1.2", T, "NC", "Imobilizado"},
        {"1.2.01", A | kStatusExcluido, "IMO", "Im\xF3veis"},
        {"1.2.02", kStatusS, "VEI", "Ve\xED" "culos"},
        {"5.2", T, "X52", "Outras"},
    };
}

std::basic_string<OLECHAR> Ole(const std::string& ansi) { return plataforma::AnsiParaOle(ansi); }

std::string Bytes(const std::vector<REGCON_INDEX>& indice)
{
    return std::string(reinterpret_cast<const char*>(indice.data()), indice.size() * sizeof(REGCON_INDEX));
}

class Consulta : public teste::PlanoTeste {
protected:
    void SetUp() override
    {
        PlanoTeste::SetUp();
        m_contas = Contas();
        GravaPlano(m_contas);
        GravaIndice(IndiceDe(m_contas));
    }

    // The index as the generator would write it for a chart whose records are in index order.
    static std::vector<REGCON_INDEX> IndiceDe(const std::vector<ContaPlano>& contas)
    {
        std::vector<REGCON_INDEX> indice(1, REGCON_INDEX{});
        for (uint32_t r = 1; r <= contas.size(); ++r) {
            const ContaPlano& c = contas[r - 1];
            if (!(c.status & kStatusExcluido))
                indice.push_back(teste::EntradaIndice(AplicaTipo(r, TipoDoStatus(c.status)), c.classificacao));
        }
        return indice;
    }
    void GravaIndice(const std::vector<REGCON_INDEX>& indice) { apoio::GravaTudo(CaminhoIndice(), Bytes(indice)); }
    // A changed chart for a new store (the old one's read-ahead would still serve the old bytes).
    void Regrava(const std::vector<ContaPlano>& contas)
    {
        m_plano.reset();
        GravaPlano(contas);
    }

    CClassificacao& PlanoComMascaras()
    {
        CClassificacao& p = Plano();
        std::string mascaras(kMascaras * kTamanhoClassificacao, ' ');
        mascaras.replace(1 * kTamanhoClassificacao, 6, "9.9.99");
        mascaras.replace(5 * kTamanhoClassificacao, 3, "9.9");
        EXPECT_EQ(p.SetMascaras(Ole(mascaras).c_str()), 0);
        return p;
    }

    HRESULT Codigo(const std::string& texto, uint16_t prioridade, uint32_t& posicao)
    {
        posicao = 0xDEAD;
        return PlanoComMascaras().ExisteCodigo(Ole(texto).c_str(), &posicao, prioridade);
    }
    uint32_t AchaCodigo(const std::string& texto, uint16_t prioridade)
    {
        uint32_t p = 0;
        const HRESULT hr = Codigo(texto, prioridade, p);
        return hr == 0 ? p : 0x80000000u | uint32_t(hr);
    }
    HRESULT Classificacao(const std::string& texto, uint32_t& posicao)
    {
        posicao = 0xDEAD;
        return Plano().ExisteClassificacao(Ole(texto).c_str(), &posicao);
    }
    HRESULT Titulo(const std::string& texto, uint32_t& posicao)
    {
        posicao = 0xDEAD;
        return Plano().ExisteContaTitulo(Ole(texto).c_str(), &posicao);
    }
    HRESULT Subordinadas(const std::string& texto) { return Plano().ExisteSubordinadas(Ole(texto).c_str()); }

    std::vector<ContaPlano> m_contas;
};

constexpr uint32_t kNaoAchou = 0x80000000u | uint32_t(statusclass::NaoEncontrado);

TEST_F(Consulta, LePorPosicao)
{
    CClassificacao& p = Plano();
    std::vector<uint8_t> dados(teste::kTamanhoRegistroPlano);
    apoio::CapturaTrace captura;
    EXPECT_EQ(p.Le(0, dados.data()), statusclass::ArgumentoInvalido);
    EXPECT_EQ(p.LeDados(0, dados.data()), statusclass::ArgumentoInvalido);

    ASSERT_EQ(p.Le(5, dados.data()), 0);
    EXPECT_EQ(dados, teste::RegistroPlano(m_contas[4]));
    EXPECT_STREQ(p.GetClassificacaoAtual(), "1.1.03");
    EXPECT_EQ(p.GetTipoAtual(), 'G');

    // An excluded record is read like any other; the caller looks at its status byte.
    ASSERT_EQ(p.LeDados(7, dados.data()), 0);
    EXPECT_EQ(dados[14], A | kStatusExcluido);
    EXPECT_STREQ(p.GetClassificacaoAtual(), "1.2.01");

    // The record after the last is an answer, not a failure: no trace line.
    EXPECT_EQ(p.Le(10, dados.data()), statusclass::NaoEncontrado);
    EXPECT_EQ(p.LeDados(10, dados.data()), statusclass::NaoEncontrado);
    EXPECT_EQ(captura.quantidade(), 0u);
    EXPECT_STREQ(p.GetClassificacaoAtual(), "1.2.01") << "a failed read keeps the current record";
}

TEST_F(Consulta, QuantidadeDeRegistrosContaORegistroZero)
{
    uint32_t q = 0;
    ASSERT_EQ(Plano().GetQuantidadeRegistros(&q), 0);
    EXPECT_EQ(q, 10u);
    EXPECT_EQ(Plano().GetQuantidadeRegistros(nullptr), statusclass::ArgumentoInvalido);
}

TEST_F(Consulta, QuantidadeDeUmPlanoVazio)
{
    GravaPlano({});
    GravaIndice({REGCON_INDEX{}});
    uint32_t q = 0;
    ASSERT_EQ(Plano().GetQuantidadeRegistros(&q), 0);
    EXPECT_EQ(q, 1u);
    uint32_t pos = 0;
    EXPECT_EQ(Codigo("17", 0, pos), statusclass::NaoEncontrado) << "record 1 does not exist";
}

TEST_F(Consulta, LeListaDeRegistros)
{
    CClassificacao& p = Plano();
    std::vector<uint8_t> dados(3 * teste::kTamanhoRegistroPlano);
    const uint32_t lista[] = {8, 3, 1};
    EXPECT_EQ(p.LeLista(nullptr, 3, dados.data()), statusclass::ArgumentoInvalido);
    EXPECT_EQ(p.LeLista(lista, 0, dados.data()), statusclass::ArgumentoInvalido);
    EXPECT_EQ(p.LeLista(lista, 3, nullptr), statusclass::ArgumentoInvalido);

    ASSERT_EQ(p.LeLista(lista, 3, dados.data()), 0);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_TRUE(std::equal(dados.begin() + i * 96, dados.begin() + (i + 1) * 96,
                               teste::RegistroPlano(m_contas[lista[i] - 1]).begin()))
            << "slot " << i;

    ASSERT_EQ(p.LeLista(&lista[1], 1, dados.data()), 0);
    EXPECT_STREQ(p.GetClassificacaoAtual(), "1.1.01") << "a list of one makes it the current record";

    // Unlike Le, the end of the file is a failure here.
    const uint32_t alemDoFim[] = {3, 10};
    apoio::CapturaTrace captura;
    EXPECT_EQ(p.LeLista(alemDoFim, 2, dados.data()), TQHResult(0x80043E95));
    EXPECT_EQ(teste::ExpressoesDoTrace(captura.linhas()),
              std::vector<std::string>{"LeLista: m_arqPadraoLeitura.Le(pUlPonteiros[ul], pByteReg)"});
}

TEST_F(Consulta, InvalidaCacheAntesDaProximaLeitura)
{
    CClassificacao& p = Plano();
    std::vector<uint8_t> dados(teste::kTamanhoRegistroPlano);
    ASSERT_EQ(p.Le(3, dados.data()), 0);
    // Another writer changes the file behind the store's read-ahead.
    auto contas = m_contas;
    contas[2].nome = "Caixa Nova";
    GravaPlano(contas);
    ASSERT_EQ(p.Le(3, dados.data()), 0);
    EXPECT_EQ(dados, teste::RegistroPlano(m_contas[2])) << "served from the read-ahead";
    p.SetInvalidaCache();
    ASSERT_EQ(p.Le(3, dados.data()), 0);
    EXPECT_EQ(dados, teste::RegistroPlano(contas[2]));
}

TEST_F(Consulta, ExisteClassificacao)
{
    uint32_t pos = 0;
    EXPECT_EQ(Classificacao("1.1.02", pos), 0);
    EXPECT_EQ(pos, 4u);
    EXPECT_EQ(Classificacao(" \t 5.2", pos), 0) << "leading white space";
    EXPECT_EQ(pos, 9u);
    for (const char* ausente : {"1.9", "1.1.0", "1.1.020", "1.2.01", "1.A", "", "   "}) {
        EXPECT_EQ(Classificacao(ausente, pos), statusclass::ClassificacaoInvalida) << ausente;
        EXPECT_EQ(pos, 0u) << ausente;
    }
    // 28 zeros pack to entry 0's bytes: entry 0 names no account.
    EXPECT_EQ(Classificacao(std::string(28, '0'), pos), statusclass::ClassificacaoInvalida);
    EXPECT_EQ(Plano().ExisteClassificacao(Ole("1").c_str(), nullptr), statusclass::ArgumentoInvalido);
}

TEST_F(Consulta, ExisteClassificacaoPulaRegistroExcluidoDeEntradaVelha)
{
    // The index still lists excluded record 7, before record 8 with the same classification.
    auto indice = IndiceDe(m_contas);
    indice.insert(indice.begin() + 6, teste::EntradaIndice(7 | kTipoA, "1.2.02"));
    GravaIndice(indice);
    uint32_t pos = 0;
    ASSERT_EQ(Classificacao("1.2.02", pos), 0);
    EXPECT_EQ(pos, 8u);
    // Only the stale entry: nothing.
    GravaIndice({REGCON_INDEX{}, teste::EntradaIndice(7 | kTipoA, "1.2.01")});
    EXPECT_EQ(Classificacao("1.2.01", pos), statusclass::ClassificacaoInvalida);
}

TEST_F(Consulta, CodigoProprioAntesDoReduzido)
{
    uint32_t pos = 0;
    ASSERT_EQ(Codigo("52", 0, pos), 0);
    EXPECT_EQ(pos, 5u) << "reduced code 52 is record 5";
    EXPECT_EQ(AchaCodigo("  CX5", 0), 5u) << "own code";
    EXPECT_EQ(AchaCodigo("cx5", 0), 5u) << "own codes compare without case";
    EXPECT_EQ(AchaCodigo("98", 0), 9u);
    EXPECT_EQ(AchaCodigo("75", 0), kNaoAchou) << "record 7 is excluded";
    EXPECT_EQ(AchaCodigo("IMO", 0), kNaoAchou) << "so is its own code";
    EXPECT_EQ(AchaCodigo("53", 0), kNaoAchou) << "wrong check digit";
    EXPECT_EQ(AchaCodigo("", 0), kNaoAchou);
    EXPECT_EQ(AchaCodigo("   ", 3), kNaoAchou);

    auto contas = m_contas;
    contas[7].codigo = "52";
    Regrava(contas);
    EXPECT_EQ(AchaCodigo("52", 0), 8u) << "an own code 52 wins over the reduced code";
}

TEST_F(Consulta, PrioridadesDaBuscaPorCodigo)
{
    // 52 is record 5's reduced code and, by the slot-5 mask, record 9's classification 5.2.
    EXPECT_EQ(AchaCodigo("52", 3), 5u);
    EXPECT_EQ(AchaCodigo("52", 2), 9u);
    EXPECT_EQ(AchaCodigo("52", 23), 9u);
    EXPECT_EQ(AchaCodigo("52", 32), 5u) << "reduced code before the classification";
    EXPECT_EQ(AchaCodigo("52", 13), kNaoAchou) << "1 switches the reduced code off for the pass";
    EXPECT_EQ(AchaCodigo("52", 1), kNaoAchou);
    EXPECT_EQ(AchaCodigo("52", 4), kNaoAchou) << "digits other than 1 to 3 do nothing";
    EXPECT_EQ(AchaCodigo("52", 132), 9u) << "the classification still comes after the 1";
    EXPECT_EQ(AchaCodigo("1.1.02", 2), 4u) << "a text with a point is its own classification";
    EXPECT_EQ(AchaCodigo("1102", 2), 4u) << "1102 under the mask 9.9.99";
    EXPECT_EQ(AchaCodigo("0052", 3), 5u) << "leading zeros go before the reduced code";
}

TEST_F(Consulta, CodigoComZerosIniciaisEAcentos)
{
    EXPECT_EQ(AchaCodigo("007", 0), 3u) << "own code 7 typed as 007";
    EXPECT_EQ(AchaCodigo("007", 13), 3u);
    EXPECT_EQ(AchaCodigo("000", 1), kNaoAchou) << "nothing is left after the zeros";
    // Stored ACAO, typed with accents and in lower case: found by the folded second pass.
    EXPECT_EQ(AchaCodigo("a\xE7\xE3o", 0), 4u);
    EXPECT_EQ(AchaCodigo("\xC1" "CAO", 1), 4u);
    // A stored code with accents is folded too.
    auto contas = m_contas;
    contas[5].codigo = "N\xC3O";
    Regrava(contas);
    EXPECT_EQ(AchaCodigo("nao", 1), 6u);
    EXPECT_EQ(AchaCodigo("n\xE3o", 1), 6u);
    // Longer than the own-code field: never an own code.
    EXPECT_EQ(AchaCodigo("ABCDEFGHIJK", 1), kNaoAchou);
}

TEST_F(Consulta, ProcuraReduzidoEEhCancelado)
{
    CClassificacao& p = Plano();
    uint32_t pos = 0xDEAD;
    EXPECT_EQ(p.ProcuraReduzido("52", &pos), 0);
    EXPECT_EQ(pos, 5u);
    for (const char* nada : {"75", "51", "5", "52x", "x52", "", "99999999999999999999999999", "00000"}) {
        pos = 0xDEAD;
        EXPECT_EQ(p.ProcuraReduzido(nada, &pos), 0) << nada;
        EXPECT_EQ(pos, 0u) << nada;
    }
    // Record 12 (reduced code 129) lies beyond the chart.
    EXPECT_EQ(p.ProcuraReduzido("129", &pos), 0);
    EXPECT_EQ(pos, 0u);
    EXPECT_TRUE(p.EhCancelado(7));
    EXPECT_FALSE(p.EhCancelado(5));
    apoio::CapturaTrace captura;
    EXPECT_TRUE(p.EhCancelado(10));
    EXPECT_TRUE(p.EhCancelado(1000));
    EXPECT_EQ(captura.quantidade(), 0u);
}

TEST_F(Consulta, ProcuraNoPadraoFechaOArquivoDepois)
{
    CClassificacao& p = Plano();
    uint32_t pos = 0;
    EXPECT_EQ(p.ProcuraNoPadrao("VEI", &pos), 0);
    EXPECT_EQ(pos, 8u);
    EXPECT_EQ(p.ProcuraNoPadrao("NADA", &pos), statusclass::CodigoNaoEncontrado);
    EXPECT_EQ(p.ProcuraNoPadrao("ABCDEFGHIJK", &pos), statusclass::CodigoNaoEncontrado);
    // The scan leaves the chart file closed: it can be replaced at once.
    EXPECT_TRUE(plataforma::ApagaArquivo(CaminhoPlano().c_str()) == 0);
}

TEST_F(Consulta, ContaTitulo)
{
    uint32_t pos = 0;
    ASSERT_EQ(Titulo("1.1.01", pos), 0);
    EXPECT_EQ(pos, 2u);
    ASSERT_EQ(Titulo("1.1", pos), 0);
    EXPECT_EQ(pos, 1u) << "the parent comes before the text itself in the index";
    ASSERT_EQ(Titulo("5.2.7", pos), 0);
    EXPECT_EQ(pos, 9u);
    EXPECT_EQ(Titulo("1", pos), 0) << "a top-level classification";
    EXPECT_EQ(pos, 0u);
    EXPECT_EQ(Titulo("7.1", pos), statusclass::SemTitulo);
    EXPECT_EQ(pos, 0u);
    EXPECT_EQ(Titulo("  ", pos), statusclass::ClassificacaoInvalida);

    CClassificacao& p = Plano();
    EXPECT_EQ(p.InternalExisteConta("1", false, &pos), 0);
    EXPECT_EQ(pos, 0u);
    ASSERT_EQ(p.InternalExisteConta("1.1.02", false, &pos), 0);
    EXPECT_EQ(pos, 4u);
    ASSERT_EQ(p.InternalExisteConta("1.1.03.1", false, &pos), 0);
    EXPECT_EQ(pos, 5u) << "a 'G' account serves";
    EXPECT_EQ(p.InternalExisteConta("1.2.02.1", false, &pos), statusclass::SemTitulo) << "an 'S' account does not";
    EXPECT_EQ(p.InternalExisteConta("1.1", false, &pos), statusclass::SemTitulo);
}

TEST_F(Consulta, Subordinadas)
{
    EXPECT_EQ(Subordinadas("1.1"), 0) << "a title followed by its first child";
    EXPECT_EQ(Subordinadas("1"), 0);
    EXPECT_EQ(Subordinadas("1.2"), 0) << "followed by an 'S' account";
    EXPECT_EQ(Subordinadas("1.1.01"), statusclass::SemSubordinadas) << "an analytic account";
    EXPECT_EQ(Subordinadas("1.1.03"), statusclass::SemSubordinadas) << "'G', followed by a sibling title";
    EXPECT_EQ(Subordinadas("5.2"), statusclass::SemSubordinadas) << "the last entry";
    EXPECT_EQ(Subordinadas("1.2.01"), statusclass::ForaDoIndice);
    EXPECT_EQ(Subordinadas(""), statusclass::ClassificacaoInvalida);

    // Only the next entry counts.
    const auto e = teste::EntradaIndice;
    GravaIndice({REGCON_INDEX{}, e(6, "1.2"), e(9, "5.2"), e(8 | kTipoA, "1.2.02")});
    EXPECT_EQ(Subordinadas("1.2"), statusclass::SemSubordinadas) << "a title that is no child";
    GravaIndice({REGCON_INDEX{}, e(6, "1.2"), e(8 | kTipoA, "1.3")});
    EXPECT_EQ(Subordinadas("1.2"), statusclass::SemSubordinadas) << "an analytic account that is no child";
    GravaIndice({REGCON_INDEX{}, e(6, "1.2"), e(8 | kTipoS, "9")});
    EXPECT_EQ(Subordinadas("1.2"), 0) << "any 'S' account";
    GravaIndice({REGCON_INDEX{}, e(6, "1.2"), e(8, "1.2")});
    EXPECT_EQ(Subordinadas("1.2"), statusclass::SemSubordinadas) << "a title must be longer";
    GravaIndice({REGCON_INDEX{}, e(6, "1.2"), e(8 | kTipoG, "1.2.5")});
    EXPECT_EQ(Subordinadas("1.2"), 0);
}

TEST_F(Consulta, ModoDeImportacaoLembraAUltimaResposta)
{
    CClassificacao& p = Plano();
    ASSERT_EQ(p.SetInicioImportacao(false), 0);
    uint32_t pos = 0;
    ASSERT_EQ(Classificacao("1.1.02", pos), 0);
    ASSERT_EQ(Titulo("1.1.02", pos), 0);
    EXPECT_EQ(pos, 2u);
    // The index goes; the same texts are still answered from memory, others are not.
    GravaIndice({REGCON_INDEX{}});
    EXPECT_EQ(Classificacao("1.1.02", pos), 0);
    EXPECT_EQ(pos, 4u);
    EXPECT_EQ(Titulo("1.1.02", pos), 0);
    EXPECT_EQ(pos, 2u);
    EXPECT_EQ(Classificacao("1.1.01", pos), statusclass::ClassificacaoInvalida);
}

// Bad files: an index with a torn tail, an entry beyond the chart file, a short last record.
TEST_F(Consulta, IndiceComCaudaPartida)
{
    const std::string bytes = Bytes(IndiceDe(m_contas));
    apoio::GravaTudo(CaminhoIndice(), bytes + std::string(7, '\x11'));
    uint32_t pos = 0;
    EXPECT_EQ(Classificacao("5.2", pos), 0);
    EXPECT_EQ(pos, 9u);
    EXPECT_EQ(Subordinadas("5.2"), statusclass::SemSubordinadas) << "the torn tail is no entry";
    apoio::GravaTudo(CaminhoIndice(), std::string(17, '\x11'));
    EXPECT_EQ(Classificacao("5.2", pos), statusclass::ClassificacaoInvalida);
    EXPECT_EQ(Subordinadas("5.2"), statusclass::ForaDoIndice);
    EXPECT_EQ(Titulo("5.2", pos), statusclass::SemTitulo);
    apoio::GravaTudo(CaminhoIndice(), "");
    EXPECT_EQ(Classificacao("5.2", pos), statusclass::ClassificacaoInvalida);
}

TEST_F(Consulta, EntradaAlemDoArquivoDoPlano)
{
    GravaIndice({REGCON_INDEX{}, teste::EntradaIndice(50 | kTipoA, "1.1.01"),
                 teste::EntradaIndice(0xFFFFFF | kTipoA, "1.1.02")});
    apoio::CapturaTrace captura;
    uint32_t pos = 0;
    EXPECT_EQ(Classificacao("1.1.01", pos), TQHResult(0x80043E95));
    EXPECT_EQ(Classificacao("1.1.02", pos), TQHResult(0x80043E95));
    EXPECT_EQ(teste::ExpressoesDoTrace(captura.linhas()), (std::vector<std::string>{
                                       "ExisteClassificacao: m_arqPadraoLeitura.Le(ulIndice, pRegistro)",
                                       "ExisteClassificacao: m_arqPadraoLeitura.Le(ulIndice, pRegistro)"}));
    EXPECT_EQ(pos, 0u);
    // The other searches read the index only.
    EXPECT_EQ(Plano().InternalExisteConta("1.1.01.5", false, &pos), 0);
    EXPECT_EQ(pos, 50u);
    EXPECT_EQ(Subordinadas("1.1.01"), statusclass::SemSubordinadas);
}

TEST_F(Consulta, UltimoRegistroCurto)
{
    // A tenth record cut short after its own code.
    const auto decimo = teste::RegistroPlano({"1.1.04", A, "CURTO", "Resto"});
    apoio::GravaTudo(CaminhoPlano(), teste::ConteudoPlano(m_contas) +
                                         std::string(reinterpret_cast<const char*>(decimo.data()), 30));
    CClassificacao& p = Plano();
    uint32_t q = 0;
    ASSERT_EQ(p.GetQuantidadeRegistros(&q), 0);
    EXPECT_EQ(q, 10u) << "a partial record is no record";
    EXPECT_EQ(AchaCodigo("CURTO", 1), kNaoAchou);
    // Le still returns what there is of it.
    std::vector<uint8_t> dados(teste::kTamanhoRegistroPlano);
    ASSERT_EQ(p.Le(10, dados.data()), 0);
    EXPECT_TRUE(std::equal(decimo.begin(), decimo.begin() + 30, dados.begin()));
    EXPECT_EQ(p.Le(11, dados.data()), statusclass::NaoEncontrado);
    EXPECT_TRUE(p.EhCancelado(10));
}

TEST_F(Consulta, SemArquivoDeIndice)
{
    uint32_t pos = 0;
    CClassificacao& p = Plano();
    ASSERT_TRUE(plataforma::ApagaArquivo(CaminhoIndice().c_str()) == 0);
    apoio::CapturaTrace captura;
    const HRESULT semArquivo = TQHResult(0x80040000 | 16055);
    EXPECT_EQ(Classificacao("1.1", pos), semArquivo);
    EXPECT_EQ(Subordinadas("1.1"), semArquivo);
    EXPECT_EQ(p.InternalExisteConta("1.1.01", true, &pos), semArquivo);
    EXPECT_EQ(teste::ExpressoesDoTrace(captura.linhas()), (std::vector<std::string>{
                                       "ExisteClassificacao: ArqIndex.Abre( m_sArquivoIndex, 'L' )",
                                       "ExisteSubordinadas: ArqIndex.Abre( m_sArquivoIndex, 'L' )",
                                       "InternalExisteConta: ArqIndex.Abre( m_sArquivoIndex, 'L' )"}));
}

} // namespace
