// Between real processes: a mask change killed at any of its steps leaves chart and masks
// agreeing with every account there, the next call sees what another process wrote, and a
// listing never sees half an index. A change refused because another object holds the chart
// changes nothing. (Sharing and appends between processes are the file layer's and the server's
// two-process tests.)
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "ServicoTeste.h"
#include "apoio/FilhoTeste.h"
#include "df/planoalt/ArquivosPlano.h"
#include "df/planoalt/IntencaoMascara.h"
#include "df/tqlibex/GanchosTeste.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Arquivo.h"
#include "platform/Processo.h"
#include "platform/Tempo.h"

namespace {

constexpr DWORD kEsperaFilho = 600000;
constexpr HRESULT kCompartilhamento = TQHResult(0x80043EEE);
constexpr HRESULT kMarcaDeixada = TQHResult(0x80043F51);
constexpr const char* kMascaraVelha = "9.9.99";
constexpr const char* kMascaraNova = "99.9.999";

std::string Sinal(const std::string& dir, const std::string& nome) { return dir + "sinal-" + nome; }

// The business object of a child, in the company the parent set up.
void InicializaNoFilho(teste::ObjetoServico& objeto)
{
    _REG_DF_INICIALIZAPS r{};
    r.ulUsuario = 7;
    std::strcpy(r.szEmpresa, "0001");
    ASSERT_EQ(objeto.Inicializa(r), S_OK);
}

REG_PLANO_ALT_PS Conta(const std::string& classificacao, char tipo, const std::string& nome)
{
    REG_PLANO_ALT_PS r{};
    std::memcpy(r.cClassificacao, classificacao.data(), std::min<size_t>(classificacao.size(), 28));
    std::memcpy(r.cNome, nome.data(), std::min<size_t>(nome.size(), 50));
    r.cTipo = uint8_t(tipo);
    return r;
}

// The child's exit code is its answer; leaving at once keeps its summary out of the parent's log.
[[noreturn]] void SaiDoFilho() { std::_Exit(::testing::Test::HasFailure() ? 1 : 0); }

// A child's arguments (the data directory first), with its object on plan 1.
std::vector<std::string> IniciaFilho(size_t quantos, teste::ObjetoServico& objeto)
{
    std::vector<std::string> args = teste::ArgumentosDoFilho();
    EXPECT_EQ(args.size(), quantos);
    args.resize(quantos);
    InicializaNoFilho(objeto);
    EXPECT_EQ(objeto.SetPlano(1), S_OK);
    return args;
}

} // namespace

// Children. Each runs only when started by a parent test, with the data directory first.

// Changes the masks of plan 1, ended as by a kill at the critical point given (0: none).
TEST(ConfiabilidadeFilho, AlteraMascara)
{
    if (!teste::SouFilho())
        GTEST_SKIP() << "only as a child";
    teste::ObjetoServico objeto;
    const auto args = IniciaFilho(2, objeto);
    _MASCARA_PLANO_ALT m{};
    std::strcpy(m.Nova[1], kMascaraNova);
    TQDefinePassoFatalParaTestes(std::atoi(args[1].c_str()));
    EXPECT_EQ(objeto.AlteraMascara(&m), S_OK);
    SaiDoFilho();
}

// Gives account 4 of plan 1 a new name and the own code "NOVO".
TEST(ConfiabilidadeFilho, AlteraConta)
{
    if (!teste::SouFilho())
        GTEST_SKIP() << "only as a child";
    {
        teste::ObjetoServico objeto;
        IniciaFilho(1, objeto);
        REG_PLANO_ALT_PS r;
        ASSERT_EQ(objeto.Le(4, &r), S_OK);
        std::strcpy(r.cNome, "Renomeada");
        std::strcpy(r.cCodigoProprio, "NOVO");
        LONG posicao = 0;
        ASSERT_EQ(objeto.Grava(4, r, &posicao), S_OK);
    }
    SaiDoFilho();
}

// Rewrites plan 1's index from its chart, over and over, until told to stop.
TEST(ConfiabilidadeFilho, ReescreveIndice)
{
    if (!teste::SouFilho())
        GTEST_SKIP() << "only as a child";
    {
        teste::ObjetoServico objeto;
        const std::string dir = IniciaFilho(1, objeto)[0];
        apoio::GravaTudo(Sinal(dir, "reescrevendo"), "");
        while (!apoio::Existe(Sinal(dir, "para")))
            ASSERT_EQ(objeto.m_pClassificacao->GeraClassificacao(), S_OK);
    }
    SaiDoFilho();
}

namespace {

class Confiabilidade : public teste::ServicoTeste {
protected:
    void TearDown() override
    {
        if (!m_filho.Espera(0))
            m_filho.Termina();
        ServicoTeste::TearDown();
    }

    void Filho(const char* teste, std::vector<std::string> extras)
    {
        ASSERT_EQ(teste::RodaFilho(teste, extras, m_filho), 0u);
    }

    DWORD FimDoFilho()
    {
        DWORD codigo = 99;
        EXPECT_TRUE(m_filho.Espera(kEsperaFilho, &codigo));
        return codigo;
    }

    // A plan whose accounts each say, in their name, their classification under either mask.
    void PlanoComContas(int contas)
    {
        SelecionaPlano(kMascaraVelha);
        LONG posicao = 0;
        ASSERT_EQ(m_objeto.Grava(0, Conta("1", 'T', "1|10"), &posicao), S_OK);
        ASSERT_EQ(m_objeto.Grava(0, Conta("1.1", 'T', "1.1|10.1"), &posicao), S_OK);
        for (int i = 1; i <= contas; ++i) {
            char velha[16], nova[16];
            std::snprintf(velha, sizeof velha, "1.1.%02d", i % 100);
            std::snprintf(nova, sizeof nova, "10.1.%03d", i % 100);
            ASSERT_EQ(m_objeto.Grava(0, Conta(velha, 'A', std::string(velha) + "|" + nova), &posicao), S_OK);
        }
        ASSERT_EQ(m_objeto.m_pClassificacao->Exclui(3), S_OK) << "a deleted account keeps its classification";
    }

    std::vector<REGCON_INDEX_ALT_PS> Indice(teste::ObjetoServico& objeto)
    {
        ARRAY_REGCON_INDEX_ALT_PS* lista = nullptr;
        EXPECT_EQ(objeto.GetPlanoIndex(Texto("X").c_str(), 0, &lista), S_OK);
        std::vector<REGCON_INDEX_ALT_PS> r;
        if (lista && lista->pArrayRegConIndex)
            r.assign(lista->pArrayRegConIndex, lista->pArrayRegConIndex + lista->iQtde);
        if (lista) {
            plataforma::LiberaTarefa(lista->pArrayRegConIndex);
            plataforma::LiberaTarefa(lista);
        }
        r.erase(std::remove_if(r.begin(), r.end(), [](const auto& e) { return e.Tipo_IndCon == 0; }), r.end());
        return r;
    }

    // Plan 1 as a fresh process finds it: the masks and every account in one form, all there,
    // and the index listing each live account once.
    void ConfereCoerente(teste::ObjetoServico& objeto, size_t contas, const std::string& dados)
    {
        ASSERT_EQ(objeto.SetPlano(1), S_OK);
        REG_MASCARA_ALT_PS mascara;
        ASSERT_EQ(objeto.BuscaMascara(1, &mascara), S_OK);
        const bool nova = std::strcmp(mascara.Mascara[1], kMascaraNova) == 0;
        ASSERT_TRUE(nova || std::strcmp(mascara.Mascara[1], kMascaraVelha) == 0) << mascara.Mascara[1];
        ULONG quantidade = 0;
        ASSERT_EQ(objeto.GetQuantidadeRegistros(&quantidade), S_OK);
        ASSERT_EQ(quantidade, contas + 1) << "record 0 counts";
        std::multiset<std::string> vivas;
        for (LONG p = 1; p <= LONG(contas); ++p) {
            REG_PLANO_ALT_PS r;
            ASSERT_EQ(objeto.Le(p, &r), S_OK) << p;
            const std::string nome = r.cNome;
            const std::string velha = nome.substr(0, nome.find('|')), esperada = nome.substr(nome.find('|') + 1);
            EXPECT_EQ(r.cClassificacao, r.cExcluida || !nova ? velha : esperada) << "account " << p;
            if (!r.cExcluida)
                vivas.insert(r.cClassificacao);
        }
        std::multiset<std::string> listadas;
        for (const auto& e : Indice(objeto))
            listadas.insert(DesempacotaClassificacao(reinterpret_cast<const uint8_t*>(e.Classificacao)));
        EXPECT_EQ(listadas, vivas);
        EXPECT_FALSE(apoio::Existe(dados + kArquivoIntencao));
    }

    plataforma::ProcessoFilho m_filho;
};

// Another object holds the chart (a read leaves the store's handle open) until a write lets it
// go; between processes the same sharing is the file layer's test.
TEST_F(Confiabilidade, MudancaRecusadaEnquantoOutroSeguraOPlano)
{
    PlanoComContas(5);
    const std::string plano = apoio::LeTudo(m_dir + "DFPLA001.DAT");
    const std::string indice = apoio::LeTudo(m_dir + "DFIND001.DAT");
    const std::string mascaras = apoio::LeTudo(m_dir + kArquivoMascaras);
    teste::ObjetoServico outro;
    ASSERT_NO_FATAL_FAILURE(InicializaNoFilho(outro));
    ASSERT_EQ(outro.SetPlano(1), S_OK);
    REG_PLANO_ALT_PS r;
    ASSERT_EQ(outro.Le(1, &r), S_OK);
    _MASCARA_PLANO_ALT m{};
    std::strcpy(m.Nova[1], kMascaraNova);
    {
        apoio::CapturaTrace trace;
        EXPECT_EQ(m_objeto.AlteraMascara(&m), kCompartilhamento);
        EXPECT_EQ(trace.quantidade(), 1u);
    }
    EXPECT_EQ(apoio::LeTudo(m_dir + "DFPLA001.DAT"), plano);
    EXPECT_EQ(apoio::LeTudo(m_dir + "DFIND001.DAT"), indice);
    EXPECT_EQ(apoio::LeTudo(m_dir + kArquivoMascaras), mascaras);
    EXPECT_FALSE(apoio::Existe(m_dir + kArquivoIntencao));

    LONG posicao = 0;
    ASSERT_EQ(outro.Grava(1, r, &posicao), S_OK);
    ASSERT_EQ(m_objeto.AlteraMascara(&m), S_OK);
}

TEST_F(Confiabilidade, ChamadaSeguinteVeOQueOutroProcessoGravou)
{
    PlanoComContas(5);
    REG_PLANO_ALT_PS r;
    LONG posicao = 0;
    ASSERT_EQ(m_objeto.Le(4, &r), S_OK);
    ASSERT_EQ(m_objeto.Existe(Texto("NOVO").c_str(), 1, &posicao, &r), statusclass::NaoEncontrado);
    ASSERT_NO_FATAL_FAILURE(Filho("ConfiabilidadeFilho.AlteraConta", {m_dir}));
    ASSERT_EQ(FimDoFilho(), 0u);
    // The whole chart was in this process's read-ahead: the next call must not answer from it.
    m_objeto.IniciaChamada();
    ASSERT_EQ(m_objeto.Le(4, &r), S_OK);
    EXPECT_STREQ(r.cNome, "Renomeada");
    EXPECT_STREQ(r.cCodigoProprio, "NOVO");
    m_objeto.IniciaChamada();
    ASSERT_EQ(m_objeto.Existe(Texto("novo").c_str(), 1, &posicao, &r), S_OK);
    EXPECT_EQ(posicao, 4);
}

TEST_F(Confiabilidade, ListagemNuncaVeIndicePelaMetade)
{
    // Large enough that the index is written in several pieces.
    PlanoComContas(4000);
    const size_t vivas = Indice(m_objeto).size();
    ASSERT_NO_FATAL_FAILURE(Filho("ConfiabilidadeFilho.ReescreveIndice", {m_dir}));
    ASSERT_TRUE(apoio::EsperaArquivo(Sinal(m_dir, "reescrevendo"), kEsperaFilho));
    for (int i = 0; i < 200 && !HasFailure(); ++i)
        ASSERT_EQ(Indice(m_objeto).size(), vivas) << "listing " << i;
    apoio::GravaTudo(Sinal(m_dir, "para"), "");
    ASSERT_EQ(FimDoFilho(), 0u);
}

// The parameter: whether the suite's marker of the current mark scheme is installed.
class MudancaInterrompida : public Confiabilidade, public ::testing::WithParamInterface<bool> {};

TEST_P(MudancaInterrompida, CadaPassoDeixaPlanoEMascarasConcordando)
{
    const bool esquemaAtual = GetParam();
    if (esquemaAtual) {
        ASSERT_EQ(plataforma::CriaDiretorio((m_dir + "DF").c_str()), 0u);
        apoio::GravaTudo(m_dir + "DF" + plataforma::kSeparador + "marcanovo.dat", "");
    }
    constexpr int kContas = 12;
    std::string dados;
    int passo = 1;
    for (;; ++passo) {
        SCOPED_TRACE("killed at critical point " + std::to_string(passo));
        ASSERT_LT(passo, 40) << "the change never ran to its end";
        // A data directory of its own for each kill, below the scheme's marker.
        dados = m_dir + "E" + std::to_string(passo) + plataforma::kSeparador;
        ASSERT_EQ(plataforma::CriaDiretorio(dados.c_str()), 0u);
        GravaTexto(plataforma::RaizRegistro::LocalMachine, CTQPath::CombinaChave(kChaveSuiteBarra, "Empresas\\0001"),
                   "DF", dados);
        // This object now works there too; it lets go of the chart before the child changes it.
        ASSERT_NO_FATAL_FAILURE(InicializaNoFilho(m_objeto));
        ASSERT_NO_FATAL_FAILURE(PlanoComContas(kContas));
        m_objeto.m_pClassificacao.reset();

        ASSERT_NO_FATAL_FAILURE(Filho("ConfiabilidadeFilho.AlteraMascara", {dados, std::to_string(passo)}));
        const DWORD codigo = FimDoFilho();
        ASSERT_TRUE(codigo == DWORD(kSaidaPassoFatal) || codigo == 0) << codigo;

        teste::ObjetoServico novo;
        ASSERT_NO_FATAL_FAILURE(InicializaNoFilho(novo));
        if (!esquemaAtual && codigo != 0) {
            // The older scheme's mark outlives its holder: recovery is blocked until an
            // administrator clears it, which is safe now that no process holds it.
            if (apoio::Existe(dados + kArquivoIntencao)) {
                EXPECT_EQ(novo.SetPlano(1), kMarcaDeixada);
            }
            _REG_DF_FUNCAO_GENERICAPS* saida = nullptr;
            ASSERT_EQ(novo.FuncaoGenerica(kFuncaoLiberaMarcaDeixada, {}, &saida), S_OK);
            ASSERT_TRUE(saida && saida->ulQtdBytes == 1);
            EXPECT_EQ(saida->pListaBytes[0], 8) << "the mark of the masks was left";
            plataforma::LiberaTarefa(saida->pListaBytes);
            plataforma::LiberaTarefa(saida);
        }
        ASSERT_NO_FATAL_FAILURE(ConfereCoerente(novo, kContas + 2, dados));
        if (codigo == 0)
            break;
    }
    EXPECT_GE(passo, 6) << "every step of the change is a critical point";
}

INSTANTIATE_TEST_SUITE_P(Esquemas, MudancaInterrompida, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "MarcaAtual" : "MarcaAnterior");
                         });

} // namespace
