// Writes of the chart store: where a new or altered account lands in the index, what a
// deletion leaves in both files, and the trace lines of the failures.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PlanoTeste.h"
#include "apoio/Apoio.h"
#include "df/tqclasses/Classificacao.h"

namespace {

using teste::ContaPlano;

constexpr uint8_t T = kStatusTitulo;
constexpr uint8_t A = 0;

// 1 Ativo; 1.1 Circulante; two analytic accounts sharing 1.1.01; 1.1.02; 2 Passivo.
const std::vector<ContaPlano> kContas = {
    {"1", T, "C1", "Ativo"},        {"1.1", T, "C2", "Circulante"}, {"1.1.01", A, "C3", "Beta"},
    {"1.1.01", A, "C4", "Delta"},   {"1.1.02", A, "C5", "Caixa"},   {"2", T, "C6", "Passivo"},
};

class Gravacao : public teste::PlanoTeste {
protected:
    // The chart kContas (with changes) and an index of the given record numbers in that order.
    void Prepara(const std::vector<ContaPlano>& contas, const std::vector<uint32_t>& ordem)
    {
        m_contas = contas;
        GravaPlano(contas);
        std::vector<REGCON_INDEX> indice(1, REGCON_INDEX{});
        for (uint32_t r : ordem)
            indice.push_back(Entrada(r));
        GravaIndice(indice);
    }

    void GravaIndice(const std::vector<REGCON_INDEX>& indice)
    {
        apoio::GravaTudo(CaminhoIndice(),
                         std::string(reinterpret_cast<const char*>(indice.data()), indice.size() * sizeof indice[0]));
    }

    // The entry that account r of m_contas should have.
    REGCON_INDEX Entrada(uint32_t r) const
    {
        const ContaPlano& c = m_contas.at(r - 1);
        return teste::EntradaIndice(AplicaTipo(r, TipoDoStatus(c.status)), c.classificacao);
    }

    // The index file as readable lines, and the lines of the entries of the given records.
    std::vector<std::string> Indice() const
    {
        std::vector<std::string> r;
        for (const auto& e : teste::LeIndice(CaminhoIndice()))
            r.push_back(teste::DescreveEntrada(e));
        return r;
    }
    std::vector<std::string> Esperado(const std::vector<uint32_t>& ordem) const
    {
        std::vector<std::string> r{teste::DescreveEntrada(REGCON_INDEX{})};
        for (uint32_t p : ordem)
            r.push_back(teste::DescreveEntrada(Entrada(p)));
        return r;
    }

    // Writes account c at pos (0 = new) through GravaDados; records it in m_contas on success.
    HRESULT Grava(const ContaPlano& c, uint32_t& pos)
    {
        const auto registro = teste::RegistroPlano(c);
        const HRESULT hr = Plano().GravaDados(registro.data(), &pos);
        if (hr == 0) {
            if (pos > m_contas.size())
                m_contas.resize(pos);
            m_contas[pos - 1] = c;
        }
        return hr;
    }

    std::string Registro(uint32_t pos) const { return apoio::LeTudo(CaminhoPlano()).substr(pos * 96, 96); }
    static std::string Bytes(const ContaPlano& c)
    {
        const auto r = teste::RegistroPlano(c);
        return std::string(r.begin(), r.end());
    }

    std::vector<ContaPlano> m_contas;
};

TEST_F(Gravacao, SemCodigoProprioNadaEGravado)
{
    Prepara(kContas, {1, 2, 3, 4, 5, 6});
    Plano();
    const std::string plano = apoio::LeTudo(CaminhoPlano()), indice = apoio::LeTudo(CaminhoIndice());
    apoio::CapturaTrace captura;
    for (uint32_t inicial : {0u, 3u}) {
        uint32_t pos = inicial;
        const auto registro = teste::RegistroPlano({"1.1.03", A, "", "Bancos"});
        EXPECT_EQ(Plano().GravaDados(registro.data(), &pos), TQHResult(0x80FF0C15));
        EXPECT_EQ(pos, inicial);
    }
    EXPECT_EQ(apoio::LeTudo(CaminhoPlano()), plano);
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()), indice);
    const std::vector<std::string> esperadas(2, "GravaDados: E_TQDF_GRAVANDO_REGISTRO_SEM_CODIGO");
    EXPECT_EQ(teste::ExpressoesDoTrace(captura.linhas()), esperadas);
}

TEST_F(Gravacao, InclusaoDepoisDeTodasUsaAVagaFinal)
{
    Prepara(kContas, {1, 2, 3, 4, 5, 6});
    uint32_t pos = 0;
    ASSERT_EQ(Grava({"2.1", A, "C7", "Fornecedores"}, pos), 0);
    EXPECT_EQ(pos, 7u);
    EXPECT_EQ(Indice(), Esperado({1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(Registro(7), Bytes(m_contas[6]));

    // The type bits come from the status byte, 'S' before 'T'; the record's type does not
    // move it among its classification.
    pos = 0;
    ASSERT_EQ(Grava({"2.1", kStatusS | T, "C8", "Impostos"}, pos), 0);
    pos = 0;
    ASSERT_EQ(Grava({"2.2", kStatusG, "C9", "Emprestimos"}, pos), 0);
    EXPECT_EQ(Indice(), Esperado({1, 2, 3, 4, 5, 6, 7, 8, 9}));
    const auto entradas = teste::LeIndice(CaminhoIndice());
    const uint32_t tipoS = entradas[8].Tipo_IndCon, tipoG = entradas[9].Tipo_IndCon; // packed fields
    EXPECT_EQ(tipoS, 8u | kTipoS);
    EXPECT_EQ(tipoG, 9u | kTipoG);
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()).size(), 10u * 18);
}

TEST_F(Gravacao, ClassificacaoIgualOrdenaPeloNomeSemAcentoNemCaixa)
{
    Prepara(kContas, {1, 2, 3, 4, 5, 6});
    // "álfa" folds to alfa, which sorts before Beta only when case is ignored as well.
    uint32_t pos = 0;
    ASSERT_EQ(Grava({"1.1.01", A, "C7", "\xE1lfa"}, pos), 0);
    EXPECT_EQ(Indice(), Esperado({1, 2, 7, 3, 4, 5, 6}));
    pos = 0;
    ASSERT_EQ(Grava({"1.1.01", A, "C8", "charlie"}, pos), 0);
    EXPECT_EQ(Indice(), Esperado({1, 2, 7, 3, 8, 4, 5, 6}));
    // An equal name goes before the account that has it.
    pos = 0;
    ASSERT_EQ(Grava({"1.1.01", A, "C9", "DELTA"}, pos), 0);
    EXPECT_EQ(Indice(), Esperado({1, 2, 7, 3, 8, 9, 4, 5, 6}));
    // A title of the same classification is passed without reading its name.
    pos = 0;
    ASSERT_EQ(Grava({"1.1", A, "C10", "\xC1gua"}, pos), 0);
    EXPECT_EQ(Indice(), Esperado({1, 2, 10, 7, 3, 8, 9, 4, 5, 6}));
}

TEST_F(Gravacao, AlterarONomeMoveAEntradaEntreAsIguais)
{
    Prepara(kContas, {1, 2, 3, 4, 5, 6});
    uint32_t pos = 3;
    ASSERT_EQ(Grava({"1.1.01", A, "C3", "Echo"}, pos), 0);
    EXPECT_EQ(pos, 3u);
    EXPECT_EQ(Indice(), Esperado({1, 2, 4, 3, 5, 6}));
    EXPECT_EQ(Registro(3), Bytes(m_contas[2]));

    // A new classification moves it across the chart.
    pos = 5;
    ASSERT_EQ(Grava({"1.0", A, "C5", "Caixa"}, pos), 0);
    EXPECT_EQ(Indice(), Esperado({1, 5, 2, 4, 3, 6}));
    EXPECT_EQ(apoio::LeTudo(CaminhoPlano()).size(), 7u * 96) << "rewritten in place";
}

TEST_F(Gravacao, AlterarSoOTipoReescreveSoOsBitsDeTipo)
{
    Prepara(kContas, {1, 2, 3, 4, 5, 6});
    const std::string antes = apoio::LeTudo(CaminhoIndice());
    uint32_t pos = 5;
    ASSERT_EQ(Grava({"1.1.02", T, "C5", "Caixa"}, pos), 0);
    std::string esperado = antes;
    const uint32_t titulo = 5; // the entry of record 5 is the 6th, and loses its 'A' bit
    std::memcpy(&esperado[5 * 18], &titulo, 4);
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()), esperado);
    EXPECT_EQ(Registro(5), Bytes(m_contas[4]));

    ASSERT_EQ(Grava({"1.1.02", A, "C5", "Caixa"}, pos), 0);
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()), antes);
    // Another own code alone changes nothing in the index.
    ASSERT_EQ(Grava({"1.1.02", A, "X5", "Caixa"}, pos), 0);
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()), antes);
    EXPECT_EQ(Registro(5), Bytes(m_contas[4]));
}

TEST_F(Gravacao, AlterarUmRegistroExcluidoOReaviva)
{
    auto contas = kContas;
    contas[3].status |= kStatusExcluido;
    Prepara(contas, {1, 2, 3, 5, 6});
    uint32_t pos = 4;
    ASSERT_EQ(Grava({"1.1.01", A, "C4", "Alfa"}, pos), 0);
    EXPECT_EQ(pos, 4u);
    EXPECT_EQ(Indice(), Esperado({1, 2, 4, 3, 5, 6}));
    EXPECT_EQ(Registro(4), Bytes(m_contas[3]));
    EXPECT_EQ(apoio::LeTudo(CaminhoPlano()).size(), 7u * 96);
}

TEST_F(Gravacao, ExcluiMarcaORegistroECortaOIndice)
{
    Prepara(kContas, {1, 2, 3, 4, 5, 6});
    ASSERT_EQ(Plano().Exclui(3), 0);
    EXPECT_EQ(Indice(), Esperado({1, 2, 4, 5, 6}));
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()).size(), 6u * 18);
    auto excluida = m_contas[2];
    excluida.status |= kStatusExcluido;
    EXPECT_EQ(Registro(3), Bytes(excluida));

    ASSERT_EQ(Plano().Exclui(6), 0); // the last entry
    EXPECT_EQ(Indice(), Esperado({1, 2, 4, 5}));
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()).size(), 5u * 18);
    EXPECT_EQ(apoio::LeTudo(CaminhoPlano()).size(), 7u * 96);
}

TEST_F(Gravacao, ExcluiSemEntradaMarcaERespondeFaltaDaEntrada)
{
    Prepara(kContas, {1, 2, 3, 5, 6});
    const std::string indice = apoio::LeTudo(CaminhoIndice());
    apoio::CapturaTrace captura;
    EXPECT_EQ(Plano().Exclui(4), TQHResult(0x8004027A));
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()), indice);
    EXPECT_EQ(uint8_t(Registro(4)[14]), kStatusExcluido);
    EXPECT_EQ(teste::ExpressoesDoTrace(captura.linhas()), std::vector<std::string>{"Exclui: ExcluiClassificacao( Posicao )"});
}

TEST_F(Gravacao, PosicaoZeroEArgumentoInvalidoSemTrace)
{
    Prepara(kContas, {1, 2, 3, 4, 5, 6});
    const std::string plano = apoio::LeTudo(CaminhoPlano()), indice = apoio::LeTudo(CaminhoIndice());
    apoio::CapturaTrace captura;
    const auto registro = teste::RegistroPlano(kContas[0]);
    EXPECT_EQ(Plano().Altera(0, registro.data()), 0x405EF);
    EXPECT_EQ(Plano().Exclui(0), 0x405EF);
    EXPECT_EQ(Plano().ExcluiClassificacao(0), statusclass::SemEntradaExclusao) << "record 0 has no entry";
    EXPECT_EQ(captura.quantidade(), 0u);
    EXPECT_EQ(apoio::LeTudo(CaminhoPlano()), plano);
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()), indice);
}

TEST_F(Gravacao, EntradaQueNomeiaRegistroAlemDoPlano)
{
    // The index names record 9 beside record 3; the chart has 6.
    Prepara(kContas, {1, 2, 3, 4, 5, 6});
    auto entradas = teste::LeIndice(CaminhoIndice());
    entradas.insert(entradas.begin() + 4, teste::EntradaIndice(9 | kTipoA, "1.1.01"));
    GravaIndice(entradas);
    const std::string indice = apoio::LeTudo(CaminhoIndice());
    Plano();
    apoio::CapturaTrace captura;
    uint32_t pos = 0;
    EXPECT_EQ(Grava({"1.1.01", A, "C7", "Zulu"}, pos), TQHResult(0x80043E95));
    EXPECT_EQ(pos, 0u);
    const std::vector<std::string> esperadas = {
        "BuscaNomeConta: pArquivoPadrao->Le( ulTipo, pRegistro )",
        "IncluiClassificacao: BuscaNomeConta( pArquivoPadrao, IDX_INDCON( m_RegPonteiro->Tipo_IndCon ), cNomeConta )",
        "Inclui: IncluiClassificacao(&arqPadrao, lposicao, Dados )",
        "GravaDados: Inclui( &ulPosicao, Dados )",
    };
    EXPECT_EQ(teste::ExpressoesDoTrace(captura.linhas()), esperadas);
    // No rollback: the record stays in the chart file without an entry.
    EXPECT_EQ(apoio::LeTudo(CaminhoPlano()).size(), 8u * 96);
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()), indice);
    // Deleting the named record fails on the chart file before touching the index.
    EXPECT_EQ(Plano().Exclui(9), TQHResult(0x80043E95));
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()), indice);
}

TEST_F(Gravacao, IndiceComRestoMenorQueUmaEntrada)
{
    // Seven stray bytes after the last entry: they are no entry, and a rewrite replaces them.
    Prepara(kContas, {1, 2, 3, 4, 5, 6});
    apoio::GravaTudo(CaminhoIndice(), apoio::LeTudo(CaminhoIndice()) + std::string(7, '\x55'));
    uint32_t pos = 0;
    ASSERT_EQ(Grava({"3", T, "C7", "Resultado"}, pos), 0);
    EXPECT_EQ(Indice(), Esperado({1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()).size(), 8u * 18);

    apoio::GravaTudo(CaminhoIndice(), apoio::LeTudo(CaminhoIndice()) + std::string(7, '\x55'));
    ASSERT_EQ(Plano().Exclui(7), 0);
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()).size(), 7u * 18) << "cut at the last whole entry";
    EXPECT_EQ(Indice(), Esperado({1, 2, 3, 4, 5, 6}));
}

TEST_F(Gravacao, NumeroDeRegistroAlemDe24Bits)
{
    Prepara(kContas, {1, 2, 3, 4, 5, 6});
    const std::string indice = apoio::LeTudo(CaminhoIndice());
    apoio::CapturaTrace captura;
    const auto registro = teste::RegistroPlano({"1.1.03", A, "C9", "Bancos"});
    EXPECT_EQ(Plano().IncluiClassificacao(nullptr, 0x1000000, registro.data()), 16179u);
    EXPECT_EQ(teste::ExpressoesDoTrace(captura.linhas()), std::vector<std::string>{"IncluiClassificacao: IDX_INDCON( lposicao ) == lposicao"});
    EXPECT_EQ(Plano().ExcluiClassificacao(0x1000001), statusclass::SemEntradaExclusao) << "not record 1";
    EXPECT_EQ(Plano().AlteraIndconClassificacao(0x1000001, registro.data()), statusclass::SemEntradaAlteracao);
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()), indice);
}

TEST_F(Gravacao, AlteracaoDeContaSemEntradaFalhaNaRemocao)
{
    Prepara(kContas, {1, 2, 3, 5, 6});
    const std::string plano = apoio::LeTudo(CaminhoPlano());
    Plano();
    apoio::CapturaTrace captura;
    uint32_t pos = 4;
    EXPECT_EQ(Grava({"1.1.01", A, "C4", "Outro"}, pos), TQHResult(0x8004027A));
    const std::vector<std::string> esperadas = {"Altera: ExcluiClassificacao(Posicao)",
                                                "GravaDados: Altera( ulPosicao, Dados )"};
    EXPECT_EQ(teste::ExpressoesDoTrace(captura.linhas()), esperadas);
    EXPECT_EQ(apoio::LeTudo(CaminhoPlano()), plano) << "nothing changed";
}

} // namespace
