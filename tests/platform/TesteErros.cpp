// System error numbers to file error kinds.
#include <gtest/gtest.h>

#include "platform/Erros.h"

using namespace plataforma;
using T = TipoErroArquivo;

TEST(ClassificaErroArquivo, NumerosPrincipais)
{
    const struct {
        DWORD erro;
        TipoErroArquivo tipo;
    } casos[] = {
        {0, T::Nenhum},
        {2, T::ArquivoNaoEncontrado},
        {3, T::CaminhoInvalido},
        {4, T::MuitosArquivosAbertos},
        {5, T::AcessoNegado},
        {6, T::ArquivoInvalido},
        {16, T::RemoveDiretorioAtual},
        {21, T::ErroHardware},
        {23, T::ErroHardware},
        {25, T::BuscaInvalida},
        {31, T::ErroHardware},
        {32, T::ViolacaoCompartilhamento},
        {33, T::ViolacaoBloqueio},
        {38, T::FimArquivo},
        {39, T::DiscoCheio},
        {53, T::CaminhoInvalido},
        {80, T::AcessoNegado},
        {112, T::DiscoCheio},
        {123, T::CaminhoInvalido},
        {131, T::BuscaInvalida},
        {161, T::CaminhoInvalido},
        {183, T::AcessoNegado},
        {206, T::CaminhoInvalido},
    };
    for (const auto& c : casos)
        EXPECT_EQ(ClassificaErroArquivo(c.erro), c.tipo) << c.erro;
}

TEST(ClassificaErroArquivo, DesconhecidoEhGenerico)
{
    for (DWORD e : {1u, 7u, 87u, 1460u, 0xFFFFFFFFu})
        EXPECT_EQ(ClassificaErroArquivo(e), T::Generico) << e;
}
