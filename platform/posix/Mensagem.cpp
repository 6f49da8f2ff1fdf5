#include "platform/Mensagem.h"

namespace plataforma {

// No desktop dialogs here: the report goes to the error output.
bool MostraDialogo(const std::string&, const std::string&, EstiloMensagem) { return false; }

} // namespace plataforma
