// Writes of the chart store: where a new or altered account lands in the index, what a
// deletion leaves in both files, and the trace lines and files of the failures.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PlanoTeste.h"
#include "apoio/Apoio.h"
#include "df/tqclasses/Classificacao.h"

namespace {

using namespace teste;

// 1 Ativo; 1.1 Circulante; two analytic accounts sharing 1.1.01; 1.1.02; 2 Passivo.
const std::vector<ContaPlano> kContas = {
    {"1", T, "C1", "Ativo"},        {"1.1", T, "C2", "Circulante"}, {"1.1.01", A, "C3", "Beta"},
    {"1.1.01", A, "C4", "Delta"},   {"1.1.02", A, "C5", "Caixa"},   {"2", T, "C6", "Passivo"},
};

class Gravacao : public PlanoTeste {
protected:
    void SetUp() override
    {
        PlanoTeste::SetUp();
        Prepara({1, 2, 3, 4, 5, 6});
    }
    // The chart kContas and an index of the given records in that order.
    void Prepara(const std::vector<uint32_t>& ordem)
    {
        m_contas = kContas;
        GravaPlano(m_contas);
        GravaIndice(IndiceDasContas(m_contas, ordem));
    }
    // Both files whole: the chart as m_contas, the index as the entries of these records.
    void Confere(const std::vector<uint32_t>& ordem)
    {
        EXPECT_EQ(apoio::LeTudo(CaminhoPlano()), ConteudoPlano(m_contas));
        EXPECT_EQ(IndiceDescrito(), Descreve(IndiceDasContas(m_contas, ordem)));
    }
};

// One chart through inserts, alterations and deletions, both files compared whole after each.
TEST_F(Gravacao, InclusoesAlteracoesEExclusoes)
{
    const struct {
        const char* oque;
        uint32_t pos; // 0: a new account
        ContaPlano conta; // no classification: delete the record at pos
        std::vector<uint32_t> ordem; // empty: the order of the step before
    } passos[] = {
        // The type alone changes only the entry's type bits.
        {"'A' to title", 5, {"1.1.02", T, "C5", "Caixa"}, {1, 2, 3, 4, 5, 6}},
        {"title to 'S' with a new own code", 5, {"1.1.02", kStatusS, "X5", "Caixa"}, {}},
        {"'S' to 'G': the bits replaced", 5, {"1.1.02", kStatusG, "X5", "Caixa"}, {}},
        {"after every entry: the free last slot", 0, {"2.1", A, "C7", "Fornecedores"}, {1, 2, 3, 4, 5, 6, 7}},
        // Type bits from the status byte, 'S' before 'T'; the type plays no part in the place.
        {"'S' and title", 0, {"2.1", kStatusS | T, "C8", "Impostos"}, {1, 2, 3, 4, 5, 6, 7, 8}},
        {"'G'", 0, {"2.2", kStatusG, "C9", "Emprestimos"}, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        // Equal classifications by name, accents folded and case ignored ('a' > 'B', 0xE1 > 'B').
        {"\xE1lfa before Beta", 0, {"1.1.01", A, "C10", "\xE1lfa"}, {1, 2, 10, 3, 4, 5, 6, 7, 8, 9}},
        {"charlie before Delta", 0, {"1.1.01", A, "C11", "charlie"}, {1, 2, 10, 3, 11, 4, 5, 6, 7, 8, 9}},
        {"an equal name goes first", 0, {"1.1.01", A, "C12", "DELTA"}, {1, 2, 10, 3, 11, 12, 4, 5, 6, 7, 8, 9}},
        // Nothing of the longer names written before may make the same name look new: moved, Delta
        // would go before its equal DELTA.
        {"the type alone after longer names", 4, {"1.1.01", kStatusG, "C4", "Delta"}, {}},
        {"a title of the classification is passed without its name", 0, {"1.1", A, "C13", "\xC1gua"},
         {1, 2, 13, 10, 3, 11, 12, 4, 5, 6, 7, 8, 9}},
        {"a new name moves it among the equal ones", 3, {"1.1.01", A, "C3", "Echo"},
         {1, 2, 13, 10, 11, 12, 4, 3, 5, 6, 7, 8, 9}},
        {"a new classification across the chart", 5, {"1.0", T, "X5", "Caixa"},
         {1, 5, 2, 13, 10, 11, 12, 4, 3, 6, 7, 8, 9}},
        {"deleted: marked, entry gone", 3, {}, {1, 5, 2, 13, 10, 11, 12, 4, 6, 7, 8, 9}},
        {"the last entry: the index is cut", 9, {}, {1, 5, 2, 13, 10, 11, 12, 4, 6, 7, 8}},
        {"a deleted record revived in place", 3, {"1.1.01", A, "C3", "Alfa"}, {1, 5, 2, 13, 3, 10, 11, 12, 4, 6, 7, 8}},
    };
    std::vector<uint32_t> ordem;
    for (const auto& p : passos) {
        SCOPED_TRACE(p.oque);
        if (p.conta.classificacao.empty()) {
            EXPECT_EQ(Exclui(p.pos), 0);
        } else {
            uint32_t pos = p.pos;
            ASSERT_EQ(Grava(p.conta, pos), 0);
            if (p.pos == 0) {
                EXPECT_STREQ(Plano().GetClassificacaoAtual(), "") << "an insert clears the current record";
            }
        }
        if (!p.ordem.empty())
            ordem = p.ordem;
        Confere(ordem);
        if (HasFailure())
            return;
    }
}

// Refusals: the code, one trace line per failing step, both files as they were.
TEST_F(Gravacao, RecusasNaoTocamNosArquivos)
{
    Prepara({1, 2, 3, 5, 6}); // record 4 without entry
    CClassificacao& p = Plano();
    const auto antes = Arquivos();
    const auto registro = RegistroPlano({"1.1.03", A, "C9", "Bancos"});
    const auto grava = [&](const ContaPlano& c, uint32_t pos) { return Grava(c, pos); };
    const ContaPlano semCodigo = {"1.1.03", A, "", "Bancos"};
    const std::string traceSemCodigo = "GravaDados: E_TQDF_GRAVANDO_REGISTRO_SEM_CODIGO";
    struct Caso { const char* oque; std::function<HRESULT()> faz; HRESULT hr; std::vector<std::string> trace; };
    const Caso casos[] = {
        {"new, no own code", [&] { return grava(semCodigo, 0); }, TQHResult(0x80FF0C15), {traceSemCodigo}},
        {"moving an account without entry", [&] { return grava({"1.1.01", A, "C4", "Outro"}, 4); },
         TQHResult(0x8004027A), {"Altera: ExcluiClassificacao(Posicao)", "GravaDados: Altera( ulPosicao, Dados )"}},
        {"Altera(0)", [&] { return p.Altera(0, registro.data()); }, 0x405EF, {}},
        {"Exclui(0)", [&] { return p.Exclui(0); }, 0x405EF, {}},
        {"record 0 has no entry", [&] { return p.ExcluiClassificacao(0); }, statusclass::SemEntradaExclusao, {}},
        {"beyond 24 bits", [&] { return p.IncluiClassificacao(nullptr, 0x1000000, registro.data()); },
         statusarq::ArgumentoInvalido.ComoHResult(),
         {"IncluiClassificacao: IDX_INDCON( lposicao ) == lposicao"}},
        {"AlteraIndconClassificacao of 0x1000001",
         [&] { return p.AlteraIndconClassificacao(0x1000001, registro.data()); },
         statusclass::SemEntradaAlteracao, {}},
    };
    for (const auto& c : casos) {
        apoio::CapturaTrace captura;
        EXPECT_EQ(c.faz(), c.hr) << c.oque;
        EXPECT_EQ(ExpressoesDoTrace(captura.linhas()), c.trace) << c.oque;
        EXPECT_EQ(Arquivos(), antes) << c.oque;
    }

    // Deleting the account without entry marks its record all the same.
    apoio::CapturaTrace captura;
    EXPECT_EQ(Exclui(4), TQHResult(0x8004027A));
    EXPECT_EQ(ExpressoesDoTrace(captura.linhas()), std::vector<std::string>{"Exclui: ExcluiClassificacao( Posicao )"});
    Confere({1, 2, 3, 5, 6});
}

TEST_F(Gravacao, EntradaQueNomeiaRegistroAlemDoPlano)
{
    // The index names record 9 beside record 3; the chart has 6.
    auto entradas = LeIndice(CaminhoIndice());
    entradas.insert(entradas.begin() + 4, EntradaIndice(9 | kTipoA, "1.1.01"));
    GravaIndice(entradas);
    const std::string indice = apoio::LeTudo(CaminhoIndice());
    apoio::CapturaTrace captura;
    uint32_t pos = 0;
    const ContaPlano zulu = {"1.1.01", A, "C7", "Zulu"};
    EXPECT_EQ(Grava(zulu, pos), TQHResult(0x80043E95));
    EXPECT_EQ(ExpressoesDoTrace(captura.linhas()), (std::vector<std::string>{
        "BuscaNomeConta: pArquivoPadrao->Le( ulTipo, pRegistro )",
        "IncluiClassificacao: BuscaNomeConta( pArquivoPadrao, IDX_INDCON( m_RegPonteiro->Tipo_IndCon ), cNomeConta )",
        "Inclui: IncluiClassificacao(&arqPadrao, lposicao, Dados )",
        "GravaDados: Inclui( &ulPosicao, Dados )",
    }));
    // No rollback: the record stays in the chart file without an entry.
    m_contas.push_back(zulu);
    EXPECT_EQ(Arquivos(), std::make_pair(ConteudoPlano(m_contas), indice));
}

TEST_F(Gravacao, RestoMenorQueUmaEntradaSaiNaReescrita)
{
    const auto acrescentaResto = [&] {
        apoio::GravaTudo(CaminhoIndice(), apoio::LeTudo(CaminhoIndice()) + std::string(7, '\x55'));
    };
    acrescentaResto();
    uint32_t pos = 0;
    ASSERT_EQ(Grava({"3", T, "C7", "Resultado"}, pos), 0);
    Confere({1, 2, 3, 4, 5, 6, 7});
    acrescentaResto();
    EXPECT_EQ(Exclui(7), 0);
    Confere({1, 2, 3, 4, 5, 6}); // cut at the last whole entry
}

} // namespace
