// The business object's base: its initialization, the binding of a plan and the conversion of a
// chart record into the interface's account record.
#include <algorithm>
#include <cstring>
#include <string>

#include "apoio/Apoio.h"
#include "ServicoTeste.h"
#include "df/planoalt/AlternativoBase.h"
#include "df/planoalt/ArquivosPlano.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQPath.h"

namespace {

using Objeto = teste::ObjetoServico;

_REG_DF_INICIALIZAPS Sessao(const char* empresa)
{
    _REG_DF_INICIALIZAPS r{};
    r.ulUsuario = 7;
    r.ulNumeroSessao = 12;
    std::strncpy(r.szEmpresa, empresa, sizeof r.szEmpresa - 1);
    return r;
}

RegContaPlano Conta(const char* classificacao, uint8_t status, const char* codigo, const char* nome)
{
    RegContaPlano r{};
    EmpacotaClassificacao(classificacao, r.cClassificacao);
    r.bStatus = status;
    std::memcpy(r.cCodigo, codigo, std::min(std::strlen(codigo), sizeof r.cCodigo)); // zero-padded fields
    std::memcpy(r.cNome, nome, std::min(std::strlen(nome), sizeof r.cNome));
    r.iIndTitulo = 3;
    r.iCaracteristica = 4;
    return r;
}

TEST(CarregaEstrutura, ContaSemCodigoProprioUsaOCodigoReduzido)
{
    Objeto o;
    const RegContaPlano r = Conta("1.1.01", 0, "", "Caixa");
    REG_PLANO_ALT_PS s;
    std::memset(&s, 0x55, sizeof s);
    EXPECT_EQ(o.CarregaEstrutura(12, reinterpret_cast<const uint8_t*>(&r), &s), S_OK);
    EXPECT_EQ(s.lPosicaoConta, 12);
    EXPECT_STREQ(s.cCodigoUsado, "129");
    EXPECT_STREQ(s.cCodigoProprio, "129");
    EXPECT_STREQ(s.cClassificacao, "1.1.01");
    EXPECT_STREQ(s.cNome, "Caixa");
    EXPECT_EQ(s.cTipo, 'A');
    EXPECT_EQ(s.cExcluida, 0);
    EXPECT_EQ(s.iIndTitulo, 3);
    EXPECT_EQ(s.iCaracteristica, 4);
    EXPECT_EQ(s.lPosContaEmp, 0u);
    EXPECT_EQ(s.cFiller[4], 0) << "the record starts zeroed";
    EXPECT_FALSE(o.Excluida());
}

TEST(CarregaEstrutura, TituloExcluidoCodigoENomeCheios)
{
    Objeto o;
    const RegContaPlano r = Conta("2", kStatusTitulo | kStatusExcluido, "0123456789",
                                  "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN");
    REG_PLANO_ALT_PS s;
    o.CarregaEstrutura(5, reinterpret_cast<const uint8_t*>(&r), &s);
    EXPECT_STREQ(s.cCodigoProprio, "0123456789") << "all ten characters, terminated";
    EXPECT_EQ(std::strlen(s.cNome), 50u);
    EXPECT_STREQ(s.cCodigoUsado, "52");
    EXPECT_EQ(s.cTipo, 'T');
    EXPECT_EQ(s.cExcluida, 1);
    EXPECT_TRUE(o.Excluida());
}

class Inicializacao : public teste::SuiteInstalada {};

TEST_F(Inicializacao, DiretorioDaEmpresaOuFalha)
{
    GravaTexto(plataforma::RaizRegistro::LocalMachine, CTQPath::CombinaChave(kChaveSuiteBarra, "Empresas\\0001"), "DF",
               m_dir);
    Objeto com;
    EXPECT_EQ(com.Inicializa(Sessao("0001")), S_OK);
    EXPECT_EQ(com.m_sDiretorioDados, m_dir);
    EXPECT_TRUE(com.EstaInicializado());

    apoio::CapturaTrace trace;
    Objeto sem;
    EXPECT_EQ(sem.Inicializa(Sessao("0002")), TQHResult(0x80043F59));
    EXPECT_FALSE(sem.EstaInicializado());
    ASSERT_EQ(trace.quantidade(), 1u);
    EXPECT_STREQ(trace.linhas()[0].funcao, "CBasePlanoAlternativo::OnInicializa");
}

TEST_F(Inicializacao, PlanoSemArquivoNaoTocaOArmazem)
{
    GravaTexto(plataforma::RaizRegistro::LocalMachine, CTQPath::CombinaChave(kChaveSuiteBarra, "Empresas\\0001"), "DF",
               m_dir);
    Objeto o;
    ASSERT_EQ(o.Inicializa(Sessao("0001")), S_OK);
    EXPECT_EQ(o.InicializaPlano(), S_OK);
    EXPECT_EQ(o.m_pClassificacao, nullptr);
    std::strcpy(o.m_szArquivoPlano, "DFPLA007.DAT");
    EXPECT_EQ(o.InicializaPlano(), S_OK);
    ASSERT_NE(o.m_pClassificacao, nullptr);
    EXPECT_STREQ(o.m_szArquivoIndice, "DFIND007.DAT");
    EXPECT_TRUE(apoio::Existe(m_dir + "DFIND007.DAT")) << "the store made the index of the new chart";
    EXPECT_EQ(o.m_pClassificacao->GetTamanhoCodigo(), 10);
}

} // namespace
