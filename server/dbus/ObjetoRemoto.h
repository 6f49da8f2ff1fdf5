// The proxy of libZAZAZUps.so: an object with the vtable of ITQDF_PlanoAlt whose methods send
// each call to the object that the local server created for it, over a connection of its own
// (the server ties its objects to the connection that created them). Calls wait as long as
// the server works on them; a server that is gone answers RPC_E_DISCONNECTED.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "server/Contrato.h"
#include "server/dbus/Barramento.h"

namespace dbus {

constexpr HRESULT kDesconectado = TQHResult(0x80010108);         // RPC_E_DISCONNECTED
constexpr HRESULT kServidorIndisponivel = TQHResult(0x800706BA); // RPC_S_SERVER_UNAVAILABLE
constexpr HRESULT kChamadaFalhou = TQHResult(0x800706BE);        // RPC_S_CALL_FAILED

// The HRESULT of a call that the transport failed (r: the sd-bus result).
HRESULT FalhaDeTransporte(int r, const ErroBus& erro);

// A connection of its own to the session bus (DBUS_SESSION_BUS_ADDRESS).
HRESULT AbreSessao(Bus& bus);

// Live proxies, for DllCanUnloadNow.
ULONG ObjetosRemotosVivos();

// Creates the server's object through the bus (the bus starts the server when needed) and
// answers a proxy for riid.
HRESULT CriaObjetoRemoto(REFIID riid, void** ppv);

struct ObjetoRemoto {
    explicit ObjetoRemoto(const void* v) : vtable(v) {}

    const void* vtable; // first, as in every interface
    std::atomic<ULONG> referencias{1};
    Bus bus;
    std::string servidor; // the unique name of the server's connection
    std::string caminho;
    std::mutex trava;     // one call at a time on the connection

    // Sends the call of method M with the caller's arguments and copies its out part back.
    template <class M, class... T>
    HRESULT Chama(T... argumentos);

    HRESULT Envia(sd_bus_message* chamada, sd_bus_message** resposta);
};

template <class M, class... T>
HRESULT ObjetoRemoto::Chama(T... argumentos)
{
    std::lock_guard<std::mutex> t(trava);
    sd_bus_message* chamada = nullptr;
    if (sd_bus_message_new_method_call(bus.get(), &chamada, servidor.c_str(), caminho.c_str(), kInterface,
                                       M::kNome) < 0)
        return kDesconectado;
    Mensagem donoChamada(chamada);
    if (const HRESULT hr = M::EnviaEntrada(chamada, argumentos...); TQFalhou(hr))
        return hr;
    sd_bus_message* resposta = nullptr;
    if (const HRESULT hr = Envia(chamada, &resposta); TQFalhou(hr))
        return hr;
    Mensagem donoResposta(resposta);
    int32_t hr = 0;
    if (sd_bus_message_read_basic(resposta, 'i', &hr) <= 0)
        return TQHResult(0x800706F7); // RPC_X_BAD_STUB_DATA
    const HRESULT saida = M::RecebeSaida(resposta, argumentos...);
    return TQFalhou(saida) ? saida : hr;
}

} // namespace dbus
