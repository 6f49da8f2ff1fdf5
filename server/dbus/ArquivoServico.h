// The bus's service file of the local server, through which dbus-daemon starts it on demand.
#pragma once

#include <string>

#include "platform/Tipos.h"

namespace dbus {

// The machine's session-service directory, or the user's: $XDG_DATA_HOME/dbus-1/services
// (by default ~/.local/share/dbus-1/services). With a trailing '/'.
std::string DiretorioServicos(bool porUsuario);

// Writes (whole, through a temporary file) or removes org.zazazu.ZazAzu.service there; Exec is
// the server's absolute path. S_OK, or the failure (traced).
HRESULT GravaArquivoServico(bool porUsuario, const std::string& servidor);
HRESULT RemoveArquivoServico(bool porUsuario);

} // namespace dbus
