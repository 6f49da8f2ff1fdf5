#include "platform/Erros.h"

#include <algorithm>
#include <iterator>

namespace plataforma {

namespace {

using T = TipoErroArquivo;

struct Par {
    DWORD erro;
    TipoErroArquivo tipo;
};

// The same classification that the class library's file exception applies,
// sorted by error number for the binary search below.
constexpr Par kTabela[] = {
    {0, T::Nenhum},
    {2, T::ArquivoNaoEncontrado},     // file not found
    {3, T::CaminhoInvalido},          // path not found
    {4, T::MuitosArquivosAbertos},    // too many open files
    {5, T::AcessoNegado},             // access denied
    {6, T::ArquivoInvalido},          // invalid handle
    {11, T::ArquivoInvalido},         // bad format
    {12, T::AcessoNegado},            // invalid access
    {15, T::CaminhoInvalido},         // invalid drive
    {16, T::RemoveDiretorioAtual},    // current directory
    {17, T::CaminhoInvalido},         // not same device
    {18, T::ArquivoNaoEncontrado},    // no more files
    {19, T::AcessoNegado},            // write protect
    {20, T::ErroHardware},            // bad unit
    {21, T::ErroHardware},            // not ready
    {22, T::ErroHardware},            // bad command
    {23, T::ErroHardware},            // CRC
    {24, T::BuscaInvalida},           // bad length
    {25, T::BuscaInvalida},           // seek
    {26, T::ArquivoInvalido},         // not a DOS disk
    {27, T::BuscaInvalida},           // sector not found
    {29, T::AcessoNegado},            // write fault
    {30, T::BuscaInvalida},           // read fault
    {31, T::ErroHardware},            // general failure
    {32, T::ViolacaoCompartilhamento},
    {33, T::ViolacaoBloqueio},
    {34, T::CaminhoInvalido},         // wrong disk
    {36, T::MuitosArquivosAbertos},   // sharing buffer exceeded
    {38, T::FimArquivo},              // handle EOF
    {39, T::DiscoCheio},              // handle disk full
    {52, T::CaminhoInvalido},         // duplicate name
    {53, T::CaminhoInvalido},         // bad network path
    {54, T::AcessoNegado},            // network busy
    {55, T::CaminhoInvalido},         // device does not exist
    {57, T::ErroHardware},            // adapter hardware error
    {58, T::AcessoNegado},            // bad network response
    {59, T::ErroHardware},            // unexpected network error
    {60, T::ArquivoInvalido},         // bad remote adapter
    {62, T::DiretorioCheio},          // no spool space
    {64, T::AcessoNegado},            // network name deleted
    {65, T::AcessoNegado},            // network access denied
    {66, T::ArquivoInvalido},         // bad device type
    {67, T::CaminhoInvalido},         // bad network name
    {68, T::MuitosArquivosAbertos},   // too many names
    {70, T::CaminhoInvalido},         // sharing paused
    {71, T::AcessoNegado},            // request not accepted
    {80, T::AcessoNegado},            // file exists
    {82, T::AcessoNegado},            // cannot make
    {85, T::CaminhoInvalido},         // already assigned
    {86, T::AcessoNegado},            // invalid password
    {88, T::ErroHardware},            // network write fault
    {107, T::ArquivoNaoEncontrado},   // disk change
    {108, T::ViolacaoBloqueio},       // drive locked
    {111, T::CaminhoInvalido},        // buffer overflow
    {112, T::DiscoCheio},             // disk full
    {113, T::MuitosArquivosAbertos},  // no more search handles
    {114, T::ArquivoInvalido},        // invalid target handle
    {117, T::ErroHardware},           // invalid category
    {123, T::CaminhoInvalido},        // invalid name
    {124, T::CaminhoInvalido},        // invalid level
    {125, T::CaminhoInvalido},        // no volume label
    {131, T::BuscaInvalida},          // negative seek
    {132, T::BuscaInvalida},          // seek on device
    {144, T::CaminhoInvalido},        // directory not root
    {145, T::RemoveDiretorioAtual},   // directory not empty
    {154, T::CaminhoInvalido},        // label too long
    {161, T::CaminhoInvalido},        // bad path name
    {167, T::ViolacaoBloqueio},       // lock failed
    {170, T::AcessoNegado},           // busy
    {182, T::ArquivoInvalido},        // invalid ordinal
    {183, T::AcessoNegado},           // already exists
    {191, T::ArquivoInvalido},        // invalid executable signature
    {193, T::ArquivoInvalido},        // bad executable format
    {206, T::CaminhoInvalido},        // file name exceeds range
    {208, T::CaminhoInvalido},        // meta expansion too long
    {267, T::CaminhoInvalido},        // not a directory
    {995, T::ErroHardware},           // operation aborted
    {996, T::ErroHardware},           // I/O incomplete
    {997, T::ErroHardware},           // I/O pending
    {999, T::AcessoNegado},           // swap error
};

constexpr bool Ordenada()
{
    for (size_t i = 1; i < std::size(kTabela); ++i)
        if (kTabela[i - 1].erro >= kTabela[i].erro)
            return false;
    return true;
}
static_assert(Ordenada(), "the table must stay sorted for the binary search");

} // namespace

TipoErroArquivo ClassificaErroArquivo(DWORD erroSistema)
{
    const auto it = std::lower_bound(std::begin(kTabela), std::end(kTabela), erroSistema,
                                     [](const Par& p, DWORD e) { return p.erro < e; });
    if (it != std::end(kTabela) && it->erro == erroSistema)
        return it->tipo;
    return TipoErroArquivo::Generico;
}

} // namespace plataforma
