// Lookups of the chart store: records by position, accounts by classification, own code,
// reduced code and title, subordinate accounts; and what a broken index or chart file gives.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "PlanoTeste.h"
#include "apoio/Apoio.h"
#include "df/tqclasses/Classificacao.h"
#include "platform/Arquivo.h"

namespace {

using namespace teste;
using Resposta = std::pair<HRESULT, uint32_t>; // status and position

constexpr uint32_t kNaoAchou = 0x80000000u | uint32_t(statusclass::NaoEncontrado);
constexpr HRESULT kAlemDoFim = TQHResult(0x80043E95);

// Reduced codes of the chart: record 3 is 30, 5 is 52, 7 (excluded) is 75, 9 is 98.
class Consulta : public PlanoExemplo {
protected:
    // A changed chart for a new store (the old one's read-ahead would still serve the old bytes).
    void Regrava(const std::vector<ContaPlano>& contas)
    {
        m_plano.reset();
        GravaPlano(contas);
    }

    // ExisteCodigo under the masks 9.9.99 (slot 1) and 9.9 (slot 5, which turns a typed 52 into
    // 5.2, record 9): the position found, or 0x80000000 | the status.
    uint32_t AchaCodigo(const std::string& texto, uint16_t prioridade)
    {
        std::string mascaras(kMascaras * kTamanhoClassificacao, ' ');
        mascaras.replace(1 * kTamanhoClassificacao, 6, "9.9.99");
        mascaras.replace(5 * kTamanhoClassificacao, 3, "9.9");
        EXPECT_EQ(Plano().SetMascaras(Ole(mascaras).c_str()), 0);
        uint32_t p = 0;
        const HRESULT hr = Plano().ExisteCodigo(Ole(texto).c_str(), &p, prioridade);
        return hr == 0 ? p : 0x80000000u | uint32_t(hr);
    }
    Resposta Busca(HRESULT (CClassificacao::*busca)(const OLECHAR*, uint32_t*), const std::string& t)
    {
        uint32_t p = 0xDEAD;
        const HRESULT hr = (Plano().*busca)(Ole(t).c_str(), &p);
        return {hr, p};
    }
    Resposta Classificacao(const std::string& t) { return Busca(&CClassificacao::ExisteClassificacao, t); }
    Resposta Titulo(const std::string& t) { return Busca(&CClassificacao::ExisteContaTitulo, t); }
    Resposta Conta(const std::string& t) // an 'A' or 'G' account
    {
        uint32_t p = 0xDEAD;
        return {Plano().InternalExisteConta(t, false, &p), p};
    }
    HRESULT Subordinadas(const std::string& texto) { return Plano().ExisteSubordinadas(Ole(texto).c_str()); }
};

// Records by position, one or a list, the count, and the read-ahead that a new call drops.
TEST_F(Consulta, LeituraPorPosicao)
{
    CClassificacao& p = Plano();
    std::vector<uint8_t> dados(3 * kTamanhoRegistroPlano);
    apoio::CapturaTrace captura;
    EXPECT_EQ(p.LeDados(0, dados.data()), statusclass::ArgumentoInvalido);
    ASSERT_EQ(p.Le(5, dados.data()), 0);
    EXPECT_STREQ(p.GetClassificacaoAtual(), "1.1.03");
    EXPECT_EQ(p.GetTipoAtual(), 'G');
    // An excluded record is read like any other; the caller looks at its status byte.
    ASSERT_EQ(p.LeDados(7, dados.data()), 0);
    EXPECT_EQ(std::vector<uint8_t>(dados.begin(), dados.begin() + kTamanhoRegistroPlano), RegistroPlano(m_contas[6]));
    // The record after the last is an answer, not a failure: no trace line.
    EXPECT_EQ(p.LeDados(10, dados.data()), statusclass::NaoEncontrado);
    EXPECT_EQ(captura.quantidade(), 0u);
    EXPECT_STREQ(p.GetClassificacaoAtual(), "1.2.01") << "a failed read keeps the current record";
    // The count takes record 0 in: it is the number of the record after the last.
    uint32_t q = 0;
    ASSERT_EQ(p.GetQuantidadeRegistros(&q), 0);
    EXPECT_EQ(q, 10u);

    const uint32_t lista[] = {8, 3, 1};
    ASSERT_EQ(p.LeLista(lista, 3, dados.data()), 0);
    EXPECT_EQ(std::string(dados.begin(), dados.end()),
              ConteudoPlano({m_contas[7], m_contas[2], m_contas[0]}).substr(kTamanhoRegistroPlano));
    // Unlike Le, the end of the file is a failure here.
    const uint32_t alemDoFim[] = {3, 10};
    EXPECT_EQ(p.LeLista(alemDoFim, 2, dados.data()), kAlemDoFim);
    EXPECT_EQ(ExpressoesDoTrace(captura.linhas()),
              std::vector<std::string>{"LeLista: m_arqPadraoLeitura.Le(pUlPonteiros[ul], pByteReg)"});

    // Another writer changes the file behind the store's read-ahead.
    ASSERT_EQ(p.Le(3, dados.data()), 0);
    auto contas = m_contas;
    contas[2].nome = "Caixa Nova";
    GravaPlano(contas);
    ASSERT_EQ(p.Le(3, dados.data()), 0);
    EXPECT_EQ(std::vector<uint8_t>(dados.begin(), dados.begin() + kTamanhoRegistroPlano), RegistroPlano(m_contas[2]))
        << "served from the read-ahead";
    p.SetInvalidaCache();
    ASSERT_EQ(p.Le(3, dados.data()), 0);
    EXPECT_EQ(std::vector<uint8_t>(dados.begin(), dados.begin() + kTamanhoRegistroPlano), RegistroPlano(contas[2]));
}

TEST_F(Consulta, ExisteClassificacao)
{
    EXPECT_EQ(Classificacao("1.1.02"), Resposta(0, 4));
    EXPECT_EQ(Classificacao(" \t 5.2"), Resposta(0, 9)) << "leading white space";
    // Absent, only the excluded record's, invalid, empty; 28 zeros pack to entry 0's bytes.
    const std::string ausentes[] = {"1.9", "1.1.0", "1.1.020", "1.2.01", "1.A", "", "   ", std::string(28, '0')};
    for (const std::string& ausente : ausentes)
        EXPECT_EQ(Classificacao(ausente), Resposta(statusclass::ClassificacaoInvalida, 0)) << ausente;
    EXPECT_EQ(Plano().ExisteClassificacao(Ole("1").c_str(), nullptr), statusclass::ArgumentoInvalido);

    // A stale entry of excluded record 7, before record 8 with the same classification.
    auto indice = LeIndice(CaminhoIndice());
    indice.insert(indice.begin() + 6, EntradaIndice(7 | kTipoA, "1.2.02"));
    GravaIndice(indice);
    EXPECT_EQ(Classificacao("1.2.02"), Resposta(0, 8));
}

TEST_F(Consulta, BuscaPorCodigo)
{
    const struct { const char* texto; uint16_t prioridade; uint32_t esperado; } casos[] = {
        {"52", 0, 5}, {"98", 0, 9},                 // reduced codes, the last record's too (0 acts as 3)
        {"  cx5", 0, 5},                            // an own code, after blanks and without case
        {"75", 0, kNaoAchou}, {"IMO", 0, kNaoAchou}, // record 7 is excluded: its reduced code and its own
        {"53", 0, kNaoAchou},                       // wrong check digit
        {"52", 23, 9},                              // 5.2 by the mask
        {"52", 32, 5},                              // the reduced code before the classification
        {"52", 13, kNaoAchou},                      // 1 switches the reduced code off for the pass
        {"1.1.02", 2, 4},                           // a text with a point is its own classification
        {"1102", 2, 4},                             // 1102 under the mask 9.9.99
        {"0052", 3, 5},                             // leading zeros go before the reduced code
        {"007", 0, 3}, {"000", 1, kNaoAchou},       // own code 7 typed as 007; nothing left after the zeros
        {"\xC1" "c\xC3o", 1, 4},                      // stored ACAO: found by the folded second pass
    };
    for (const auto& c : casos)
        EXPECT_EQ(AchaCodigo(c.texto, c.prioridade), c.esperado) << c.texto << " priority " << c.prioridade;
    // Not digits alone, too short or too long, record 0, record 12 (129) past the end.
    for (const char* nada : {"5", "52x", "", "99999999999999999999999999", "00000", "129"}) {
        uint32_t pos = 0xDEAD;
        EXPECT_EQ(Plano().ProcuraReduzido(nada, &pos), 0) << nada;
        EXPECT_EQ(pos, 0u) << nada;
    }
    EXPECT_TRUE(Plano().EhCancelado(1000)) << "records past the end count as cancelled";
    uint32_t pos = 0;
    EXPECT_EQ(Plano().ProcuraNoPadrao("NADA", &pos), statusclass::CodigoNaoEncontrado);
    // The scan leaves the chart file closed: it can be replaced at once.
    EXPECT_TRUE(plataforma::ApagaArquivo(CaminhoPlano().c_str()) == 0);

    auto contas = m_contas;
    contas[7].codigo = "52";
    contas[5].codigo = "N\xC3O";
    Regrava(contas);
    EXPECT_EQ(AchaCodigo("52", 0), 8u) << "an own code 52 wins over the reduced code";
    EXPECT_EQ(AchaCodigo("nao", 1), 6u) << "a stored code with accents is folded too";
}

// The title above a classification, and whether an account has subordinates.
TEST_F(Consulta, TituloESubordinadas)
{
    const struct { const char* texto; bool titulo; Resposta esperada; } casos[] = {
        {"1.1.01", true, {0, 2}},
        {"5.2.7", true, {0, 9}},
        {"7.1", true, {statusclass::SemTitulo, 0}},
        {"  ", true, {statusclass::ClassificacaoInvalida, 0}},
        {"1.1.03.1", false, {0, 5}},                    // a 'G' account serves
        {"1.2.02.1", false, {statusclass::SemTitulo, 0}}, // an 'S' account does not
        {"1.1", false, {statusclass::SemTitulo, 0}},
    };
    for (const auto& c : casos)
        EXPECT_EQ(c.titulo ? Titulo(c.texto) : Conta(c.texto), c.esperada) << c.texto << (c.titulo ? " title" : "");

    const std::pair<const char*, HRESULT> subordinadas[] = {
        {"1.1", 0}, // a title followed by its first child
        {"1.2", 0}, // followed by an 'S' account
        {"1.1.03", statusclass::SemSubordinadas}, // 'G', followed by a sibling title
        {"5.2", statusclass::SemSubordinadas},    // the last entry
        {"1.2.01", statusclass::ForaDoIndice},
        {"", statusclass::ClassificacaoInvalida},
    };
    for (const auto& [texto, esperado] : subordinadas)
        EXPECT_EQ(Subordinadas(texto), esperado) << texto;

    // Only the entry right after 1.2 counts, never the child after it.
    const std::pair<REGCON_INDEX, HRESULT> seguintes[] = {
        {EntradaIndice(8 | kTipoS, "9"), 0},                              // any 'S' account
        {EntradaIndice(8, "1.2"), statusclass::SemSubordinadas},          // a title must be longer
    };
    for (const auto& [seguinte, esperado] : seguintes) {
        GravaIndice({REGCON_INDEX{}, EntradaIndice(6, "1.2"), seguinte, EntradaIndice(8 | kTipoA, "1.2.02")});
        EXPECT_EQ(Subordinadas("1.2"), esperado) << DescreveEntrada(seguinte);
    }
}

TEST_F(Consulta, ModoDeImportacaoLembraAUltimaResposta)
{
    ASSERT_EQ(Plano().SetInicioImportacao(false), 0);
    ASSERT_EQ(Classificacao("1.1.02"), Resposta(0, 4));
    ASSERT_EQ(Titulo("1.1.02"), Resposta(0, 2));
    // The index goes; the same texts are still answered from memory, others are not.
    GravaIndice({REGCON_INDEX{}});
    EXPECT_EQ(Classificacao("1.1.02"), Resposta(0, 4));
    EXPECT_EQ(Titulo("1.1.02"), Resposta(0, 2));
    EXPECT_EQ(Classificacao("1.1.01").first, statusclass::ClassificacaoInvalida);
}

// Entries beyond the chart file, then no index file at all: each failure with its trace line.
TEST_F(Consulta, IndiceQueNaoServe)
{
    GravaIndice({REGCON_INDEX{}, EntradaIndice(50 | kTipoA, "1.1.01")});
    apoio::CapturaTrace captura;
    EXPECT_EQ(Classificacao("1.1.01"), Resposta(kAlemDoFim, 0));
    EXPECT_EQ(ExpressoesDoTrace(captura.linhas()),
              std::vector<std::string>{"ExisteClassificacao: m_arqPadraoLeitura.Le(ulIndice, pRegistro)"});
    // The other searches read the index only.
    EXPECT_EQ(Conta("1.1.01.5"), Resposta(0, 50));
    EXPECT_EQ(Subordinadas("1.1.01"), statusclass::SemSubordinadas);

    ASSERT_TRUE(plataforma::ApagaArquivo(CaminhoIndice().c_str()) == 0);
    apoio::CapturaTrace semIndice;
    const HRESULT semArquivo = TQHResult(0x80040000 | 16055);
    EXPECT_EQ(Classificacao("1.1").first, semArquivo);
    EXPECT_EQ(Titulo("1.1.01").first, semArquivo);
    EXPECT_EQ(ExpressoesDoTrace(semIndice.linhas()), (std::vector<std::string>{
                                       "ExisteClassificacao: ArqIndex.Abre( m_sArquivoIndex, 'L' )",
                                       "InternalExisteConta: ArqIndex.Abre( m_sArquivoIndex, 'L' )"}));
}

TEST_F(Consulta, UltimoRegistroCurto)
{
    // A tenth record cut short after its own code.
    const auto decimo = RegistroPlano({"1.1.04", A, "CURTO", "Resto"});
    apoio::GravaTudo(CaminhoPlano(), ConteudoPlano(m_contas) + std::string(decimo.begin(), decimo.begin() + 30));
    CClassificacao& p = Plano();
    uint32_t q = 0;
    ASSERT_EQ(p.GetQuantidadeRegistros(&q), 0);
    EXPECT_EQ(q, 10u) << "a partial record is no record";
    EXPECT_EQ(AchaCodigo("CURTO", 1), kNaoAchou);
    // Nor does Le serve it: it lies past the end.
    std::vector<uint8_t> dados(kTamanhoRegistroPlano);
    EXPECT_EQ(p.Le(10, dados.data()), statusclass::NaoEncontrado);
    EXPECT_TRUE(p.EhCancelado(10));
    ASSERT_EQ(p.GeraClassificacao(), 0);
    EXPECT_EQ(IndiceDescrito(), Descreve(IndiceDasContas(m_contas, {1, 2, 3, 4, 5, 6, 8, 9}))) << "nor an entry";
}

} // namespace
