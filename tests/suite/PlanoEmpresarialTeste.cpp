// The main chart of accounts as a session reads it: accounts by position from "DFPLAEMP.DAT"
// in the company's data directory, through TQLDadosDF. (A session of an unknown company or without
// the library reads nothing, as with no file: one code, checked once.)
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "apoio/Apoio.h"
#include "apoio/SuiteInstalada.h"
#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Arquivo.h"
#include "suite/Rotinas/TQBaseParaRotinas.h"

namespace {

// "1" and "1.01.002" packed: two characters a byte, 0xA ends the text, '.' is 0xE.
const std::string kClass1 = "\x1A" + std::string(13, '\xAA');
const std::string kClass1_01_002 = std::string("\x1E\x01\xE0\x02", 4) + std::string(10, '\xAA');

// A chart record: packed classification, status, own code, name; the rest as the chart keeps it.
std::string Conta(const std::string& classificacao, uint8_t status, const std::string& codigo, const std::string& nome)
{
    std::string r = classificacao + char(status) + '\0' + codigo.substr(0, 10);
    r.resize(26, '\0');
    r += nome.substr(0, 50);
    r.resize(76, '\0');
    return r + std::string(20, '\x7F'); // bytes the reader must not take for the name
}

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
        ASSERT_EQ(m_rotina.Inicializa(Sessao("0001")), S_OK);
    }
    static _REG_DF_INICIALIZAPS Sessao(const char* empresa)
    {
        _REG_DF_INICIALIZAPS r{};
        std::strcpy(r.szEmpresa, empresa);
        return r;
    }
    void GravaPlano(const std::string& contas) { apoio::GravaTudo(m_dados + "DFPLAEMP.DAT", std::string(96, '\0') + contas); }
    uint32_t Le(uint32_t posicao, CTQBaseParaRotinas* rotina = nullptr)
    {
        return (rotina ? rotina : &m_rotina)->GetAcessoEmpresarial()->LePlanoEmpresarial(posicao, m_conta, 0);
    }

    std::string m_dados;
    CTQBaseParaRotinas m_rotina;
    CTQDadosDF_PlanoEmpresarial m_conta;
};

} // namespace

TEST_F(PlanoEmpresarialTeste, LeContasPorPosicao)
{
    GravaPlano(Conta(kClass1, 0x01, "1", "ATIVO") + Conta(kClass1_01_002, 0x02, "ABCDEFGHIJ", std::string(50, 'N')));
    CTQAcessoEmpresarialBuffer* acesso = m_rotina.GetAcessoEmpresarial();
    ASSERT_NE(acesso, nullptr);
    ASSERT_EQ(Le(1), 0u);
    EXPECT_EQ(m_conta.GetTipo() & 1, 1);
    EXPECT_STREQ(m_conta.GetClassificacao(), "1");
    EXPECT_STREQ(m_conta.GetCodigo(), "1");
    EXPECT_STREQ(m_conta.GetNome(), "ATIVO");
    // Fields that fill their room end at it.
    ASSERT_EQ(Le(2), 0u);
    EXPECT_EQ(m_conta.GetTipo(), 0x02);
    EXPECT_STREQ(m_conta.GetClassificacao(), "1.01.002");
    EXPECT_STREQ(m_conta.GetCodigo(), "ABCDEFGHIJ");
    EXPECT_EQ(std::string(m_conta.GetNome()), std::string(50, 'N'));
    uint32_t quantidade = 99;
    EXPECT_EQ(acesso->GetQuantidade(quantidade), 0u);
    EXPECT_EQ(quantidade, 2u);
    // A failed read leaves the record empty, not with the last account.
    EXPECT_EQ(Le(3), statusarq::FimArquivo);
    EXPECT_STREQ(m_conta.GetNome(), "");
    EXPECT_EQ(m_conta.GetPosicao(), 0u);
    EXPECT_NE(Le(0), 0u) << "record 0 is no account";
    // The reader holds no handle between reads: the file can be replaced.
    ASSERT_EQ(plataforma::ApagaArquivo((m_dados + "DFPLAEMP.DAT").c_str()), 0u);
    EXPECT_EQ(Le(1), statusarq::NaoEncontrado) << "no file";
    GravaPlano(Conta(kClass1_01_002, 0x00, "2", "PASSIVO"));
    ASSERT_EQ(Le(1), 0u);
    EXPECT_STREQ(m_conta.GetNome(), "PASSIVO");
    EXPECT_EQ(m_conta.GetTipo() & 1, 0);
}
