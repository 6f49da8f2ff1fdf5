// The suite's libraries loaded as the server loads them: from "x64" below module 1's
// installation directory. Message report log, HRESULT descriptions and data directories.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RelatorioTeste.h"
#include "apoio/Apoio.h"
#include "apoio/SuiteInstalada.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQLConxExports.h"
#include "df/tqlibex/TQLMensagemExports.h"
#include "df/tqlibex/TQMensExports.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Arquivo.h"
#include "platform/Processo.h"
#include "platform/Texto.h"

namespace {

class SuiteTeste : public teste::SuiteInstalada {
protected:
    // An export of a suite library, with the library kept loaded for the test.
    template <typename F>
    F Exportada(const char* biblioteca, const char* nome)
    {
        m_biblioteca = CTQPath::CarregaBibliotecaModulo(biblioteca, 1);
        EXPECT_NE(m_biblioteca, nullptr) << biblioteca;
        return m_biblioteca ? reinterpret_cast<F>(m_biblioteca->Simbolo(nome)) : nullptr;
    }
    std::unique_ptr<plataforma::Biblioteca> m_biblioteca;
};

} // namespace

// TQMens appends one line with every argument; TQLMensagem describes the system's codes.
TEST_F(SuiteTeste, TQMensETQLMensagem)
{
    auto trata = Exportada<PFN_TQTrataErroExported>(kBibliotecaTQMens, kExportTQTrataErroExported);
    ASSERT_NE(trata, nullptr);
    GUID guid;
    plataforma::CriaGuid(guid);
    const std::string marca = "relato " + plataforma::GuidParaTexto(guid); // a text no other run writes
    const std::string exe = plataforma::CaminhoExecutavel();
    // Breaks inside a text would split the report's line.
    EXPECT_EQ(trata(TQHResult(0x81080BB1), TQHResult(0x8004EAC5), 0x7FFFFFFF, "Empresa \xC7", "BasePlanoAlt", 321, 1,
                    0, exe.c_str(), (marca + "\tpilha\r\nlinha 2").c_str()),
              S_OK);

    std::vector<std::vector<std::string>> minhas;
    for (const std::string& linha : teste::Divide(apoio::LeTudo(CTQPath::GetDiretorio(exe) + "TQMens.log"), "\n"))
        if (linha.find(marca) != std::string::npos)
            minhas.push_back(teste::Divide(linha, "\t"));
    ASSERT_EQ(minhas.size(), 1u);
    ASSERT_EQ(minhas[0].size(), 11u);
    EXPECT_EQ(minhas[0][0].size(), 23u) << "dd/mm/yyyy hh:mm:ss.mmm: " << minhas[0][0];
    EXPECT_EQ(std::vector<std::string>(minhas[0].begin() + 1, minhas[0].end()),
              (std::vector<std::string>{"0x81080BB1", "0x8004EAC5", "2147483647", "Empresa \xC7", "BasePlanoAlt", "321",
                                        "1", "0", exe, marca + " pilha  linha 2"}));

    auto descreve = Exportada<PFN_TQGetDescricaoHRESULT>(kBibliotecaTQLMensagem, kExportTQGetDescricaoHRESULT);
    ASSERT_NE(descreve, nullptr);
    char texto[400];
    ASSERT_NE(descreve(TQHResult(0x80043E95), texto, sizeof texto), 0);
    EXPECT_EQ(std::string(texto), "Fim de arquivo: registro al\xE9m do final do arquivo");
    std::strcpy(texto, "antes");
    EXPECT_EQ(descreve(TQHResult(0x80041234), texto, sizeof texto), 0);
    EXPECT_EQ(std::string(texto), "");
}

TEST_F(SuiteTeste, TQLConxDiretorioDeDadosDaBaseDaSuite)
{
    auto diretorio = Exportada<PFN_GetDiretorioDadosModulo>(kBibliotecaTQLConx, kExportGetDiretorioDadosModulo);
    ASSERT_NE(diretorio, nullptr);
    GravaTexto(plataforma::RaizRegistro::LocalMachine, CTQPath::CombinaChave(teste::kChaveTQSDataBase, "0001"), "DF",
               m_dir + "dados");
    // Module 1 and an unknown company through CTQPath are the path layer's tests.
    char saida[1024] = "lixo";
    ASSERT_EQ(diretorio(23, "0001", saida, sizeof saida), 0);
    EXPECT_EQ(std::string(saida), m_dir + "dados" + plataforma::kSeparador + "NFe" + plataforma::kSeparador);
    // A module without a directory is refused, the answer empty.
    EXPECT_NE(diretorio(2, "0001", saida, sizeof saida), 0);
    EXPECT_STREQ(saida, "");
}

// The routine object of TQLConx, as the analytics sender drives it: it serves only the analytics
// routine, on its own connection, with LocalKarvo set (what it writes, and its refusals, are the
// analytics channel's own tests).
TEST_F(SuiteTeste, TQLConxRotinaSoServeOAnalyticsEmConexaoPropria)
{
    auto cria = Exportada<PFN_TQCriaBaseParaRotinas>(kBibliotecaTQLConx, kExportTQCriaBaseParaRotinas);
    ASSERT_NE(cria, nullptr);
    std::unique_ptr<ITQBaseParaRotinas, void (*)(ITQBaseParaRotinas*)> rotina(cria(), [](ITQBaseParaRotinas* r) {
        r->Libera();
    });
    ASSERT_NE(rotina, nullptr);
    GravaTexto(plataforma::RaizRegistro::LocalMachine, kChaveSuite, kValorLocalKarvo, m_dir);
    EXPECT_LT(rotina->Inicializa(kRotinaAnalytics, 65535, 0), 0) << "on the default connection";
    rotina->SetUsaConexaoDefault(false);
    EXPECT_LT(rotina->Inicializa("TQDataBase", 65535, 0), 0);
    EXPECT_EQ(rotina->GetAcessoCore(), nullptr);
    ASSERT_EQ(rotina->Inicializa(kRotinaAnalytics, 65535, 0), S_OK);
    ITQAcessoCore* core = rotina->GetAcessoCore();
    ASSERT_NE(core, nullptr);
}
