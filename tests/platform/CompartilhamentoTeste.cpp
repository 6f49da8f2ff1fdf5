// The sharing rules between two handles of one process, as Windows applies them.
#include "apoio/Apoio.h"
#include "apoio/FilhoTeste.h"
#include "ModosTeste.h"

#include <cstdlib>

#include "platform/Tempo.h"

using namespace plataforma;
using namespace teste;

namespace {

struct Caso {
    const char* nome;
    const ModoArquivo* primeiro;
    const ModoArquivo* segundo;
    DWORD esperado;
};

const Caso kCasos[] = {
    {"L_L", &kL, &kL, 0},
    {"G_L", &kG, &kL, 0},
    {"L_G", &kL, &kG, 0},
    {"C_L", &kC, &kL, 0},
    {"L_C", &kL, &kC, 0},
    {"G_G", &kG, &kG, erro::ViolacaoCompartilhamento},
    {"G_C", &kG, &kC, erro::ViolacaoCompartilhamento},
    {"C_G", &kC, &kG, erro::ViolacaoCompartilhamento},
    {"Marca_L", &kMarca, &kL, erro::ViolacaoCompartilhamento},
    {"Marca_G", &kMarca, &kG, erro::ViolacaoCompartilhamento},
    {"Marca_C", &kMarca, &kC, erro::ViolacaoCompartilhamento},
    {"Marca_Marca", &kMarca, &kMarca, erro::ViolacaoCompartilhamento},
    {"L_Marca", &kL, &kMarca, erro::ViolacaoCompartilhamento},
    {"G_Marca", &kG, &kMarca, erro::ViolacaoCompartilhamento},
    {"C_Marca", &kC, &kMarca, erro::ViolacaoCompartilhamento},
};

// Names the case in failure reports instead of dumping its bytes.
void PrintTo(const Caso& c, std::ostream* os)
{
    *os << c.nome;
}

class Compartilhamento : public apoio::DiretorioTemporario, public ::testing::WithParamInterface<Caso> {};

} // namespace

TEST_P(Compartilhamento, SegundoHandle)
{
    const Caso& c = GetParam();
    const std::string nome = Caminho("partilhado.dat");
    apoio::GravaTudo(nome, "conteudo");
    ArquivoSO a, b;
    ASSERT_EQ(a.Abre(nome.c_str(), *c.primeiro), 0u);
    EXPECT_EQ(b.Abre(nome.c_str(), *c.segundo), c.esperado);
    EXPECT_EQ(b.EstaAberto(), c.esperado == 0);
    // Whatever the second open did, the first handle still works.
    char byte;
    DWORD lidos = 0;
    EXPECT_EQ(a.Posiciona(0, Origem::Inicio), 0u);
    EXPECT_EQ(a.Le(&byte, 1, lidos), 0u);
    // A refused create must not have truncated the file.
    if (c.esperado != 0 && c.primeiro->disposicao == Disposicao::AbreExistente) {
        uint64_t tamanho = 0;
        EXPECT_EQ(a.Tamanho(tamanho), 0u);
        EXPECT_EQ(tamanho, 8u);
    }
}

INSTANTIATE_TEST_SUITE_P(Modos, Compartilhamento, ::testing::ValuesIn(kCasos),
                         [](const ::testing::TestParamInfo<Caso>& i) { return std::string(i.param.nome); });

using CompartilhamentoLiberado = apoio::DiretorioTemporario;

TEST_F(CompartilhamentoLiberado, FecharLiberaEAbertoNaoSeApagaNemRenomeia)
{
    const std::string nome = Caminho("aberto.dat"), novo = Caminho("novo.dat");
    {
        ArquivoSO marca, outro;
        ASSERT_EQ(marca.Abre(nome.c_str(), kMarca), 0u);
        EXPECT_EQ(outro.Abre(nome.c_str(), kL), erro::ViolacaoCompartilhamento);
        ASSERT_EQ(marca.Grava("x", 1), 0u);
        ASSERT_EQ(marca.Fecha(), 0u);
        ASSERT_EQ(outro.Abre(nome.c_str(), kL), 0u);
        EXPECT_EQ(ApagaArquivo(nome.c_str()), erro::ViolacaoCompartilhamento);
        EXPECT_EQ(RenomeiaArquivo(nome.c_str(), novo.c_str()), erro::ViolacaoCompartilhamento);
        // Still there, under its name, with its content.
        ArquivoSO b;
        ASSERT_EQ(b.Abre(nome.c_str(), kL), 0u);
        EXPECT_EQ(Conteudo(b), "x");
    }
    EXPECT_EQ(RenomeiaArquivo(nome.c_str(), novo.c_str()), 0u);
    EXPECT_EQ(ApagaArquivo(novo.c_str()), 0u);
}

// Run only as a child: holds a file in the mode given ("G" or "marca") until it is killed,
// after creating the signal file.
TEST(CompartilhamentoFilhoLado, SeguraArquivo)
{
    if (!SouFilho())
        GTEST_SKIP() << "only as a child";
    const std::vector<std::string> args = ArgumentosDoFilho();
    ASSERT_EQ(args.size(), 3u);
    ArquivoSO a;
    ASSERT_EQ(a.Abre(args[0].c_str(), args[1] == "G" ? kG : kMarca), 0u);
    apoio::GravaTudo(args[2], "");
    Dorme(120000);
    std::_Exit(0);
}

namespace {

class CompartilhamentoEntreProcessos : public apoio::DiretorioTemporario {
protected:
    // Starts a child that holds the file, and waits until it does.
    void Segura(const std::string& nome, const char* modo)
    {
        const std::string pronto = Caminho("pronto");
        ASSERT_EQ(RodaFilho("CompartilhamentoFilhoLado.SeguraArquivo", {nome, modo, pronto}, m_filho), 0u);
        bool somenteLeitura = false;
        for (int i = 0; i < 3000 && LeSomenteLeitura(pronto.c_str(), somenteLeitura) != 0; ++i) {
            ASSERT_FALSE(m_filho.Espera(0)) << "the child ended before holding the file";
            Dorme(10);
        }
        ASSERT_EQ(LeSomenteLeitura(pronto.c_str(), somenteLeitura), 0u) << "the child never held the file";
    }
    void TearDown() override
    {
        m_filho.Termina();
        apoio::DiretorioTemporario::TearDown();
    }

    ProcessoFilho m_filho;
};

} // namespace

TEST_F(CompartilhamentoEntreProcessos, GravadorDeOutroProcessoExcluiOutroGravador)
{
    const std::string nome = Caminho("partilhado.dat");
    apoio::GravaTudo(nome, "x");
    ASSERT_NO_FATAL_FAILURE(Segura(nome, "G"));
    ArquivoSO a;
    EXPECT_EQ(a.Abre(nome.c_str(), kG), erro::ViolacaoCompartilhamento);
    EXPECT_EQ(a.Abre(nome.c_str(), kMarca), erro::ViolacaoCompartilhamento);
    EXPECT_EQ(a.Abre(nome.c_str(), kL), 0u);
    a.Fecha();
    EXPECT_EQ(ApagaArquivo(nome.c_str()), erro::ViolacaoCompartilhamento);
    // Its end releases the file.
    m_filho.Termina();
    EXPECT_EQ(a.Abre(nome.c_str(), kG), 0u);
}

TEST_F(CompartilhamentoEntreProcessos, MarcaDeOutroProcessoExcluiTodos)
{
    const std::string nome = Caminho("marca.mrk");
    ASSERT_NO_FATAL_FAILURE(Segura(nome, "marca"));
    ArquivoSO a;
    EXPECT_EQ(a.Abre(nome.c_str(), kL), erro::ViolacaoCompartilhamento);
    EXPECT_EQ(a.Abre(nome.c_str(), kMarca), erro::ViolacaoCompartilhamento);
    m_filho.Termina();
    EXPECT_EQ(a.Abre(nome.c_str(), kMarca), 0u);
    EXPECT_TRUE(a.JaExistia());
}
