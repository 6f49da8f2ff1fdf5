#include "df/planoalt/AlternativoBase.h"

// The report builder is not there yet.
HRESULT CBasePlanoAlternativo::GeraRelatorioPlanoAlternativo(const char*, const char*, const char*, LONG)
{
    return TQHResult(0x80004001); // E_NOTIMPL
}
