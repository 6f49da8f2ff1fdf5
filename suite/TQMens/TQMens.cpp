// Stand-in for the suite's message library: each report becomes one line of "TQMens.log"
// beside the running executable, with every argument in a column of its own.
#include <cstdio>
#include <string>

#include "df/tqlibex/TQMensExports.h"
#include "platform/Arquivo.h"
#include "platform/Processo.h"
#include "suite/comum/Exporta.h"
#include "suite/comum/LinhaLog.h"

namespace {

std::string ArquivoLog()
{
    const std::string exe = plataforma::CaminhoExecutavel();
    return exe.substr(0, exe.find_last_of(plataforma::kSeparador) + 1) + "TQMens.log";
}

} // namespace

TQ_EXPORTA HRESULT TQTrataErroExported(HRESULT hrPrincipal, HRESULT hrDetalhe, int32_t lValor, const char* empresa,
                                       const char* fonte, int32_t linha, int32_t bMostra, int32_t zero,
                                       const char* executavel, const char* texto)
{
    // Keeps the type of the export and the header's typedef in step.
    [[maybe_unused]] constexpr PFN_TQTrataErroExported kConfere = &TQTrataErroExported;
    char numeros[96];
    std::snprintf(numeros, sizeof numeros, "\t0x%08X\t0x%08X\t%d\t", unsigned(hrPrincipal), unsigned(hrDetalhe),
                  int(lValor));
    std::string registro = suite::MomentoLocal();
    registro.append(numeros)
        .append(suite::SemQuebras(empresa))
        .append("\t")
        .append(suite::SemQuebras(fonte))
        .append("\t")
        .append(std::to_string(linha))
        .append("\t")
        .append(std::to_string(bMostra))
        .append("\t")
        .append(std::to_string(zero))
        .append("\t")
        .append(suite::SemQuebras(executavel))
        .append("\t")
        .append(suite::SemQuebras(texto));
    return suite::AcrescentaLinha(ArquivoLog(), registro) == 0 ? S_OK : kFalha;
}
