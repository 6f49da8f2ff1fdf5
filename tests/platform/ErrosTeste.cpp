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
    // Sharing, lock and disk-full reach their own statuses in the record files' fault tests.
    // A create over an existing name is refused access, not a missing path.
    EXPECT_EQ(ClassificaErroArquivo(erro::JaExiste), T::AcessoNegado);
    for (DWORD e : {87u, 0xFFFFFFFFu})
        EXPECT_EQ(ClassificaErroArquivo(e), T::Generico) << e;
}
