#include "platform/Versao.h"

#include <sys/utsname.h>

#include "platform/Erros.h"

#ifndef ZAZAZU_VERSAO
#error "ZAZAZU_VERSAO must come from the build"
#endif

namespace plataforma {

std::string VersaoExecutavel() { return ZAZAZU_VERSAO; }

std::string VersaoSistema()
{
    utsname u;
    return uname(&u) == 0 ? std::string(u.release) : std::string();
}

std::string TextoErroSistema(DWORD erroSistema)
{
    // The Windows texts of the errors this system meets; others stay without text.
    switch (erroSistema) {
    case erro::Nenhum: return "The operation completed successfully.";
    case erro::ArquivoNaoEncontrado: return "The system cannot find the file specified.";
    case erro::CaminhoNaoEncontrado: return "The system cannot find the path specified.";
    case erro::MuitosArquivosAbertos: return "The system cannot open the file.";
    case erro::AcessoNegado: return "Access is denied.";
    case erro::HandleInvalido: return "The handle is invalid.";
    case erro::ViolacaoCompartilhamento:
        return "The process cannot access the file because it is being used by another process.";
    case erro::ViolacaoBloqueio:
        return "The process cannot access the file because another process has locked a portion of the file.";
    case erro::DiscoCheio: return "There is not enough space on the disk.";
    case erro::JaExiste: return "Cannot create a file when that file already exists.";
    default: return {};
    }
}

} // namespace plataforma
