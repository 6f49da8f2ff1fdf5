// Path texts, file existence, and the installation and data directories from the registry or the
// suite's library.
#include <string>

#include <gtest/gtest.h>

#include "apoio/Apoio.h"
#include "apoio/RegistroIsolado.h"
#include "apoio/SuiteInstalada.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Arquivo.h"
#include "platform/Processo.h"

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

using Parte = std::string (*)(const std::string&);
struct CasoTexto {
    Parte parte;
    std::string caminho, esperado;
};

void Confere(std::initializer_list<CasoTexto> casos)
{
    for (const CasoTexto& c : casos)
        EXPECT_EQ(c.parte(c.caminho), c.esperado) << c.caminho;
}

} // namespace

TEST(TQPathTexto, Combina)
{
    EXPECT_EQ(CTQPath::Combina(N("C:\\A\\"), N("\\B")), N("C:\\A\\B"));
    EXPECT_EQ(CTQPath::Combina(N("C:\\A"), "B"), N("C:\\A\\B"));
    EXPECT_EQ(CTQPath::Combina(nullptr, nullptr), "");
    // Only the doubled separator at the joint goes.
    EXPECT_EQ(CTQPath::Combina(N("A\\\\"), N("\\B")), N("A\\\\B"));
    EXPECT_EQ(CTQPath::CombinaChave("A\\", "\\B"), "A\\B");
}

TEST(TQPathTexto, PartesDoCaminho)
{
    Confere({
        {CTQPath::GetDiretorio, N("c:\\dados\\x.dat"), N("c:\\dados\\")},
        {CTQPath::GetNome, N("c:\\dados\\"), ""},
        {CTQPath::GetExtensao, N("c:\\dados\\x.tar.gz"), "gz"},
        {CTQPath::GetExtensao, N("c:\\da.dos\\arquivo"), ""},
        {CTQPath::GetNomeSemExtensao, N("c:\\dados\\a.b.c"), "a.b"},
        {CTQPath::GetNomeNormalizado, N("c:\\dados\\DfPla001.DaT"), "DFPLA001.dat"},
        {CTQPath::GetNomeNormalizado, N("c:\\dados\\dfpla001"), ""},
        // Code page 1252 letters change case too.
        {CTQPath::GetNomeNormalizado, "a\xE7\xE3o.\xC9X", "A\xC7\xC3O.\xE9x"},
        // Written with a drive letter these have a root only on Windows; the answers agree.
        {CTQPath::GetParentPath, N("C:\\A\\B\\C.IDX"), N("C:\\A\\B\\")},
        {CTQPath::GetParentPath, N("C:\\A\\B\\"), N("C:\\A\\")},
    });
}

TEST(TQPathTexto, RaizEPaiDaPlataforma)
{
#ifdef _WIN32
    Confere({
        {CTQPath::GetRaiz, "C:\\A\\B", "C:\\"},
        {CTQPath::GetRaiz, "\\\\servidor\\pasta\\x", "\\\\servidor\\"},
        {CTQPath::GetParentPath, "C:\\", ""},
        {CTQPath::GetParentPath, "\\\\servidor\\pasta", "\\\\servidor\\"},
    });
#else
    Confere({
        {CTQPath::GetRaiz, "/dados/x", "/"},
        {CTQPath::GetRaiz, "C:/A", ""},
        {CTQPath::GetParentPath, "/", ""},
    });
#endif
}

using TQPathArquivos = apoio::DiretorioTemporario;

TEST_F(TQPathArquivos, ExisteArquivo)
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
    EXPECT_FALSE(CTQPath::ExisteArquivo(CTQPath::Combina(m_dir + "PastaAusente", "X.DAT")));
}

namespace {

const std::string kChaveContabil = CTQPath::CombinaChave(kChaveSuiteBarra, "Contabil");
const std::string kEmpresaTeste = "ZazAzuTesteEmpresa";
const std::string kChaveEmpresa = CTQPath::CombinaChave(CTQPath::CombinaChave(kChaveSuite, kSubchaveEmpresas), kEmpresaTeste);

using TQPathRegistro = teste::RegistroIsolado;

} // namespace

TEST_F(TQPathRegistro, DiretoriosDoModuloEDaEmpresa)
{
    EXPECT_EQ(CTQPath::DiretorioModulo(1), "");
    GravaTexto(RaizRegistro::LocalMachine, kChaveContabil, "Path", N("C:\\TQ\\Contabil"));
    EXPECT_EQ(CTQPath::DiretorioModulo(1), N("C:\\TQ\\Contabil\\"));
    // Another module reads its own subkey, which is missing here.
    EXPECT_EQ(CTQPath::DiretorioModulo(2), "");
    GravaTexto(RaizRegistro::LocalMachine, kChaveContabil, "Path", N("C:\\TQ\\"));
    EXPECT_EQ(CTQPath::DiretorioModulo(1), N("C:\\TQ\\"));
    EXPECT_EQ(CTQPath::GetDiretorioDadosModulo(1, kEmpresaTeste), "");
    GravaTexto(RaizRegistro::LocalMachine, kChaveEmpresa, "DF", N("C:\\Dados\\Emp"));
    EXPECT_EQ(CTQPath::GetDiretorioDadosModulo(23, kEmpresaTeste), N("C:\\Dados\\Emp\\NFe\\"));
    // A module without a value has no directory.
    EXPECT_EQ(CTQPath::GetDiretorioDadosModulo(3, kEmpresaTeste), "");
    // The key is found without regard to case; another company has none.
    EXPECT_EQ(CTQPath::GetDiretorioDadosModulo(1, "ZAZAZUTESTEEMPRESA"), N("C:\\Dados\\Emp\\"));
    EXPECT_EQ(CTQPath::GetDiretorioDadosModulo(1, kEmpresaTeste + "Outra"), "");
}

namespace {

using TQPathSuite = teste::SuiteInstalada;

} // namespace

// The library route is taken only when the switch was on at the start of the process: a child
// process answers.
TEST_F(TQPathSuite, DiretorioDadosDaBibliotecaDaSuite)
{
    GravaDword(RaizRegistro::LocalMachine, kChaveSuite, kValorUtilizarTQSDataBase, 1);
    GravaTexto(RaizRegistro::LocalMachine, CTQPath::CombinaChave(teste::kChaveTQSDataBase, "0001"), "DF",
               m_dir + "base");
    int respostas = 0;
    const auto noFilho = [&](long modulo, const std::string& empresa) {
        const std::string sinal = m_dir + "resposta" + std::to_string(++respostas);
        ProcessoFilho filho;
        EXPECT_EQ(filho.Inicia(apoio::CaminhoAuxiliar(), {"diretoriodados", std::to_string(modulo), empresa, sinal}),
                  0u);
        DWORD codigo = 999;
        if (!filho.Espera(30000, &codigo))
            filho.Termina();
        EXPECT_EQ(codigo, 0u);
        EXPECT_TRUE(apoio::Existe(sinal));
        return apoio::LeTudo(sinal);
    };
    // The library's answers for other companies and modules are its own tests' (SuiteTeste).
    EXPECT_EQ(noFilho(26, "0001"), m_dir + "base" + kSeparador);
    // Without the library the answer is empty.
    GravaTexto(RaizRegistro::LocalMachine, teste::kChaveModuloDF, kValorPath, m_dir);
    EXPECT_EQ(noFilho(1, "0001"), "");
}
