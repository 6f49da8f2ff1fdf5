// The suite's libraries loaded as the server loads them: from "x64" below module 1's
// installation directory. Message report log, HRESULT descriptions, data directories and the
// company logged in.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "InstalacaoTrace.h"
#include "apoio/SuiteInstalada.h"
#include "apoio/Apoio.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQLConxExports.h"
#include "df/tqlibex/TQLMensagemExports.h"
#include "df/tqlibex/TQMensExports.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Arquivo.h"
#include "platform/Processo.h"
#include "platform/Tempo.h"
#include "platform/Texto.h"

using plataforma::RaizRegistro;
using plataforma::kSeparador;

namespace {

using SuiteTeste = teste::SuiteInstalada;

template <typename F>
F Exportada(const plataforma::Biblioteca& biblioteca, const char* nome)
{
    return reinterpret_cast<F>(biblioteca.Simbolo(nome));
}

// A text no other run writes.
std::string Unico(const char* prefixo)
{
    GUID guid;
    plataforma::CriaGuid(guid);
    return prefixo + plataforma::GuidParaTexto(guid);
}

} // namespace

TEST_F(SuiteTeste, TQMensAcrescentaUmaLinhaComTodosOsArgumentos)
{
    auto mens = CTQPath::CarregaBibliotecaModulo(kBibliotecaTQMens, 1);
    ASSERT_NE(mens, nullptr);
    auto trata = Exportada<PFN_TQTrataErroExported>(*mens, kExportTQTrataErroExported);
    ASSERT_NE(trata, nullptr);

    const std::string marca = Unico("relato ");
    const std::string exe = plataforma::CaminhoExecutavel();
    // Breaks inside a text would split the report's line.
    const std::string texto = marca + "\tpilha\r\nlinha 2";
    EXPECT_EQ(trata(TQHResult(0x81080BB1), TQHResult(0x8004EAC5), 0x7FFFFFFF, "Empresa \xC7", "BasePlanoAlt", 321, 1,
                    0, exe.c_str(), texto.c_str()),
              S_OK);
    // Absent texts are empty columns.
    EXPECT_EQ(trata(1, 2, -1, nullptr, nullptr, 0, 0, 0, nullptr, (marca + " nulos").c_str()), S_OK);

    const std::string log = CTQPath::GetDiretorio(exe) + "TQMens.log";
    std::vector<std::vector<std::string>> minhas;
    for (const std::string& linha : teste::Divide(apoio::LeTudo(log), '\n'))
        if (linha.find(marca) != std::string::npos)
            minhas.push_back(teste::Divide(linha, '\t'));
    ASSERT_EQ(minhas.size(), 2u);
    const std::vector<std::string>& c = minhas[0];
    ASSERT_EQ(c.size(), 11u);
    EXPECT_EQ(c[0].size(), 23u) << "dd/mm/yyyy hh:mm:ss.mmm: " << c[0];
    EXPECT_EQ(std::vector<std::string>(c.begin() + 1, c.end()),
              (std::vector<std::string>{"0x81080BB1", "0x8004EAC5", "2147483647", "Empresa \xC7", "BasePlanoAlt", "321",
                                        "1", "0", exe, marca + " pilha  linha 2"}));
    EXPECT_EQ(std::vector<std::string>(minhas[1].begin() + 1, minhas[1].end()),
              (std::vector<std::string>{"0x00000001", "0x00000002", "-1", "", "", "0", "0", "0", "", marca + " nulos"}));
}

TEST_F(SuiteTeste, TQLMensagemDescreveOsCodigosDoSistema)
{
    auto mensagem = CTQPath::CarregaBibliotecaModulo(kBibliotecaTQLMensagem, 1);
    ASSERT_NE(mensagem, nullptr);
    auto descreve = Exportada<PFN_TQGetDescricaoHRESULT>(*mensagem, kExportTQGetDescricaoHRESULT);
    ASSERT_NE(descreve, nullptr);

    char texto[400];
    ASSERT_NE(descreve(TQHResult(0x80043E95), texto, sizeof texto), 0);
    EXPECT_EQ(std::string(texto), "Fim de arquivo: registro al\xE9m do final do arquivo");
    // File, mark and service codes all have texts.
    for (uint32_t hr : {0x80043E8Cu, 0x80043F33u, 0x80040A73u, 0x80040A74u, 0x80043F51u, 0x800443F4u, 0x80043F7Au,
                        0x80043FB2u, 0x80043F59u, 0x800402DDu, 0x000405F2u, 0x81080A04u, 0x81080C19u}) {
        texto[0] = '\0';
        EXPECT_NE(descreve(TQHResult(hr), texto, sizeof texto), 0) << std::hex << hr;
        EXPECT_NE(texto[0], '\0') << std::hex << hr;
    }
    EXPECT_EQ(std::string(texto), "Estrutura de inicializa\xE7\xE3o inv\xE1lida");

    std::strcpy(texto, "antes");
    EXPECT_EQ(descreve(TQHResult(0x80041234), texto, sizeof texto), 0);
    EXPECT_EQ(std::string(texto), "");
    EXPECT_EQ(descreve(S_OK, texto, sizeof texto), 0);
    // The facility counts: the same code under facility 264 is not a file status.
    EXPECT_EQ(descreve(TQHResult(0x81083E95), texto, sizeof texto), 0);

    // A short buffer gets the start of the text; none gets nothing.
    char curto[8];
    EXPECT_NE(descreve(TQHResult(0x81080A04), curto, sizeof curto), 0);
    EXPECT_EQ(std::string(curto), "Servido");
    EXPECT_EQ(descreve(TQHResult(0x81080A04), nullptr, 10), 0);
    EXPECT_EQ(descreve(TQHResult(0x81080A04), curto, 0), 0);
}

TEST_F(SuiteTeste, TQLConxDiretorioDeDadosDaBaseDaSuite)
{
    auto conx = CTQPath::CarregaBibliotecaModulo(kBibliotecaTQLConx, 1);
    ASSERT_NE(conx, nullptr);
    auto diretorio = Exportada<PFN_GetDiretorioDadosModulo>(*conx, kExportGetDiretorioDadosModulo);
    ASSERT_NE(diretorio, nullptr);
    const std::string chave = CTQPath::CombinaChave(teste::kChaveTQSDataBase, "0001");
    GravaTexto(RaizRegistro::LocalMachine, chave, "DF", m_dir + "dados");

    char saida[1024];
    EXPECT_EQ(diretorio(1, "0001", saida, sizeof saida), 0);
    EXPECT_EQ(std::string(saida), m_dir + "dados" + kSeparador);
    EXPECT_EQ(diretorio(23, "0001", saida, sizeof saida), 0);
    EXPECT_EQ(std::string(saida), m_dir + "dados" + kSeparador + "NFe" + kSeparador);
    EXPECT_NE(diretorio(1, "0002", saida, sizeof saida), 0);
    EXPECT_EQ(std::string(saida), "");
    EXPECT_NE(diretorio(2, "0001", saida, sizeof saida), 0) << "no value for that module";
    EXPECT_NE(diretorio(1, nullptr, saida, sizeof saida), 0);
    EXPECT_NE(diretorio(1, "0001", saida, 4), 0) << "does not fit";
    EXPECT_EQ(std::string(saida), "");
    EXPECT_NE(diretorio(1, "0001", nullptr, 1024), 0);
}

TEST_F(SuiteTeste, NomeDaEmpresaLogada)
{
    EXPECT_EQ(CTQPath::GetNomeEmpresaLogada(), "");
    GravaTexto(RaizRegistro::CurrentUser, kChaveSuite, kValorEmpresaLogada, "Padaria S\xE3o Jo\xE3o");
    EXPECT_EQ(CTQPath::GetNomeEmpresaLogada(), "Padaria S\xE3o Jo\xE3o");
    // Machine-wide it means nothing: the session is the user's.
    GravaTexto(RaizRegistro::CurrentUser, kChaveSuite, kValorEmpresaLogada, "");
    GravaTexto(RaizRegistro::LocalMachine, kChaveSuite, kValorEmpresaLogada, "Outra");
    EXPECT_EQ(CTQPath::GetNomeEmpresaLogada(), "");
}

TEST_F(SuiteTeste, SemBibliotecaNaoHaEmpresaLogada)
{
    GravaTexto(RaizRegistro::CurrentUser, kChaveSuite, kValorEmpresaLogada, "0001");
    // An installation directory without the suite's libraries.
    GravaTexto(RaizRegistro::LocalMachine, teste::kChaveModuloDF, kValorPath, m_dir);
    EXPECT_EQ(CTQPath::CarregaBibliotecaModulo(kBibliotecaTQLConx, 1), nullptr);
    EXPECT_EQ(CTQPath::GetNomeEmpresaLogada(), "");
}

namespace {

// The library route is taken only when the switch was on at the start of the process.
class DiretorioDadosBibliotecaTeste : public teste::SuiteInstalada {
protected:
    void SetUp() override
    {
        teste::SuiteInstalada::SetUp();
        GravaDword(RaizRegistro::LocalMachine, kChaveSuite, kValorUtilizarTQSDataBase, 1);
        GravaTexto(RaizRegistro::LocalMachine, CTQPath::CombinaChave(teste::kChaveTQSDataBase, "0001"), "DF",
                   m_dir + "base");
        // The registry route would answer this one.
        GravaTexto(RaizRegistro::LocalMachine,
                   CTQPath::CombinaChave(CTQPath::CombinaChave(kChaveSuite, kSubchaveEmpresas), "0001"), "DF",
                   m_dir + "registro");
    }
    std::string DiretorioNoFilho(long modulo, const std::string& empresa)
    {
        const std::string sinal = m_dir + "resposta" + std::to_string(++m_respostas);
        plataforma::ProcessoFilho filho;
        EXPECT_EQ(filho.Inicia(apoio::CaminhoAuxiliar(), {"diretoriodados", std::to_string(modulo), empresa, sinal}),
                  0u);
        DWORD codigo = 999;
        if (!filho.Espera(30000, &codigo))
            filho.Termina();
        EXPECT_EQ(codigo, 0u);
        EXPECT_TRUE(apoio::Existe(sinal));
        return apoio::LeTudo(sinal);
    }
    int m_respostas = 0;
};

} // namespace

TEST_F(DiretorioDadosBibliotecaTeste, DiretorioVemDaBibliotecaDaSuite)
{
    EXPECT_EQ(DiretorioNoFilho(1, "0001"), m_dir + "base" + kSeparador);
    EXPECT_EQ(DiretorioNoFilho(26, "0001"), m_dir + "base" + kSeparador);
    EXPECT_EQ(DiretorioNoFilho(1, "0002"), "");
}

TEST_F(DiretorioDadosBibliotecaTeste, SemBibliotecaDiretorioVazio)
{
    GravaTexto(RaizRegistro::LocalMachine, teste::kChaveModuloDF, kValorPath, m_dir);
    EXPECT_EQ(DiretorioNoFilho(1, "0001"), "");
}

TEST_F(DiretorioDadosBibliotecaTeste, SemAChaveORegistroResponde)
{
    GravaDword(RaizRegistro::LocalMachine, kChaveSuite, kValorUtilizarTQSDataBase, 0);
    EXPECT_EQ(DiretorioNoFilho(1, "0001"), m_dir + "registro" + kSeparador);
}
