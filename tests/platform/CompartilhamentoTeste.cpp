// The sharing rules between handles, as Windows applies them (between processes: MultiProcessoTeste).
#include "apoio/Apoio.h"
#include "ModosTeste.h"

using namespace plataforma;
using namespace teste;

using Compartilhamento = apoio::DiretorioTemporario;

TEST_F(Compartilhamento, SegundoHandleDeCadaModo)
{
    // W: a writer that lets others write too, as the earlier mark scheme's record is held.
    const ModoArquivo kW{true, true, true, true, Disposicao::AbreExistente};
    const ModoArquivo* modos[] = {&kL, &kG, &kC, &kMarca, &kW};
    // By first handle (row) and second (column), L G C Marca W: '1' where the second is refused.
    const char* recusas[] = {"00010", "01111", "01111", "11111", "01110"};
    const std::string nome = Caminho("partilhado.dat");
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 5; ++j) {
            SCOPED_TRACE(std::to_string(i) + "_" + std::to_string(j));
            const DWORD esperado = recusas[i][j] == '1' ? erro::ViolacaoCompartilhamento : 0;
            apoio::GravaTudo(nome, "conteudo");
            ArquivoSO a, b;
            ASSERT_EQ(a.Abre(nome.c_str(), *modos[i]), 0u);
            EXPECT_EQ(b.Abre(nome.c_str(), *modos[j]), esperado);
            EXPECT_EQ(b.EstaAberto(), esperado == 0);
            // Whatever the second open did, the first handle still works; a refused create truncated nothing.
            char byte;
            DWORD lidos = 0;
            EXPECT_EQ(a.Posiciona(0, Origem::Inicio), 0u);
            EXPECT_EQ(a.Le(&byte, 1, lidos), 0u);
            if (esperado != 0 && modos[i]->disposicao == Disposicao::AbreExistente) {
                EXPECT_EQ(Conteudo(a), "conteudo");
            }
        }
    }
}

TEST_F(Compartilhamento, FecharLiberaEAbertoNaoSeApagaNemRenomeia)
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
        EXPECT_EQ(Conteudo(outro), "x") << "still there, under its name";
    }
    EXPECT_EQ(RenomeiaArquivo(nome.c_str(), novo.c_str()), 0u);
    EXPECT_EQ(ApagaArquivo(novo.c_str()), 0u);
}
