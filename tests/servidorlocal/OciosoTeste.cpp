// The real idle time-out: the server ends 50 s after its last object was released, and an
// object created meanwhile moves the end to 50 s after its own release. Its own CTest entry
// (and Wine prefix), so that it runs beside the other tests.
#include <gtest/gtest.h>

#include "../server/Cliente.h"
#include "ServidorLocal.h"
#include "apoio/Apoio.h"
#include "platform/Tempo.h"

namespace local {
namespace {

constexpr DWORD kOcioso = 50000;

class Ocioso : public ServidorInstalado {};

TEST_F(Ocioso, EncerraCinquentaSegundosDepoisDaUltimaLiberacao)
{
    if (!ProcessosServidor().empty())
        GTEST_SKIP() << "a server of an earlier run is still counting down";
    {
        cliente::Ptr<ITQDF_PlanoAlt> obj;
        ASSERT_EQ(CriaLocal(&obj), S_OK);
    }
    const std::vector<DWORD> pids = ProcessosServidor();
    ASSERT_EQ(pids.size(), 1u);
    plataforma::Dorme(30000);
    {
        cliente::Ptr<ITQDF_PlanoAlt> obj;
        ASSERT_EQ(CriaLocal(&obj), S_OK);
    }
    const DWORD liberado = plataforma::Ticks();
    EXPECT_EQ(ProcessosServidor(), pids);
    ASSERT_TRUE(EsperaFimProcesso(pids[0], 10 * kOcioso));
    const DWORD fim = plataforma::Ticks() - liberado;
    EXPECT_GE(fim + apoio::kTickRelogioMs, kOcioso);
    EXPECT_LE(fim, 2 * kOcioso);
}

} // namespace
} // namespace local
