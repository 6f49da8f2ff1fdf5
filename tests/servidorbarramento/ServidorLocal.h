// The client's tests through libZAZAZUps.so: a private bus per test, the server started by it.
#pragma once

#include <memory>

#include "BarramentoPrivado.h"
#include "server/Cliente.h"

namespace servidorlocal {

constexpr HRESULT kDesconectado = TQHResult(0x80010108);         // RPC_E_DISCONNECTED
constexpr HRESULT kServidorIndisponivel = TQHResult(0x800706BA); // RPC_S_SERVER_UNAVAILABLE

class ServidorLocalTeste : public cliente::ClienteTeste {
protected:
    void AntesDeCriar() override
    {
        cliente::UsaModulo(ModuloProxy());
        m_bus = std::make_unique<BarramentoPrivado>();
        ASSERT_EQ(m_bus->Inicia(m_dir), "");
    }
    // The objects go before the bus and its server, and those before the test's directory.
    void TearDown() override
    {
        m_obj.Libera();
        m_bus.reset();
        cliente::ClienteTeste::TearDown();
    }

    std::unique_ptr<BarramentoPrivado> m_bus;
};

} // namespace servidorlocal
