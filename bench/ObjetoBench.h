// The alternative-chart object as a client of the in-process class holds it: a
// CComObject<CTQDF_PlanoAlt> asked for ITQDF_PlanoAlt, and the session record that passes the
// frame's checks.
#pragma once

#include <memory>
#include <string>

#include "server/TQDF_PlanoAlt.h"

namespace bench {

struct LiberaInterface {
    void operator()(ITQDF_PlanoAlt* p) const { p->Release(); }
};
using ObjetoPlano = std::unique_ptr<ITQDF_PlanoAlt, LiberaInterface>;

// A new object, not initialized; null when the creation fails.
ObjetoPlano CriaObjeto();

// The session of user 7 in the company, as another server of the suite fills it.
_REG_DF_INICIALIZAPS RegistroSessao(const std::string& empresa);

// A new object after Inicializa_Padrao for the company (whose data directory is registered);
// null when either step fails.
ObjetoPlano ObjetoInicializado(const std::string& empresa);

} // namespace bench
