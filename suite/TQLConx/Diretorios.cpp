// The data directories and the company logged in, as the suite's database library answers them:
// data directories under suite key \ "TQSDataBase" \ company (values named by module code),
// the company logged in as "EmpresaLogada" under the current user's suite key.
#include <cstring>
#include <string>

#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQLConxExports.h"
#include "df/tqlibex/TQPath.h"
#include "df/tqlibex/TQRegistro.h"
#include "platform/Erros.h"
#include "suite/comum/Exporta.h"

namespace {

// 0 when the text fits with its terminator, else "more data"; empty is "not found".
long CopiaTexto(const std::string& texto, char* saida, unsigned long tamanhoSaida)
{
    if (!saida || tamanhoSaida == 0)
        return long(plataforma::erro::ParametroInvalido);
    *saida = '\0';
    if (texto.empty())
        return long(plataforma::erro::ArquivoNaoEncontrado);
    if (texto.size() >= tamanhoSaida)
        return long(plataforma::erro::MaisDados);
    std::memcpy(saida, texto.c_str(), texto.size() + 1);
    return 0;
}

} // namespace

TQ_EXPORTA long GetDiretorioDadosModulo(long modulo, const char* empresa, char* saida, unsigned long tamanhoSaida)
{
    [[maybe_unused]] constexpr PFN_GetDiretorioDadosModulo kConfere = &GetDiretorioDadosModulo;
    const std::string dir = CTQPath::GetDiretorioDadosRegistro(kSubchaveTQSDataBase, modulo, empresa ? empresa : "");
    return CopiaTexto(dir, saida, tamanhoSaida);
}

TQ_EXPORTA int TQGetNomeEmpresaLogada(char* saida, unsigned long tamanhoSaida)
{
    [[maybe_unused]] constexpr PFN_TQGetNomeEmpresaLogada kConfere = &TQGetNomeEmpresaLogada;
    CTQRegistro usuario(plataforma::RaizRegistro::CurrentUser, kChaveSuite);
    return CopiaTexto(usuario.LeTexto(kValorEmpresaLogada, ""), saida, tamanhoSaida) == 0;
}
