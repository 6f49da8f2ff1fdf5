// The open modes of the record files and the mark files, as the tests use them.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "platform/Arquivo.h"

namespace teste {

using plataforma::Disposicao;
using plataforma::ModoArquivo;

// Read; others may read and write.
inline const ModoArquivo kL{true, false, true, true, Disposicao::AbreExistente};
// Read and write; others may only read.
inline const ModoArquivo kG{true, true, true, false, Disposicao::AbreExistente};
// Create or truncate; others may only read.
inline const ModoArquivo kC{true, true, true, false, Disposicao::CriaSempre};
// Mark file: nobody else at all.
inline const ModoArquivo kMarca{true, true, false, false, Disposicao::CriaSempre};

// The whole content, read from the start.
inline std::string Conteudo(plataforma::ArquivoSO& a)
{
    std::string s(4096, '\0');
    DWORD lidos = 0;
    EXPECT_EQ(a.Posiciona(0, plataforma::Origem::Inicio), 0u);
    EXPECT_EQ(a.Le(s.data(), static_cast<DWORD>(s.size()), lidos), 0u);
    s.resize(lidos);
    return s;
}

} // namespace teste
