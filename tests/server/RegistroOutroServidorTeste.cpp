// The session record this server hands to another server: filled from an identity, and
// accepted by a receiver's checks.

#include "Cliente.h"
#include "df/tqlibex/TQProfiler.h"
#include "server/Core/TQRPCDLL/TQInicializacao.h"

namespace cliente {
namespace {

using RegistroOutroServidor = ClienteTeste;

TEST_F(RegistroOutroServidor, PreenchidoPelaIdentidadeEAceitoPelasVerificacoes)
{
    CTQProfilerEmpresa identidade("0001", 12, 3456);
    const _REG_DF_INICIALIZAPS r = TQRegistroParaOutroServidor(identidade, "TQDF_PlanoAltRelatorio", 321);
    // The fields from the identity; the receiver's checks (CRC and structure) pass.
    EXPECT_EQ(r.ulUsuario, 12u);
    EXPECT_EQ(r.ulNumeroSessao, 3456u);
    EXPECT_STREQ(r.szEmpresa, "0001");
    EXPECT_EQ(m_obj->Inicializa_Padrao(r), S_OK);
}

} // namespace
} // namespace cliente
