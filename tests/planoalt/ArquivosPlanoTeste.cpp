// The service's file names and fixed-field copies.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "df/planoalt/ArquivosPlano.h"
#include "df/planoalt/CopiaCampo.h"

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

} // namespace
