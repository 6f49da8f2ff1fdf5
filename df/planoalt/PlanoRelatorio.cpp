#include "df/planoalt/AlternativoBase.h"

// The report builder is not there yet.
HRESULT CBasePlanoAlternativo::GeraRelatorioPlanoAlternativo(const char*, const char*, const char*, LONG)
{
    return kNaoImplementado;
}
