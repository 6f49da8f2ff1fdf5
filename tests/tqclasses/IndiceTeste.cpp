// The index as the store generates it, the binding to a chart, import mode and the generation
// mark. (The import's buffer of existing codes has no caller in this system and no test.)
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "PlanoTeste.h"
#include "apoio/Apoio.h"
#include "df/tqclasses/Classificacao.h"
#include "df/tqclasses/OrdenacaoParalela.h"
#include "df/tqlibex/GanchosTeste.h"
#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQArqMarca.h"
#include "df/tqlibex/TQPath.h"

namespace {

using namespace teste;

constexpr uint8_t X = kStatusExcluido;

// Entry 0 (18 zero bytes), then the given entries.
std::vector<std::string> Esperado(const std::vector<std::pair<uint32_t, std::string>>& esperadas)
{
    std::vector<std::string> r{DescreveEntrada(REGCON_INDEX{})};
    for (const auto& [tipo, classificacao] : esperadas)
        r.push_back(DescreveEntrada(EntradaIndice(tipo, classificacao)));
    return r;
}

class Indice : public PlanoTeste {
protected:
    std::vector<std::string> Gerado()
    {
        Plano();
        return IndiceDescrito();
    }
    // The index of a chart of one title, to which a second title is then added behind the
    // store's back; what a regeneration writes is kDuasContas.
    std::string IndiceDeUmaConta()
    {
        GravaPlano({{"1", T, "C1", "Ativo"}});
        Plano();
        GravaPlano({{"1", T, "C1", "Ativo"}, {"2", T, "C2", "Passivo"}});
        return apoio::LeTudo(CaminhoIndice());
    }
    const std::vector<std::string> kDuasContas = Esperado({{1, "1"}, {2, "2"}});
};

TEST_F(Indice, PlanoSemRegistrosDaApenasAEntradaZero)
{
    GravaPlano({});
    Plano();
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()), std::string(18, '\0'));
}

// From two chunks of live accounts the sort runs on two threads: the merge must keep the whole
// order. The classifications have levels of one and two digits, where text and packed order differ.
TEST_F(Indice, PlanoGrandeOrdenadoEmDuasMetades)
{
    std::mt19937 gerador(7);
    std::vector<ContaPlano> contas;
    size_t vivas = 0;
    for (int i = 0; vivas < 2 * kPedacoOrdenacao; ++i) {
        const unsigned v = gerador();
        ContaPlano c;
        c.classificacao = std::to_string(v % 7) + "." + std::to_string(v / 7 % 13) + "." + std::to_string(v / 91 % 5);
        c.status = v % 11 == 0 ? X : v % 5 == 0 ? T : A;
        c.nome = std::string(1, char('A' + v / 455 % 26)) + std::to_string(i); // its own name key
        vivas += c.status != X;
        contas.push_back(c);
    }
    GravaPlano(contas);
    Plano();
    const auto indice = LeIndice(CaminhoIndice());
    ASSERT_EQ(indice.size(), vivas + 1);
    // Text order of classifications, titles first among equal ones, then the name key.
    const auto ordem = [&](const REGCON_INDEX& e) {
        const ContaPlano& c = contas.at(IDX_INDCON(e.Tipo_IndCon) - 1);
        const bool titulo = TipoDoStatus(c.status) == 'T';
        return std::make_tuple(DesempacotaClassificacao(e.Classificacao), !titulo,
                               titulo ? std::string() : ChaveNomeIndice(c.nome.c_str(), kTamanhoNomePlano));
    };
    for (size_t i = 2; i < indice.size(); ++i)
        ASSERT_LE(ordem(indice[i - 1]), ordem(indice[i])) << "entry " << i;
}

TEST_F(Indice, InicializaCriaOIndiceQueFaltaEDeixaOExistente)
{
    GravaPlano({{"1", T, "C1", "Ativo"}, {"2", T, "C2", "Passivo"}});
    ASSERT_FALSE(apoio::Existe(CaminhoIndice()));
    EXPECT_EQ(Gerado(), kDuasContas);

    // An index that does not match the chart is the binding's to keep, not to fix.
    const std::string proprio = std::string(18, '\0') + std::string(18, '\x5A') + "cauda";
    apoio::GravaTudo(CaminhoIndice(), proprio);
    CClassificacao outro;
    ASSERT_EQ(Inicializa(outro), 0);
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()), proprio);
}

TEST_F(Indice, InicializaFalhaSemModuloOuSemDiretorio)
{
    CClassificacao plano;
    const auto inicializa = [&](const char* empresa, const char* modulo, const char* expressao, HRESULT esperado) {
        apoio::CapturaTrace captura;
        EXPECT_EQ(plano.Inicializa(Ole(empresa).c_str(), 1, Ole(modulo).c_str(), Ole(kArquivoPlano).c_str(), 96,
                                   Ole(kArquivoIndice).c_str(), 50),
                  esperado);
        EXPECT_EQ(ExpressoesDoTrace(captura.linhas()), std::vector<std::string>{expressao});
    };
    inicializa(kEmpresaPlano, "XYZ", "Inicializa: E_INVALIDARG", TQHResult(0x80070057));
    inicializa("SEMREGISTRO", "df", "Inicializa: MAKE_HRESULT( SEVERITY_ERROR, FACILITY_ITF, PROBLEMAS_NO_REGISTRY )",
               TQHResult(0x80043F59));
    // Never bound: no chart to open.
    apoio::CapturaTrace captura;
    EXPECT_EQ(plano.VerificaAberturaArquivoPadrao(), kSemArquivoPlano);
    EXPECT_EQ(plano.GeraClassificacao(), kSemArquivoPlano);
    const std::string semPlano = "VerificaAberturaArquivoPadrao: MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 2504)";
    EXPECT_EQ(ExpressoesDoTrace(captura.linhas()),
              (std::vector<std::string>{semPlano, semPlano, "GeraClassificacao: VerificaAberturaArquivoPadrao()"}));
}

TEST_F(Indice, ImportacaoGuardaOPlanoAteOFim)
{
    GravaPlano({{"1", T, "C1", "Ativo"}});
    ASSERT_EQ(Plano().SetInicioImportacao(false), 0);
    uint32_t pos = 0;
    const auto caixa = RegistroPlano({"1.1", 0, "C2", "Caixa"});
    ASSERT_EQ(Plano().GravaDados(caixa.data(), &pos), 0);
    // A read sees the appends the import still holds in memory.
    std::vector<uint8_t> lido(caixa.size());
    EXPECT_EQ(Plano().Le(pos, lido.data()), 0);
    EXPECT_EQ(lido, caixa);
    // Generation waits for the end of the import.
    EXPECT_EQ(Plano().GeraClassificacao(), 0);
    EXPECT_EQ(IndiceDescrito(), Esperado({{1, "1"}}));
    // Another writer waits through its retries and gives up, leaving the files as they were.
    CClassificacao outro;
    ASSERT_EQ(Inicializa(outro), 0);
    const auto antes = Arquivos();
    const auto registro = RegistroPlano({"2", T, "C3", "Passivo"});
    uint32_t posOutro = 0;
    EXPECT_EQ(outro.GravaDados(registro.data(), &posOutro), statusarq::Compartilhamento.ComoHResult());
    EXPECT_EQ(Arquivos(), antes);
    // The end of the import makes the index and lets the others write again.
    ASSERT_EQ(Plano().SetFimImportacao(), 0);
    EXPECT_EQ(IndiceDescrito(), Esperado({{1, "1"}, {2 | kTipoA, "1.1"}}));
    EXPECT_EQ(outro.GravaDados(registro.data(), &posOutro), 0);
    EXPECT_EQ(posOutro, 3u);
}

TEST_F(Indice, MarcaDeOutroFazAGeracaoFalharSemTocarNoIndice)
{
    const std::string antes = IndiceDeUmaConta();
    CTQArqMarca outro;
    ASSERT_EQ(outro.Marca(CTQPath::GetParentPath(CaminhoIndice()), ITQArqMarcaEnum::GeracaoDeIDX, 2), 0u);
    struct RestauraEspera {
        ~RestauraEspera() { TQDefineEsperaMarcaParaTestes(50000); }
    } restaura;
    TQDefineEsperaMarcaParaTestes(100);
    apoio::CapturaTrace captura;
    EXPECT_EQ(Plano().GeraClassificacao(), TQHResult(0x800443F4));
    EXPECT_EQ(ExpressoesDoTrace(captura.linhas()),
              std::vector<std::string>{"GeraClassificacao: marca.Marca(CTQPath::GetParentPath(m_sArquivoIndex), "
                                       "ITQArqMarcaEnum::GeracaoDeIDX, m_iUsuario)"});
    EXPECT_EQ(apoio::LeTudo(CaminhoIndice()), antes);

    outro.Desmarca();
    EXPECT_EQ(Plano().GeraClassificacao(), 0);
    EXPECT_EQ(IndiceDescrito(), kDuasContas);
}

} // namespace
