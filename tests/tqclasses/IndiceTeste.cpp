// The index as the store generates it, the binding to a chart, import mode, the
// existing-code buffer and the generation mark.
#include <algorithm>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PlanoTeste.h"
#include "apoio/Apoio.h"
#include "df/tqclasses/Classificacao.h"
#include "df/tqlibex/GanchosTeste.h"
#include "df/tqlibex/TQArqMarca.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Texto.h"

namespace {

using teste::ContaPlano;
using teste::DescreveEntrada;
using teste::EntradaIndice;

std::basic_string<OLECHAR> W(const char* texto) { return plataforma::AnsiParaOle(texto); }

constexpr uint8_t T = kStatusTitulo;
constexpr uint8_t A = 0;
constexpr uint8_t X = kStatusExcluido;

std::vector<std::string> Descreve(const std::vector<REGCON_INDEX>& entradas)
{
    std::vector<std::string> r;
    for (const auto& e : entradas)
        r.push_back(DescreveEntrada(e));
    return r;
}

// Entry 0 (18 zero bytes), then the given entries.
std::vector<std::string> Esperado(const std::vector<std::pair<uint32_t, std::string>>& esperadas)
{
    std::vector<std::string> r{DescreveEntrada(REGCON_INDEX{})};
    for (const auto& [tipo, classificacao] : esperadas)
        r.push_back(DescreveEntrada(EntradaIndice(tipo, classificacao)));
    return r;
}

class Indice : public teste::PlanoTeste {
protected:
    std::vector<std::string> Gerado()
    {
        Plano();
        return Descreve(teste::LeIndice(CaminhoIndice()));
    }
};

TEST_F(Indice, PlanoSemRegistrosDaApenasAEntradaZero)
{
    GravaPlano({});
    Plano();
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()), std::string(18, '\0'));
}

TEST_F(Indice, ExcluidosFicamDeForaETiposVemDoStatus)
{
    GravaPlano({{"1", T, "C1", "Ativo"},
                {"1.1", X, "C2", "Excluida"},
                {"1.2", T | kStatusS, "C3", "Titulo e S"},
                {"1.2.01", kStatusG, "C4", "G"},
                {"1.2.02", X | T, "C5", "Excluida titulo"},
                {"1.2.03", kStatusS | kStatusG, "C6", "S vence G"},
                {"1.2.04", A, "C7", "Analitica"}});
    EXPECT_EQ(Gerado(), Esperado({{1, "1"},
                                  {3 | kTipoS, "1.2"},
                                  {4 | kTipoG, "1.2.01"},
                                  {6 | kTipoS, "1.2.03"},
                                  {7 | kTipoA, "1.2.04"}}));
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()).size(), 6 * sizeof(REGCON_INDEX));
}

TEST_F(Indice, OrdemDeTextoTituloPrimeiroDepoisChaveDoNome)
{
    // "1.10" before "1.1" in packed order, after it in text order: the generator uses text order.
    GravaPlano({{"1.10", T, "C1", "Dez"},
                {"1.1.01", A, "C2", "\xE9" "clair"},
                {"1.1.01", A, "C3", "Eb"},
                {"1.1.01", T, "C4", "Titulo"},
                {"1.1", T, "C5", "Um"},
                {"1.1.01", A, "C6", "ea"}});
    // Name keys: ECLAIR, EB, EA (the key is upper case).
    EXPECT_EQ(Gerado(), Esperado({{5, "1.1"},
                                  {4, "1.1.01"},
                                  {6 | kTipoA, "1.1.01"},
                                  {3 | kTipoA, "1.1.01"},
                                  {2 | kTipoA, "1.1.01"},
                                  {1, "1.10"}}));
}

// Beyond two chunks the sort runs on two threads: the merge must keep the whole order.
TEST_F(Indice, PlanoGrandeOrdenadoEmDuasMetades)
{
    std::mt19937 gerador(7);
    std::vector<ContaPlano> contas;
    for (int i = 0; i < 9000; ++i) {
        const unsigned v = gerador();
        ContaPlano c;
        c.classificacao = std::to_string(v % 7) + "." + std::to_string(v / 7 % 13) + "." + std::to_string(v / 91 % 5);
        c.status = v % 11 == 0 ? X : v % 5 == 0 ? T : A;
        c.nome = std::string(1, char('A' + v / 455 % 26)) + std::to_string(i);
        contas.push_back(c);
    }
    GravaPlano(contas);
    Plano();
    const auto indice = teste::LeIndice(CaminhoIndice());
    std::set<uint32_t> vistos;
    for (size_t i = 1; i < indice.size(); ++i) {
        const uint32_t r = IDX_INDCON(indice[i].Tipo_IndCon);
        ASSERT_TRUE(r >= 1 && r <= contas.size());
        EXPECT_FALSE(contas[r - 1].status & X);
        EXPECT_TRUE(vistos.insert(r).second) << r;
        if (i == 1)
            continue;
        const ContaPlano& antes = contas[IDX_INDCON(indice[i - 1].Tipo_IndCon) - 1];
        const ContaPlano& agora = contas[r - 1];
        const int c = ComparaTextoClassificacao(antes.classificacao, agora.classificacao);
        ASSERT_LE(c, 0) << i;
        if (c == 0 && agora.status != T) {
            ASSERT_TRUE(antes.status == T || antes.nome <= agora.nome) << i;
        } else if (c == 0) {
            ASSERT_EQ(antes.status, T) << i;
        }
    }
    const auto ativos = std::count_if(contas.begin(), contas.end(), [](const ContaPlano& c) { return !(c.status & X); });
    EXPECT_EQ(vistos.size(), size_t(ativos));
}

TEST_F(Indice, InicializaCriaOIndiceQueFaltaEDeixaOExistente)
{
    GravaPlano({{"1", T, "C1", "Ativo"}, {"2", T, "C2", "Passivo"}});
    ASSERT_FALSE(apoio::Existe(CaminhoIndice()));
    Plano();
    EXPECT_EQ(teste::LeIndice(CaminhoIndice()).size(), 3u);

    // An index that does not match the chart is the binding's to keep, not to fix.
    const std::string proprio = std::string(18, '\0') + std::string(18, '\x5A') + "cauda";
    apoio::GravaTudo(CaminhoIndice(), proprio);
    CClassificacao outro;
    ASSERT_EQ(Inicializa(outro), 0);
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()), proprio);
    EXPECT_EQ(outro.GetArquivoPlano(), m_dir + teste::kArquivoPlano);
    EXPECT_EQ(outro.GetArquivoIndex(), m_dir + teste::kArquivoIndice);
}

TEST_F(Indice, InicializaFalhaSemModuloOuSemDiretorio)
{
    CClassificacao plano;
    {
        apoio::CapturaTrace captura;
        EXPECT_EQ(plano.Inicializa(W("EMPTESTE").c_str(), 1, W("XYZ").c_str(), W("DFPLA001.DAT").c_str(), 96, W("DFIND001.DAT").c_str(), 50),
                  TQHResult(0x80070057));
        EXPECT_EQ(teste::ExpressoesDoTrace(captura.linhas()), std::vector<std::string>{"Inicializa: E_INVALIDARG"});
    }
    {
        apoio::CapturaTrace captura;
        EXPECT_EQ(plano.Inicializa(W("SEMREGISTRO").c_str(), 1, W("df").c_str(), W("DFPLA001.DAT").c_str(), 96, W("DFIND001.DAT").c_str(), 50),
                  TQHResult(0x80043F59));
        EXPECT_EQ(teste::ExpressoesDoTrace(captura.linhas()),
                  std::vector<std::string>{
                      "Inicializa: MAKE_HRESULT( SEVERITY_ERROR, FACILITY_ITF, PROBLEMAS_NO_REGISTRY )"});
    }
    // Never bound: no chart to open.
    apoio::CapturaTrace captura;
    EXPECT_EQ(plano.VerificaAberturaArquivoPadrao(), kSemArquivoPlano);
    EXPECT_EQ(plano.GeraClassificacao(), kSemArquivoPlano);
    EXPECT_EQ(captura.quantidade(), 3u); // the failing open, then GeraClassificacao's own line
}

TEST_F(Indice, FimDeImportacaoSemInicioNaoRegenera)
{
    GravaPlano({{"1", T, "C1", "Ativo"}});
    Plano();
    const std::string antes = apoio::LeTudo(CaminhoIndice());
    GravaPlano({{"1", T, "C1", "Ativo"}, {"2", T, "C2", "Passivo"}});
    EXPECT_EQ(Plano().SetFimImportacao(), 0);
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()), antes);

    // In import mode generation waits for the end of the import.
    ASSERT_EQ(Plano().SetInicioImportacao(false), 0);
    EXPECT_EQ(Plano().GeraClassificacao(), 0);
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()), antes);
    EXPECT_EQ(Plano().SetFimImportacao(), 0);
    EXPECT_EQ(teste::LeIndice(CaminhoIndice()).size(), 3u);
}

class BufferCodigos : public Indice {
protected:
    void SetUp() override
    {
        Indice::SetUp();
        GravaPlano({{"1", T, "Ab", "Ativo"}, {"1.1", X, "Gone", "Excluida"}, {"1.2", A, "cd", "Caixa"}});
    }
    HRESULT Procura(CClassificacao& plano, const std::string& codigo, uint32_t& posicao)
    {
        posicao = 0;
        return plano.ProcuraNoPadrao(codigo, &posicao);
    }
};

TEST_F(BufferCodigos, SemPrepararRespondeEFail)
{
    constexpr HRESULT kEFail = TQHResult(0x80004005);
    apoio::CapturaTrace captura;
    EXPECT_EQ(Plano().AdicionaRegistroNovo(REG_PESQUISA_CODIGO_COM_POSICAO("X", 1)), kEFail);
    EXPECT_EQ(Plano().AtualizaBufferExisteCodigo(), kEFail);
    EXPECT_EQ(Plano().FinalizaBufferExisteCodigo(), kEFail);
    EXPECT_EQ(captura.quantidade(), 0u);

    // Import mode with the buffer, whose vector another call has dropped: not ready.
    ASSERT_EQ(Plano().SetInicioImportacao(true), 0);
    ASSERT_EQ(Plano().FinalizaBufferExisteCodigo(), 0);
    uint32_t posicao = 0;
    EXPECT_EQ(Procura(Plano(), "ab", posicao), statusclass::BufferNaoPronto);
}

TEST_F(BufferCodigos, SubstituiOuAcrescentaEmOrdem)
{
    ASSERT_EQ(Plano().SetInicioImportacao(true), 0);
    uint32_t posicao = 0;
    EXPECT_EQ(Procura(Plano(), "AB", posicao), 0);
    EXPECT_EQ(posicao, 1u);
    EXPECT_EQ(Procura(Plano(), "CD", posicao), 0);
    EXPECT_EQ(posicao, 3u);
    EXPECT_EQ(Procura(Plano(), "Gone", posicao), statusclass::CodigoNaoEncontrado);

    // A code already there takes the new position; a new one joins the order.
    ASSERT_EQ(Plano().AdicionaRegistroNovo(REG_PESQUISA_CODIGO_COM_POSICAO("aB", 9)), 0);
    const std::vector<std::pair<std::string, uint32_t>> novos = {{"zz", 21}, {"Bb", 22}, {"aa", 23}, {"0", 24}};
    for (const auto& [codigo, p] : novos)
        ASSERT_EQ(Plano().AdicionaRegistroNovo(REG_PESQUISA_CODIGO_COM_POSICAO(codigo, p)), 0);
    EXPECT_EQ(Procura(Plano(), "ab", posicao), 0);
    EXPECT_EQ(posicao, 9u);
    const std::vector<std::pair<std::string, uint32_t>> procurados = {{"ZZ", 21}, {"bb", 22}, {"AA", 23}, {"0", 24}};
    for (const auto& [codigo, p] : procurados) {
        EXPECT_EQ(Procura(Plano(), codigo, posicao), 0) << codigo;
        EXPECT_EQ(posicao, p) << codigo;
    }
    EXPECT_EQ(Procura(Plano(), "cd", posicao), 0);
    EXPECT_EQ(posicao, 3u);
}

TEST_F(BufferCodigos, DuasPlanilhasDaEmpresaDividemOVetor)
{
    ASSERT_EQ(Plano().SetInicioImportacao(true), 0);
    CClassificacao outro;
    ASSERT_EQ(Inicializa(outro), 0);
    ASSERT_EQ(outro.SetInicioImportacao(true), 0);
    ASSERT_EQ(outro.AdicionaRegistroNovo(REG_PESQUISA_CODIGO_COM_POSICAO("NOVO", 42)), 0);
    uint32_t posicao = 0;
    EXPECT_EQ(Procura(Plano(), "novo", posicao), 0);
    EXPECT_EQ(posicao, 42u);

    // The other's end drops the company's vector; this store, still ready, rebuilds it from the chart.
    EXPECT_EQ(outro.SetFimImportacao(), 0);
    EXPECT_EQ(Procura(Plano(), "novo", posicao), statusclass::CodigoNaoEncontrado);
    EXPECT_EQ(Procura(Plano(), "cd", posicao), 0);
    EXPECT_EQ(posicao, 3u);
}

class MarcaDeGeracao : public Indice {
protected:
    void TearDown() override
    {
        TQDefineEsperaMarcaParaTestes(50000);
        Indice::TearDown();
    }
};

TEST_F(MarcaDeGeracao, MarcaDeOutroFazAGeracaoFalharSemTocarNoIndice)
{
    GravaPlano({{"1", T, "C1", "Ativo"}});
    Plano();
    const std::string antes = apoio::LeTudo(CaminhoIndice());
    GravaPlano({{"1", T, "C1", "Ativo"}, {"2", T, "C2", "Passivo"}});

    CTQArqMarca outro;
    ASSERT_EQ(outro.Marca(CTQPath::GetParentPath(CaminhoIndice()), ITQArqMarcaEnum::GeracaoDeIDX, 2), 0u);
    TQDefineEsperaMarcaParaTestes(100);
    apoio::CapturaTrace captura;
    EXPECT_EQ(Plano().GeraClassificacao(), TQHResult(0x800443F4));
    EXPECT_EQ(teste::ExpressoesDoTrace(captura.linhas()),
              std::vector<std::string>{"GeraClassificacao: marca.Marca(CTQPath::GetParentPath(m_sArquivoIndex), "
                                       "ITQArqMarcaEnum::GeracaoDeIDX, m_iUsuario)"});
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()), antes);

    outro.Desmarca();
    EXPECT_EQ(Plano().GeraClassificacao(), 0);
    EXPECT_EQ(teste::LeIndice(CaminhoIndice()).size(), 3u);
}

TEST_F(Indice, IndiceComCaudaQuebradaLidoSemPassarDoFim)
{
    GravaPlano({{"1.1", T, "C1", "Ativo"}, {"1.2", T, "C2", "Passivo"}});
    Plano();
    // The second account's entry cut in the middle: only whole entries count.
    std::string indice = apoio::LeTudo(CaminhoIndice());
    ASSERT_EQ(indice.size(), 54u);
    indice.resize(45);
    apoio::GravaTudo(CaminhoIndice(), indice);
    uint32_t posicao = 0;
    EXPECT_EQ(Plano().ExisteClassificacao(W("1.1").c_str(), &posicao), 0);
    EXPECT_EQ(posicao, 1u);
    EXPECT_EQ(Plano().ExisteClassificacao(W("1.2").c_str(), &posicao), statusclass::ClassificacaoInvalida); // not found

    // A tail shorter than one entry: nothing at all.
    apoio::GravaTudo(CaminhoIndice(), std::string(7, '\x01'));
    EXPECT_EQ(Plano().ExisteClassificacao(W("1.1").c_str(), &posicao), statusclass::ClassificacaoInvalida);
}

TEST_F(Indice, RegistroCurtoNoFimNaoEntra)
{
    std::string bytes = teste::ConteudoPlano({{"1", T, "C1", "Ativo"}, {"2", T, "C2", "Passivo"}});
    bytes.resize(bytes.size() - 40);
    apoio::GravaTudo(CaminhoPlano(), bytes);
    EXPECT_EQ(Gerado(), Esperado({{1, "1"}}));
}

} // namespace
