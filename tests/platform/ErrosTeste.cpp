// System error numbers to file error kinds: the ones that callers tell apart.
#include <gtest/gtest.h>

#include "platform/Erros.h"

using namespace plataforma;
using T = TipoErroArquivo;

TEST(ClassificaErroArquivo, NumerosQueOsChamadoresDistinguem)
{
    EXPECT_EQ(ClassificaErroArquivo(erro::Nenhum), T::Nenhum);
    EXPECT_EQ(ClassificaErroArquivo(erro::ArquivoNaoEncontrado), T::ArquivoNaoEncontrado);
    EXPECT_EQ(ClassificaErroArquivo(erro::CaminhoNaoEncontrado), T::CaminhoInvalido);
    EXPECT_EQ(ClassificaErroArquivo(erro::ViolacaoCompartilhamento), T::ViolacaoCompartilhamento);
    EXPECT_EQ(ClassificaErroArquivo(erro::ViolacaoBloqueio), T::ViolacaoBloqueio);
    EXPECT_EQ(ClassificaErroArquivo(erro::DiscoCheio), T::DiscoCheio);
    // A create over an existing name is refused access, not a missing path.
    EXPECT_EQ(ClassificaErroArquivo(erro::JaExiste), T::AcessoNegado);
    for (DWORD e : {1u, 87u, 1460u, 0xFFFFFFFFu})
        EXPECT_EQ(ClassificaErroArquivo(e), T::Generico) << e;
}
