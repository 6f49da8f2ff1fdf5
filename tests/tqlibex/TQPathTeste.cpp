// Path texts, file existence, and the installation and data directories from the registry.
#include <string>

#include <gtest/gtest.h>

#include "apoio/Apoio.h"
#include "apoio/RegistroIsolado.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Arquivo.h"

using namespace plataforma;

namespace {

// A path written with backslashes, in the platform's separator.
std::string N(std::string caminho)
{
    for (char& c : caminho)
        if (c == '\\')
            c = kSeparador;
    return caminho;
}

} // namespace

TEST(TQPathTexto, Combina)
{
    EXPECT_EQ(CTQPath::Combina(N("C:\\A\\"), N("\\B")), N("C:\\A\\B"));
    EXPECT_EQ(CTQPath::Combina(N("C:\\A"), "B"), N("C:\\A\\B"));
    EXPECT_EQ(CTQPath::Combina("", "B"), "B");
    EXPECT_EQ(CTQPath::Combina("A", nullptr), "A");
    EXPECT_EQ(CTQPath::Combina(nullptr, nullptr), "");
    // Only the doubled separator at the joint goes.
    EXPECT_EQ(CTQPath::Combina(N("A\\\\"), N("\\B")), N("A\\\\B"));
}

TEST(TQPathTexto, CombinaChaveUsaSempreBarraInvertida)
{
    EXPECT_EQ(CTQPath::CombinaChave("Empresas", "EMP"), "Empresas\\EMP");
    EXPECT_EQ(CTQPath::CombinaChave("A\\", "\\B"), "A\\B");
}

TEST(TQPathTexto, DiretorioENome)
{
    EXPECT_EQ(CTQPath::GetDiretorio(N("c:\\dados\\x.dat")), N("c:\\dados\\"));
    EXPECT_EQ(CTQPath::GetDiretorio("x.dat"), "");
    EXPECT_EQ(CTQPath::GetNome(N("c:\\dados\\")), "");
}

TEST(TQPathTexto, Extensao)
{
    EXPECT_EQ(CTQPath::GetExtensao(N("c:\\dados\\x.tar.gz")), "gz");
    EXPECT_EQ(CTQPath::GetExtensao(N("c:\\da.dos\\arquivo")), "");
    EXPECT_EQ(CTQPath::GetExtensao(".dat"), "dat");
    EXPECT_EQ(CTQPath::GetExtensao("x."), "");
}

TEST(TQPathTexto, NomeNormalizado)
{
    EXPECT_EQ(CTQPath::GetNomeSemExtensao(N("c:\\dados\\a.b.c")), "a.b");
    EXPECT_EQ(CTQPath::GetNomeSemExtensao(N("c:\\da.dos\\arquivo")), "arquivo");
    EXPECT_EQ(CTQPath::GetNomeNormalizado(N("c:\\dados\\DfPla001.DaT")), "DFPLA001.dat");
    EXPECT_EQ(CTQPath::GetNomeNormalizado(N("c:\\dados\\dfpla001")), "");
    EXPECT_EQ(CTQPath::GetNomeNormalizado(N("c:\\dados\\.dat")), "");
    EXPECT_EQ(CTQPath::GetNomeNormalizado(N("c:\\da.dos\\arquivo")), "");
    // Code page 1252 letters change case too.
    EXPECT_EQ(CTQPath::GetNomeNormalizado("a\xE7\xE3o.\xC9X"), "A\xC7\xC3O.\xE9x");
}

TEST(TQPathTexto, PaiDeCaminhosSemRaiz)
{
    // Written with a drive letter these have a root only on Windows; the answers agree.
    EXPECT_EQ(CTQPath::GetParentPath(N("C:\\A\\B\\C.IDX")), N("C:\\A\\B\\"));
    EXPECT_EQ(CTQPath::GetParentPath(N("C:\\A\\B\\")), N("C:\\A\\"));
    EXPECT_EQ(CTQPath::GetParentPath(""), "");
    EXPECT_EQ(CTQPath::GetParentPath("arquivo"), "");
    EXPECT_EQ(CTQPath::GetParentPath(N("a\\b")), N("a\\"));
}

#ifdef _WIN32
TEST(TQPathTexto, RaizWindows)
{
    EXPECT_EQ(CTQPath::GetRaiz("C:\\A\\B"), "C:\\");
    EXPECT_EQ(CTQPath::GetRaiz("C:A"), "C:");
    EXPECT_EQ(CTQPath::GetRaiz("\\\\servidor\\pasta\\x"), "\\\\servidor\\");
    EXPECT_EQ(CTQPath::GetRaiz("\\\\servidor"), "\\\\servidor");
    EXPECT_EQ(CTQPath::GetRaiz("\\A\\B"), "");
}

TEST(TQPathTexto, PaiWindows)
{
    EXPECT_EQ(CTQPath::GetParentPath("C:\\"), "");
    EXPECT_EQ(CTQPath::GetParentPath("C:"), "");
    EXPECT_EQ(CTQPath::GetParentPath("C:\\A\\"), "C:\\");
    EXPECT_EQ(CTQPath::GetParentPath("\\\\servidor\\pasta\\x.dat"), "\\\\servidor\\pasta\\");
    EXPECT_EQ(CTQPath::GetParentPath("\\\\servidor\\pasta"), "\\\\servidor\\");
}
#else
TEST(TQPathTexto, RaizPosix)
{
    EXPECT_EQ(CTQPath::GetRaiz("/dados/x"), "/");
    EXPECT_EQ(CTQPath::GetRaiz("/"), "/");
    EXPECT_EQ(CTQPath::GetRaiz("dados/x"), "");
    EXPECT_EQ(CTQPath::GetRaiz("C:/A"), "");
}

TEST(TQPathTexto, PaiPosix)
{
    EXPECT_EQ(CTQPath::GetParentPath("/a/"), "/");
    EXPECT_EQ(CTQPath::GetParentPath("/x"), "/");
    EXPECT_EQ(CTQPath::GetParentPath("/"), "");
}
#endif

using TQPathArquivos = apoio::DiretorioTemporario;

TEST_F(TQPathArquivos, ExisteArquivoDetidoComExclusividadeOuSomenteLeitura)
{
    ArquivoSO marca;
    const std::string caminho = Caminho("MARCA.MRK");
    // Held as a mark file is: read-write, no sharing at all.
    ASSERT_EQ(marca.Abre(caminho.c_str(), ModoArquivo{true, true, false, false, Disposicao::CriaSempre}), 0u);
    EXPECT_TRUE(CTQPath::ExisteArquivo(caminho));
    // Held or not, the name is the same file in any case.
    EXPECT_TRUE(CTQPath::ExisteArquivo(m_dir + "marca.mrk"));
    marca.Fecha();
    ASSERT_EQ(DefineSomenteLeitura(caminho.c_str(), true), 0u);
    EXPECT_TRUE(CTQPath::ExisteArquivo(caminho));
}

TEST_F(TQPathArquivos, ExisteArquivoAusente)
{
    EXPECT_FALSE(CTQPath::ExisteArquivo(m_dir + "NAOEXISTE.DAT"));
    EXPECT_FALSE(CTQPath::ExisteArquivo(CTQPath::Combina(m_dir + "PastaAusente", "X.DAT")));
}

namespace {

const std::string kChaveModuloDF = CTQPath::CombinaChave(kChaveSuiteBarra, "Contabil");
const std::string kEmpresaTeste = "ZazAzuTesteEmpresa";
const std::string kChaveEmpresa = CTQPath::CombinaChave(CTQPath::CombinaChave(kChaveSuite, kSubchaveEmpresas), kEmpresaTeste);

using TQPathRegistro = teste::RegistroIsolado;

} // namespace

TEST_F(TQPathRegistro, DiretorioModuloAcrescentaSeparador)
{
    EXPECT_EQ(CTQPath::DiretorioModulo(1), "");
    // Not installed: no library is looked for anywhere else.
    EXPECT_EQ(CTQPath::CarregaBibliotecaModulo("TQLConx.dll", 1), nullptr);
    GravaTexto(RaizRegistro::LocalMachine, kChaveModuloDF, "Path", N("C:\\TQ\\Contabil"));
    EXPECT_EQ(CTQPath::DiretorioModulo(1), N("C:\\TQ\\Contabil\\"));
    EXPECT_EQ(CTQPath::DiretorioModulo(26), CTQPath::DiretorioModulo(1));
    // Another module reads its own subkey, which is missing here.
    EXPECT_EQ(CTQPath::DiretorioModulo(2), "");
    EXPECT_EQ(CTQPath::DiretorioModulo(999), "");
    GravaTexto(RaizRegistro::LocalMachine, kChaveModuloDF, "Path", N("C:\\TQ\\"));
    EXPECT_EQ(CTQPath::DiretorioModulo(1), N("C:\\TQ\\"));
}

TEST_F(TQPathRegistro, DiretorioDadosSemChaveDaEmpresa)
{
    EXPECT_EQ(CTQPath::GetDiretorioDadosModulo(1, kEmpresaTeste), "");
    GravaTexto(RaizRegistro::LocalMachine, kChaveEmpresa, "DF", N("C:\\Dados\\Emp"));
    EXPECT_EQ(CTQPath::GetDiretorioDadosModulo(1, kEmpresaTeste + "Outra"), "");
    EXPECT_EQ(CTQPath::GetDiretorioDadosModulo(1, ""), "");
}

TEST_F(TQPathRegistro, DiretorioDadosDaEmpresa)
{
    GravaTexto(RaizRegistro::LocalMachine, kChaveEmpresa, "DF", N("C:\\Dados\\Emp"));
    GravaTexto(RaizRegistro::LocalMachine, kChaveEmpresa, "CR", N("C:\\Receber\\"));
    EXPECT_EQ(CTQPath::GetDiretorioDadosModulo(1, kEmpresaTeste), N("C:\\Dados\\Emp\\"));
    EXPECT_EQ(CTQPath::GetDiretorioDadosModulo(26, kEmpresaTeste), N("C:\\Dados\\Emp\\"));
    EXPECT_EQ(CTQPath::GetDiretorioDadosModulo(23, kEmpresaTeste), N("C:\\Dados\\Emp\\NFe\\"));
    EXPECT_EQ(CTQPath::GetDiretorioDadosModulo(2, kEmpresaTeste), N("C:\\Receber\\"));
    // The key is found without regard to case; a module without a value has no directory.
    EXPECT_EQ(CTQPath::GetDiretorioDadosModulo(1, "ZAZAZUTESTEEMPRESA"), N("C:\\Dados\\Emp\\"));
    EXPECT_EQ(CTQPath::GetDiretorioDadosModulo(3, kEmpresaTeste), "");
}
