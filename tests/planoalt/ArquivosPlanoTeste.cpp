// The service's file names and fixed-field copies.
#include <cstddef>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "df/planoalt/ArquivosPlano.h"
#include "df/planoalt/CopiaCampo.h"
#include "df/planoalt/IntencaoMascara.h"
#include "apoio/Apoio.h"

namespace {

TEST(NomesDosArquivos, NumerosGrandesCortadosEDerivados)
{
    EXPECT_EQ(NomeArquivoPlano(9999), "DFPLA9999.DAT");
    EXPECT_EQ(NomeArquivoPlano(12345), "DFPLA12345.DA") << "13 characters and the field's NUL";
    EXPECT_EQ(NomeArquivoVinculos("DFPLA12345.DA"), "DFVIN12345.DA");
    EXPECT_EQ(NomeArquivoIndice("DF"), "DF");
}

TEST(NomesDosArquivos, SoODiretorioDeDadosENuncaUmDoServico)
{
    EXPECT_TRUE(NomeArquivoSeguro("DFPLA007.DAT"));
    for (const char* nome : {"", "..", "../DFPLA007.DAT", "a/b.DAT", "a\\b.DAT", "C:X.DAT", "DF..DAT"})
        EXPECT_FALSE(NomeArquivoSeguro(nome)) << nome;
    // A chart's name: none of the service's files, nor one that its index or links would share.
    EXPECT_TRUE(NomeArquivoPlanoValido("DFPLA007.DAT"));
    for (const char* nome : {"DFVIN001.DAT", "dfmascar.dat", "DFPLA001", "DF\x01LA1.DAT", "XXMARCA8.DAT"})
        EXPECT_FALSE(NomeArquivoPlanoValido(nome)) << nome;
}

TEST(CopiaDeCampo, CortaDeixandoTerminador)
{
    char campo[10];
    std::memset(campo, 'x', sizeof campo);
    TQCopiaCampo(campo, sizeof campo, "abc");
    EXPECT_EQ(std::string(campo, sizeof campo), std::string("abc\0\0\0\0\0\0\0", 10)) << "the field is cleared";
    TQCopiaCampo(campo, sizeof campo, "0123456789AB");
    EXPECT_EQ(std::string(campo, sizeof campo), std::string("012345678\0", 10));
    TQCopiaCampo(campo, sizeof campo, "0123456789AB", true);
    EXPECT_EQ(std::string(campo, sizeof campo), "0123456789") << "masks may fill every byte";
}

using Intencao = apoio::DiretorioTemporario;

// A crash while the intent is written leaves it torn: any byte changed makes it no intent.
TEST_F(Intencao, SoInteiraEComSeuCrc)
{
    RegIntencaoMascara gravada{};
    gravada.plano = 7;
    const std::string caminho = Caminho(kArquivoIntencao);
    ASSERT_EQ(GravaIntencao(caminho, gravada), 0u);
    RegIntencaoMascara lida{};
    ASSERT_TRUE(LeIntencao(caminho, lida));
    EXPECT_EQ(lida.plano, 7u);
    std::string bytes = apoio::LeTudo(caminho);
    bytes[offsetof(RegIntencaoMascara, plano)] ^= 1;
    apoio::GravaTudo(caminho, bytes);
    EXPECT_FALSE(LeIntencao(caminho, lida));
}

} // namespace
