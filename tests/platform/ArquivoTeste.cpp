// Reading, writing, positions, creation dispositions and directory operations.
#include "apoio/Apoio.h"
#include "ModosTeste.h"

using namespace plataforma;
using namespace teste;

using Arquivo = apoio::DiretorioTemporario;

TEST_F(Arquivo, GravaLePosicionaECorta)
{
    ArquivoSO a;
    ASSERT_EQ(a.Abre(Caminho("dados.dat").c_str(), kC), 0u);
    EXPECT_FALSE(a.JaExistia());
    std::string dados(100, '\0');
    for (size_t i = 0; i < dados.size(); ++i)
        dados[i] = static_cast<char>(i * 7);
    ASSERT_EQ(a.Grava(dados.data(), 100), 0u);

    uint64_t tamanho = 0, posicao = 0;
    ASSERT_EQ(a.Tamanho(tamanho), 0u);
    EXPECT_EQ(tamanho, 100u);
    ASSERT_EQ(a.Posiciona(-30, Origem::Fim, &posicao), 0u);
    EXPECT_EQ(posicao, 70u);
    ASSERT_EQ(a.Posiciona(5, Origem::Atual, &posicao), 0u);
    EXPECT_EQ(posicao, 75u);

    const uint64_t leiturasAntes = LeiturasPlataforma();
    char buf[64];
    DWORD lidos = 0;
    ASSERT_EQ(a.Le(buf, sizeof buf, lidos), 0u);
    EXPECT_EQ(lidos, 25u); // short only at the end
    EXPECT_EQ(std::string(buf, lidos), dados.substr(75));
    ASSERT_EQ(a.Le(buf, sizeof buf, lidos), 0u);
    EXPECT_EQ(lidos, 0u);
    EXPECT_EQ(LeiturasPlataforma() - leiturasAntes, 2u);

    ASSERT_EQ(a.Posiciona(10, Origem::Inicio), 0u);
    ASSERT_EQ(a.DefineFim(), 0u);
    ASSERT_EQ(a.Tamanho(tamanho), 0u);
    EXPECT_EQ(tamanho, 10u);
    EXPECT_EQ(Conteudo(a), dados.substr(0, 10));

    // A write past the end extends the file with zeros.
    ASSERT_EQ(a.Posiciona(1000, Origem::Inicio), 0u);
    ASSERT_EQ(a.Grava("x", 1), 0u);
    EXPECT_EQ(Conteudo(a), dados.substr(0, 10) + std::string(990, '\0') + "x");
    EXPECT_EQ(a.Posiciona(-1, Origem::Inicio), erro::BuscaNegativa);
}

TEST_F(Arquivo, CriarTruncaEAbrirSempreMantem)
{
    const std::string nome = Caminho("existe.dat");
    ModoArquivo sempre = kG;
    sempre.disposicao = Disposicao::AbreSempre;
    {
        ArquivoSO a;
        ASSERT_EQ(a.Abre(nome.c_str(), sempre), 0u);
        EXPECT_FALSE(a.JaExistia());
        ASSERT_EQ(a.Grava("abc", 3), 0u);
    }
    {
        ArquivoSO a;
        ASSERT_EQ(a.Abre(nome.c_str(), sempre), 0u);
        EXPECT_TRUE(a.JaExistia());
        EXPECT_EQ(Conteudo(a), "abc");
    }
    ArquivoSO a;
    ASSERT_EQ(a.Abre(nome.c_str(), kC), 0u);
    EXPECT_TRUE(a.JaExistia());
    EXPECT_EQ(Conteudo(a), "");
}

TEST_F(Arquivo, NomesSemDistincaoDeCaixa)
{
    apoio::GravaTudo(Caminho("abc.dat"), "minusculas");
    const std::string maiusculas = m_dir + "ABC.DAT";
    {
        // One file under both names: the sharing rules see it as such.
        ArquivoSO g1, g2;
        ASSERT_EQ(g1.Abre((m_dir + "Abc.Dat").c_str(), kG), 0u);
        EXPECT_EQ(g2.Abre(maiusculas.c_str(), kG), erro::ViolacaoCompartilhamento);
    }
    // A create under another case reuses the file instead of making a twin.
    ArquivoSO c;
    ASSERT_EQ(c.Abre(maiusculas.c_str(), kC), 0u);
    EXPECT_TRUE(c.JaExistia());
    c.Fecha();
    EXPECT_EQ(ApagaArquivo((m_dir + "aBc.dat").c_str()), 0u);
    EXPECT_FALSE(apoio::Existe(Caminho("abc.dat")));
}

TEST_F(Arquivo, SomenteLeituraRecusaEscrita)
{
    const std::string nome = Caminho("protegido.dat");
    apoio::GravaTudo(nome, "dados");
    ASSERT_EQ(DefineSomenteLeitura(nome.c_str(), true), 0u);
    ArquivoSO a;
    EXPECT_EQ(a.Abre(nome.c_str(), kG), erro::AcessoNegado);
    EXPECT_EQ(a.Abre(nome.c_str(), kC), erro::AcessoNegado);
    ASSERT_EQ(a.Abre(nome.c_str(), kL), 0u);
    EXPECT_EQ(Conteudo(a), "dados");
    a.Fecha();
    EXPECT_EQ(ApagaArquivo(nome.c_str()), erro::AcessoNegado);
    ASSERT_EQ(DefineSomenteLeitura(nome.c_str(), false), 0u);
    EXPECT_EQ(a.Abre(nome.c_str(), kG), 0u);
}

TEST_F(Arquivo, NomesAusentesRenomearEDiretorios)
{
    ArquivoSO a;
    EXPECT_EQ(a.Abre(Caminho("nao-existe.dat").c_str(), kL), erro::ArquivoNaoEncontrado);
    EXPECT_EQ(a.Abre((m_dir + "pasta-que-falta" + kSeparador + "x.dat").c_str(), kC), erro::CaminhoNaoEncontrado);
    EXPECT_EQ(a.Abre("", kL), erro::NomeInvalido); // the same on both builds
    EXPECT_EQ(ApagaArquivo(Caminho("nunca.dat").c_str()), erro::ArquivoNaoEncontrado);
    const std::string de = Caminho("de.dat"), para = Caminho("para.dat"), outro = Caminho("outro.dat");
    apoio::GravaTudo(de, "1");
    apoio::GravaTudo(outro, "2");
    EXPECT_EQ(RenomeiaArquivo(de.c_str(), outro.c_str()), erro::JaExiste);
    ASSERT_EQ(RenomeiaArquivo(de.c_str(), para.c_str()), 0u);
    EXPECT_FALSE(apoio::Existe(de));
    EXPECT_EQ(apoio::LeTudo(para), "1");
    const std::string sub = m_dir + "sub";
    ASSERT_EQ(CriaDiretorio(sub.c_str()), 0u);
    EXPECT_EQ(CriaDiretorio(sub.c_str()), erro::JaExiste);
    const std::string dentro = Caminho(std::string("sub") + kSeparador + "f.dat");
    apoio::GravaTudo(dentro, "x");
    EXPECT_EQ(RemoveDiretorio(sub.c_str()), erro::DiretorioNaoVazio);
    ASSERT_EQ(ApagaArquivo(dentro.c_str()), 0u);
    EXPECT_EQ(RemoveDiretorio(sub.c_str()), 0u);
    // A directory in the file's place is refused at once, in every mode.
    ASSERT_EQ(CriaDiretorio(sub.c_str()), 0u);
    for (const ModoArquivo& modo : {kL, kG, kC})
        EXPECT_EQ(a.Abre(sub.c_str(), modo), erro::TipoDispositivoInvalido);
    EXPECT_EQ(ClassificaErroArquivo(erro::TipoDispositivoInvalido), TipoErroArquivo::ArquivoInvalido);
}

TEST_F(Arquivo, SubstituiEmUmPassoELigacaoDaOutroNome)
{
    const std::string plano = Caminho("plano.dat"), novo = Caminho("novo.dat"), velho = Caminho("velho.dat");
    apoio::GravaTudo(plano, "antigo");
    apoio::GravaTudo(novo, "novo");
    IdentidadeArquivo antes, ligado;
    ASSERT_EQ(IdentidadeDoCaminho(plano.c_str(), antes), 0u);
    ASSERT_EQ(CriaLigacao(plano.c_str(), velho.c_str()), 0u);
    ASSERT_EQ(IdentidadeDoCaminho(velho.c_str(), ligado), 0u);
    EXPECT_EQ(ligado, antes) << "one file, two names";
    {
        // A holder of either file keeps it in place.
        ArquivoSO leitor;
        ASSERT_EQ(leitor.Abre(plano.c_str(), kL), 0u);
        IdentidadeArquivo doHandle;
        ASSERT_EQ(leitor.Identidade(doHandle), 0u);
        EXPECT_EQ(doHandle, antes);
        EXPECT_EQ(SubstituiArquivo(novo.c_str(), plano.c_str()), erro::ViolacaoCompartilhamento);
    }
    ASSERT_EQ(SubstituiArquivo(novo.c_str(), plano.c_str()), 0u);
    IdentidadeArquivo depois;
    ASSERT_EQ(IdentidadeDoCaminho(plano.c_str(), depois), 0u);
    EXPECT_NE(depois, antes);
    EXPECT_EQ(apoio::LeTudo(plano), "novo");
    EXPECT_EQ(apoio::LeTudo(velho), "antigo");
    EXPECT_FALSE(apoio::Existe(novo));
    EXPECT_EQ(SubstituiArquivo(velho.c_str(), Caminho("onde.dat").c_str()), 0u) << "to a free name: a rename";
    EXPECT_EQ(CriaLigacao(plano.c_str(), Caminho("onde.dat").c_str()), erro::JaExiste);
    ArquivoSO a;
    ASSERT_EQ(a.Abre(plano.c_str(), kG), 0u);
    EXPECT_EQ(a.Descarrega(), 0u);
    EXPECT_EQ(DescarregaDiretorio(m_dir.c_str()), 0u);
}

// Readers of the whole file share the lock, a rewriter holds it alone; between handles of one
// process as between processes, and without hindering any read or write of the data.
TEST_F(Arquivo, TravaDeConteudoCompartilhadaOuExclusiva)
{
    const std::string arquivo = Caminho("indice.dat");
    apoio::GravaTudo(arquivo, "dados");
    ArquivoSO leitor1, leitor2, escritor;
    ASSERT_EQ(leitor1.Abre(arquivo.c_str(), kL), 0u);
    ASSERT_EQ(leitor2.Abre(arquivo.c_str(), kL), 0u);
    ASSERT_EQ(escritor.Abre(arquivo.c_str(), kG), 0u);
    ASSERT_EQ(leitor1.Trava(false, 0), 0u);
    ASSERT_EQ(leitor2.Trava(false, 0), 0u);
    EXPECT_EQ(escritor.Trava(true, 20), erro::ViolacaoBloqueio);
    EXPECT_EQ(Conteudo(escritor), "dados") << "the data stays free";
    ASSERT_EQ(escritor.Grava("D", 1), 0u);
    ASSERT_EQ(leitor1.Destrava(), 0u);
    ASSERT_EQ(leitor2.Fecha(), 0u) << "closing releases too";
    ASSERT_EQ(escritor.Trava(true, 0), 0u);
    EXPECT_EQ(leitor1.Trava(false, 20), erro::ViolacaoBloqueio);
    ASSERT_EQ(escritor.Destrava(), 0u);
    EXPECT_EQ(leitor1.Trava(false, 0), 0u);
}
