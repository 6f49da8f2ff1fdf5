// The business object's base: its initialization and the conversion of a chart record into the
// interface's account record (a plan's binding is the selection's, through SetPlano).
#include <algorithm>
#include <cstring>
#include <string>

#include "ServicoTeste.h"
#include "df/planoalt/ArquivosPlano.h"

namespace {

using Base = teste::ServicoTeste;

TEST(CarregaEstrutura, CodigoReduzidoCamposCheiosTituloExcluido)
{
    teste::ObjetoServico o;
    RegContaPlano r{};
    EmpacotaClassificacao("1.1.01", r.cClassificacao);
    r.bStatus = kStatusTitulo | kStatusExcluido;
    std::fill(std::begin(r.cNome), std::end(r.cNome), 'N');
    REG_PLANO_ALT_PS s;
    std::memset(&s, 0x55, sizeof s);
    EXPECT_EQ(o.CarregaEstrutura(12, reinterpret_cast<const uint8_t*>(&r), &s), S_OK);
    EXPECT_EQ(s.lPosicaoConta, 12);
    EXPECT_STREQ(s.cCodigoUsado, "129");
    EXPECT_STREQ(s.cCodigoProprio, "129") << "no own code: the reduced one";
    EXPECT_EQ(std::string(s.cNome), std::string(50, 'N')) << "all fifty characters, terminated";
    EXPECT_EQ(s.cTipo, 'T');
    EXPECT_EQ(s.cExcluida, 1);
    EXPECT_TRUE(o.Excluida());
    EXPECT_EQ(s.cFiller[4], 0) << "the record starts zeroed";

    r.bStatus = 0;
    std::memcpy(r.cCodigo, "0123456789", 10);
    o.CarregaEstrutura(5, reinterpret_cast<const uint8_t*>(&r), &s);
    EXPECT_STREQ(s.cCodigoProprio, "0123456789") << "all ten characters, terminated";
    EXPECT_FALSE(o.Excluida());
}

TEST_F(Base, EmpresaSemDiretorioFalha)
{
    _REG_DF_INICIALIZAPS r{};
    std::strcpy(r.szEmpresa, "0002");
    apoio::CapturaTrace trace;
    teste::ObjetoServico sem;
    EXPECT_EQ(sem.Inicializa(r), TQHResult(0x80043F59));
    EXPECT_FALSE(sem.EstaInicializado());
    ASSERT_EQ(trace.quantidade(), 1u);
    EXPECT_STREQ(trace.linhas()[0].funcao, "CBasePlanoAlternativo::OnInicializa");
}

} // namespace
