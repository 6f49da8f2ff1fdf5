// Several clients and one server: two client processes share it and lose nothing; a long call
// of one client does not hold up another's; a server killed during a call answers
// RPC_E_DISCONNECTED at once, and the next creation starts a fresh server.
#include <algorithm>
#include <atomic>
#include <set>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "ServidorLocal.h"
#include "apoio/Apoio.h"
#include "apoio/FilhoTeste.h"
#include "df/planoalt/ServicoComum.h"
#include "df/tqlibex/TQArq.h"
#include "platform/Tempo.h"

namespace servidorlocal {
namespace {

using cliente::Ptr;

constexpr int kPlanosPorFilho = 20;
constexpr HRESULT kMarcaOcupada = TQHResult(0x80040000 | 16250);

HRESULT GravaPlano(ITQDF_PlanoAlt* obj, const std::string& nome, LONG* plano)
{
    REG_DADOS_PLANO_ALT_PS d{};
    std::memcpy(d.cNomePlano, nome.data(), std::min(nome.size(), sizeof d.cNomePlano - 1));
    HRESULT hr = obj->GravaPlano(0, d, plano);
    // The older mark scheme may give up while the other client keeps the mark busy: again.
    for (int n = 0; hr == kMarcaOcupada && n < 100; ++n)
        hr = obj->GravaPlano(0, d, plano);
    return hr;
}

class Clientes : public ServidorLocalTeste {
protected:
    void SetUp() override
    {
        ServidorLocalTeste::SetUp();
        if (!HasFatalFailure())
            Inicializa();
    }
    CTQarq m_marca;
};

// Run only as a child: arguments are the barrier directory and the child's number.
TEST(ClientesFilhoLado, GravaPlanos)
{
    if (!teste::SouFilho())
        GTEST_SKIP() << "only as a child";
    const std::vector<std::string> args = teste::ArgumentosDoFilho();
    ASSERT_EQ(args.size(), 2u);
    cliente::UsaModulo(ModuloProxy());
    Ptr<ITQDF_PlanoAlt> obj;
    ASSERT_EQ(cliente::Cria(&obj), S_OK);
    ASSERT_EQ(obj->Inicializa_Padrao(cliente::Sessao("0001")), S_OK);
    for (int i = 0; i < kPlanosPorFilho; ++i) {
        LONG plano = 0;
        ASSERT_EQ(GravaPlano(obj.get(), "Filho " + args[1] + " plano " + std::to_string(i), &plano), S_OK) << i;
    }
}

TEST_F(Clientes, DoisProcessosUsamOMesmoServidorENadaSePerde)
{
    const DWORD servidor = m_bus->PidServidor();
    plataforma::ProcessoFilho filhos[2];
    for (int f = 0; f < 2; ++f)
        ASSERT_EQ(teste::RodaFilho("ClientesFilhoLado.GravaPlanos", {m_dir, std::to_string(f + 1)}, filhos[f]), 0u);
    for (auto& filho : filhos) {
        DWORD codigo = 1;
        ASSERT_TRUE(filho.Espera(120000, &codigo));
        EXPECT_EQ(codigo, 0u);
    }
    std::multiset<std::string> nomes, esperados;
    for (const auto& p : Planos())
        nomes.insert(p.cNomePlano);
    for (int f = 1; f <= 2; ++f)
        for (int i = 0; i < kPlanosPorFilho; ++i)
            esperados.insert("Filho " + std::to_string(f) + " plano " + std::to_string(i));
    EXPECT_EQ(nomes, esperados);
    EXPECT_EQ(m_bus->PidServidor(), servidor) << "the one server served both";
}

// A KeepAlive of another client comes back while a long call waits in the server; the server
// killed during that call answers it RPC_E_DISCONNECTED at once, and the next creation starts a
// fresh server.
TEST_F(Clientes, ChamadaLongaNaoAtrasaOutroEServidorMortoRespondeDesconectado)
{
    const DWORD servidor = m_bus->PidServidor();
    ASSERT_NE(servidor, 0u);
    Ptr<ITQDF_PlanoAlt> outro; // its own connection: another client to the server
    ASSERT_EQ(cliente::Cria(&outro), S_OK);
    // Holds the mark that GravaPlano waits for: a call that lasts as long as the test wants.
    ASSERT_EQ(m_marca.Marca(m_dir, kTipoMarcaPlanoEVinculo, 1), 0u);
    HRESULT hr = S_OK;
    std::atomic<bool> terminou{false};
    DWORD fim = 0;
    std::thread longa([&] {
        LONG plano = 0;
        hr = GravaPlano(m_obj.get(), "Longa", &plano);
        fim = plataforma::Ticks();
        terminou = true;
    });
    plataforma::Dorme(300); // the long call is in the server, waiting for the mark
    // A KeepAlive held behind the long call would return only once that call ended, and it
    // cannot end before the server is killed below.
    for (int i = 0; i < 21; ++i) {
        LONG ok = 0;
        EXPECT_EQ(outro->KeepAlive(&ok), S_OK);
    }
    EXPECT_FALSE(terminou) << "every KeepAlive came back while the other client's call waited";
    const DWORD morte = plataforma::Ticks();
    ASSERT_TRUE(plataforma::TerminaProcesso(servidor));
    longa.join();
    EXPECT_EQ(hr, kDesconectado);
    EXPECT_LT(fim - morte, 5000u) << "promptly, not after a time-out";
    m_marca.Desmarca();

    Ptr<ITQDF_PlanoAlt> novo;
    ASSERT_EQ(cliente::Cria(&novo), S_OK);
    LONG ok = 0;
    EXPECT_EQ(novo->KeepAlive(&ok), S_OK);
    EXPECT_NE(m_bus->PidServidor(), servidor);
}

} // namespace
} // namespace servidorlocal
