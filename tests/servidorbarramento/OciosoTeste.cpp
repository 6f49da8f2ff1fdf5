// The idle exit with the real time-out: a client killed while it holds objects has them released
// when its connection leaves the bus; the server ends 50 s after the last release, and a new
// object in the meantime starts the 50 s again. Its own CTest entry (it takes a minute and a half).
#include <string>

#include "ServidorLocal.h"
#include "apoio/Apoio.h"
#include "apoio/FilhoTeste.h"
#include "platform/Tempo.h"

namespace servidorlocal {
namespace {

using cliente::Ptr;

constexpr DWORD kTempoOcioso = 50000;
constexpr const char* kRundown = "left the bus: 1 object(s) it held released";

// Run only as a child: creates two objects, tells the parent, and waits to be killed.
TEST(OciosoFilhoLado, SeguraDoisObjetos)
{
    if (!teste::SouFilho())
        GTEST_SKIP() << "only as a child";
    cliente::UsaModulo(ModuloProxy());
    Ptr<ITQDF_PlanoAlt> um;
    Ptr<ITQDF_PlanoAlt> dois;
    ASSERT_EQ(cliente::Cria(&um), S_OK);
    ASSERT_EQ(cliente::Cria(&dois), S_OK);
    ASSERT_EQ(um->Inicializa_Padrao(cliente::Sessao("0001")), S_OK);
    apoio::GravaTudo(teste::ArgumentosDoFilho().at(0) + "pronto", "");
    plataforma::Dorme(120000);
}

class Ocioso : public ServidorLocalTeste {};

TEST_F(Ocioso, ClienteMortoLiberadoEFimCinquentaSegundosDepoisDaUltimaLiberacao)
{
    const LogDosServidores log;
    const DWORD servidor = m_bus->PidServidor();
    ASSERT_NE(servidor, 0u);
    m_obj.Libera();

    plataforma::ProcessoFilho filho;
    ASSERT_EQ(teste::RodaFilho("OciosoFilhoLado.SeguraDoisObjetos", {m_dir}, filho), 0u);
    ASSERT_TRUE(apoio::EsperaArquivo(m_dir + "pronto"));
    filho.Termina();
    ASSERT_TRUE(filho.Espera(10000));
    // Each proxy has a connection of its own: two connections leave, one object each. The log
    // is shared with the servers of tests running beside this one: at least two such lines.
    const auto soltos = [&] {
        const std::string novo = log.Novo();
        size_t n = 0;
        for (size_t p = novo.find(kRundown); p != std::string::npos; p = novo.find(kRundown, p + 1))
            ++n;
        return n;
    };
    for (int i = 0; i < 500 && soltos() < 2; ++i)
        plataforma::Dorme(20);
    ASSERT_GE(soltos(), 2u) << "the killed client's objects were released";

    // 30 s into the countdown a new object comes and goes: the 50 s start again from there.
    plataforma::Dorme(30000);
    ASSERT_TRUE(plataforma::ProcessoVivo(servidor));
    {
        Ptr<ITQDF_PlanoAlt> outro;
        ASSERT_EQ(cliente::Cria(&outro), S_OK);
        EXPECT_EQ(m_bus->PidServidor(), servidor) << "the same server, still serving";
    }
    const DWORD liberado = plataforma::Ticks();
    ASSERT_TRUE(BarramentoPrivado::EsperaFim(servidor, 10 * kTempoOcioso)) << "the idle server never ended";
    const DWORD decorrido = plataforma::Ticks() - liberado;
    EXPECT_GE(decorrido, kTempoOcioso - apoio::kTickRelogioMs);
    EXPECT_EQ(m_bus->PidServidor(), 0u) << "nobody owns the name after it";
}

} // namespace
} // namespace servidorlocal
