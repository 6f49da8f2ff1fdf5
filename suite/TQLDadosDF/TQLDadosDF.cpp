// The company's main chart of accounts by position, for the sessions of this program.
#include <string>

#include "df/tqlibex/TQLDadosDFExports.h"
#include "df/tqlibex/TQModulos.h"
#include "df/tqlibex/TQPath.h"
#include "suite/comum/Exporta.h"
#include "suite/comum/PlanoEmpresarial.h"

TQ_EXPORTA ITQPlanoEmpresarial* TQCriaPlanoEmpresarial(const char* empresa)
{
    [[maybe_unused]] constexpr PFN_TQCriaPlanoEmpresarial kConfere = &TQCriaPlanoEmpresarial;
    try {
        const std::string dir = CTQPath::GetDiretorioDadosModulo(kModuloDF, empresa ? empresa : "");
        return new CPlanoEmpresarial(dir.empty() ? std::string() : dir + kArquivoPlanoEmpresarial);
    } catch (...) {
        return nullptr;
    }
}
