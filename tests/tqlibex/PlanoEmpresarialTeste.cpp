// The main chart of accounts as a session reads it: accounts by position from "DFPLAEMP.DAT"
// in the company's data directory, through TQLDadosDF.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "apoio/SuiteInstalada.h"
#include "apoio/Apoio.h"
#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Arquivo.h"
#include "suite/Rotinas/TQBaseParaRotinas.h"

namespace {

// A chart record: packed classification, status, own code, name; the rest as the chart keeps it.
std::string RegistroConta(const uint8_t (&classificacao)[14], uint8_t status, const std::string& codigo,
                          const std::string& nome)
{
    std::string r(96, '\0');
    std::memcpy(r.data(), classificacao, 14);
    r[14] = char(status);
    std::memcpy(r.data() + 16, codigo.data(), std::min<size_t>(codigo.size(), 10));
    std::memcpy(r.data() + 26, nome.data(), std::min<size_t>(nome.size(), 50));
    // Bytes the reader must not take for the name.
    std::memset(r.data() + 76, 0x7F, 20);
    return r;
}

// "1" and "1.01.002" packed: two characters a byte, 0xA ends the text, '.' is 0xE.
constexpr uint8_t kClass1[14] = {0x1A, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
constexpr uint8_t kClass1_01_002[14] = {0x1E, 0x01, 0xE0, 0x02, 0xAA, 0xAA, 0xAA,
                                        0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};

class PlanoEmpresarialTeste : public teste::SuiteInstalada {
protected:
    void SetUp() override
    {
        teste::SuiteInstalada::SetUp();
        m_dados = m_dir + "dados" + plataforma::kSeparador;
        ASSERT_EQ(plataforma::CriaDiretorio(m_dados.c_str()), 0u);
        GravaTexto(plataforma::RaizRegistro::LocalMachine,
                   CTQPath::CombinaChave(CTQPath::CombinaChave(kChaveSuite, kSubchaveEmpresas), "0001"), "DF",
                   m_dados);
        _REG_DF_INICIALIZAPS r{};
        std::strcpy(r.szEmpresa, "0001");
        ASSERT_EQ(m_rotina.Inicializa(r), S_OK);
    }

    void GravaPlano(const std::string& conteudo) { apoio::GravaTudo(m_dados + "DFPLAEMP.DAT", conteudo); }

    std::string m_dados;
    CTQBaseParaRotinas m_rotina;
};

} // namespace

TEST_F(PlanoEmpresarialTeste, LeContasPorPosicao)
{
    GravaPlano(std::string(96, '\0') + RegistroConta(kClass1, 0x01, "1", "ATIVO") +
               RegistroConta(kClass1_01_002, 0x02, "ABCDEFGHIJ", std::string(50, 'N')));
    CTQAcessoEmpresarialBuffer* acesso = m_rotina.GetAcessoEmpresarial();
    ASSERT_NE(acesso, nullptr);
    EXPECT_EQ(m_rotina.GetAcessoEmpresarial(), acesso);

    CTQDadosDF_PlanoEmpresarial conta;
    uint32_t posicao = 1;
    ASSERT_EQ(acesso->LePlanoEmpresarial(posicao, conta, 0), 0u);
    EXPECT_EQ(conta.GetPosicao(), 1u);
    EXPECT_EQ(conta.GetTipo() & 1, 1);
    EXPECT_STREQ(conta.GetClassificacao(), "1");
    EXPECT_STREQ(conta.GetCodigo(), "1");
    EXPECT_STREQ(conta.GetNome(), "ATIVO");

    // Fields that fill their room end at it.
    posicao = 2;
    ASSERT_EQ(acesso->LePlanoEmpresarial(posicao, conta, 0), 0u);
    EXPECT_EQ(conta.GetTipo(), 0x02);
    EXPECT_STREQ(conta.GetClassificacao(), "1.01.002");
    EXPECT_STREQ(conta.GetCodigo(), "ABCDEFGHIJ");
    EXPECT_EQ(std::string(conta.GetNome()), std::string(50, 'N'));

    uint32_t quantidade = 99;
    EXPECT_EQ(acesso->GetQuantidade(quantidade), 0u);
    EXPECT_EQ(quantidade, 2u);
}

TEST_F(PlanoEmpresarialTeste, PosicoesForaDoArquivoNaoSaoLidas)
{
    GravaPlano(std::string(96, '\0') + RegistroConta(kClass1, 0x01, "1", "ATIVO"));
    CTQAcessoEmpresarialBuffer* acesso = m_rotina.GetAcessoEmpresarial();
    CTQDadosDF_PlanoEmpresarial conta;
    uint32_t posicao = 1;
    ASSERT_EQ(acesso->LePlanoEmpresarial(posicao, conta, 0), 0u);
    // A failed read leaves the record empty, not with the last account.
    for (uint32_t p : {2u, 3u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        posicao = p;
        EXPECT_EQ(acesso->LePlanoEmpresarial(posicao, conta, 0), statusarq::FimArquivo) << p;
        EXPECT_STREQ(conta.GetNome(), "") << p;
        EXPECT_EQ(conta.GetPosicao(), 0u);
    }
    // Record 0 is no account.
    posicao = 0;
    EXPECT_NE(acesso->LePlanoEmpresarial(posicao, conta, 0), 0u);
}

TEST_F(PlanoEmpresarialTeste, VeOArquivoReescritoEntreLeituras)
{
    GravaPlano(std::string(96, '\0') + RegistroConta(kClass1, 0x01, "1", "ATIVO"));
    CTQAcessoEmpresarialBuffer* acesso = m_rotina.GetAcessoEmpresarial();
    CTQDadosDF_PlanoEmpresarial conta;
    const uint32_t posicao = 1;
    ASSERT_EQ(acesso->LePlanoEmpresarial(posicao, conta, 0), 0u);
    // The reader holds no handle between reads: the file can be replaced.
    ASSERT_TRUE(plataforma::ApagaArquivo((m_dados + "DFPLAEMP.DAT").c_str()) == 0);
    GravaPlano(std::string(96, '\0') + RegistroConta(kClass1_01_002, 0x00, "2", "PASSIVO"));
    ASSERT_EQ(acesso->LePlanoEmpresarial(posicao, conta, 0), 0u);
    EXPECT_STREQ(conta.GetNome(), "PASSIVO");
    EXPECT_EQ(conta.GetTipo() & 1, 0);
}

TEST_F(PlanoEmpresarialTeste, SemArquivoNadaELidoNemCriado)
{
    CTQAcessoEmpresarialBuffer* acesso = m_rotina.GetAcessoEmpresarial();
    CTQDadosDF_PlanoEmpresarial conta;
    const uint32_t posicao = 1;
    EXPECT_NE(acesso->LePlanoEmpresarial(posicao, conta, 0), 0u);
    uint32_t quantidade = 5;
    EXPECT_NE(acesso->GetQuantidade(quantidade), 0u);
    EXPECT_EQ(quantidade, 0u);
    EXPECT_FALSE(apoio::Existe(m_dados + "DFPLAEMP.DAT"));
}

TEST_F(PlanoEmpresarialTeste, EmpresaSemDiretorioOuSemBibliotecaNaoLe)
{
    GravaPlano(std::string(96, '\0') + RegistroConta(kClass1, 0x01, "1", "ATIVO"));
    _REG_DF_INICIALIZAPS r{};
    std::strcpy(r.szEmpresa, "9999");
    ASSERT_EQ(m_rotina.Inicializa(r), S_OK);
    CTQDadosDF_PlanoEmpresarial conta;
    const uint32_t posicao = 1;
    EXPECT_EQ(m_rotina.GetAcessoEmpresarial()->LePlanoEmpresarial(posicao, conta, 0), statusarq::NaoEncontrado);

    // An object never initialized still answers, with no company.
    CTQBaseParaRotinas semSessao;
    EXPECT_EQ(semSessao.GetAcessoEmpresarial()->LePlanoEmpresarial(posicao, conta, 0), statusarq::NaoEncontrado);

    // Module 1 installed where there is no library.
    GravaTexto(plataforma::RaizRegistro::LocalMachine, teste::kChaveModuloDF, kValorPath, m_dir);
    CTQBaseParaRotinas semBiblioteca;
    EXPECT_EQ(semBiblioteca.GetAcessoEmpresarial()->LePlanoEmpresarial(posicao, conta, 0), statusarq::NaoEncontrado);
}
