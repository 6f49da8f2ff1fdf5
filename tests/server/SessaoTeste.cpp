// A client's session through the interface in process, one pass per group of slots, with the
// blocks and texts of the module's allocators. The bytes on disk are the service's tests' business.
#include "Cliente.h"

namespace cliente {
namespace {

using SessaoTeste = ClienteTeste;

TEST_F(SessaoTeste, UmaPassadaPorGrupoDeSlots) { SessaoCompleta(m_obj.get(), "0001", m_dir); }

} // namespace
} // namespace cliente
