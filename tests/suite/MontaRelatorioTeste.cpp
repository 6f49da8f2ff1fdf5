// What the builder takes and refuses: the columns the user chose, the output paths and a missing
// library. The failures the tests ask of it are seen through the service's report.
#include <gtest/gtest.h>

#include "RelatorioTeste.h"
#include "apoio/Apoio.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "platform/Arquivo.h"

using teste::LinhaTeste;

namespace {

using MontaRelatorio = teste::RelatorioTeste;

const std::vector<LinhaTeste> kUmaConta = {{{101, "1"}, {102, "T"}, {103, "1"}, {104, "ATIVO"}}};

std::vector<int64_t> Escolhidos(CMontaRelatorio& monta)
{
    std::vector<int64_t> codigos;
    for (uint16_t i = 0; i < monta.GetQtdeCampos(); ++i) {
        int64_t codigo = -1;
        monta.GetCampoEscolhido(i, codigo);
        codigos.push_back(codigo);
    }
    return codigos;
}

} // namespace

TEST_F(MontaRelatorio, ColunasEscolhidasEmRelatoriosIni)
{
    const std::vector<int64_t> todos = {101, 102, 103, 104, 105};
    struct Caso {
        const char* ini; // null: no file
        std::vector<int64_t> esperados;
    };
    const Caso casos[] = {
        {nullptr, todos},
        {"[OUTRO]\nCampos=104\n[PLANO ALTERNATIVO]\ncampos = 104 , 101\n", {104, 101}},
    };
    for (const Caso& c : casos) {
        if (c.ini)
            GravaRelatoriosIni(c.ini);
        CMontaRelatorio monta;
        ASSERT_EQ(Inicia(monta, "r.csv"), S_OK);
        EXPECT_EQ(Escolhidos(monta), c.esperados) << (c.ini ? c.ini : "(no file)");
    }
}

TEST_F(MontaRelatorio, RecusaCaminhoOuEmpresaSemNadaGravar)
{
    struct Caso {
        const char* arquivo;
        const char* empresa;
        HRESULT esperado;
    };
    const Caso casos[] = {
        {"", teste::kEmpresa, kGeradorSemArquivo},
        {"r.pdf", teste::kEmpresa, kGeradorFormatoDesconhecido},
        {"r.txt", "9999", kGeradorEmpresaDesconhecida},
    };
    for (const Caso& c : casos) {
        CMontaRelatorio monta;
        EXPECT_EQ(Inicia(monta, c.arquivo, c.empresa), c.esperado) << c.arquivo << " " << c.empresa;
        EXPECT_NE(monta.GeraRelatorio(), 0) << c.arquivo;
    }
    EXPECT_EQ(Nomes(), std::vector<std::string>{"dados"});
}

TEST_F(MontaRelatorio, CaminhoSemGravacaoNaoDeixaArquivo)
{
    CMontaRelatorio monta;
    ASSERT_EQ(Inicia(monta, std::string("falta") + plataforma::kSeparador + "r.txt"), S_OK);
    teste::RelatorioTeste::Preenche(monta, kUmaConta);
    EXPECT_EQ(monta.GeraRelatorio(), TQHResult(0x80070003));
    EXPECT_EQ(Nomes(), std::vector<std::string>{"dados"});
}

TEST_F(MontaRelatorio, SubstituiUmRelatorioAnteriorPorInteiroEExtensaoEmQualquerCaixa)
{
    apoio::GravaTudo(m_dir + "r.csv", std::string(10000, 'x'));
    EXPECT_EQ(Gera("r.csv", kUmaConta), "Código,Tipo,Classificação,Nome,Sinal\r\n1,T,1,ATIVO,\r\n");
    for (const char* arquivo : {"R.TXT", "x.Csv", "r.HTML"})
        EXPECT_NE(Gera(arquivo, kUmaConta).find("ATIVO"), std::string::npos) << arquivo;
    EXPECT_EQ(Nomes(), (std::vector<std::string>{"R.TXT", "dados", "r.HTML", "r.csv", "x.Csv"}));
}

TEST_F(MontaRelatorio, SemABibliotecaNadaAcontece)
{
    // Module 1 installed where there is no "x64".
    GravaTexto(plataforma::RaizRegistro::LocalMachine, teste::kChaveModuloDF, kValorPath, m_dados);
    CMontaRelatorio monta;
    EXPECT_EQ(Inicia(monta, "r.txt"), kMontaRelatorioSemBiblioteca);
    teste::RelatorioTeste::Preenche(monta, kUmaConta);
    EXPECT_NE(monta.GeraRelatorio(), 0);
    EXPECT_FALSE(apoio::Existe(m_dir + "r.txt"));
}
