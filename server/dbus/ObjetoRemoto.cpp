#include "server/dbus/ObjetoRemoto.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <new>

#include "server/Core/TQRPCDLL/TQComObjeto.h"
#include "server/dbus/Metodos.h"

namespace dbus {

namespace {

std::atomic<ULONG> g_vivos{0};

using Entrada = void (*)();

ObjetoRemoto* Eu(void* p) { return static_cast<ObjetoRemoto*>(p); }

HRESULT QueryInterface(void* eu, REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return kPonteiroNulo;
    if (!MesmoGuid(riid, IID_IUnknown) && !MesmoGuid(riid, IID_ITQUnknown) && !MesmoGuid(riid, IID_ITQDF_PlanoAlt)) {
        *ppv = nullptr;
        return kSemInterface;
    }
    ++Eu(eu)->referencias;
    *ppv = eu;
    return S_OK;
}

ULONG AddRef(void* eu) { return ++Eu(eu)->referencias; }

// The last reference releases the server's object, then the connection.
ULONG Release(void* eu)
{
    ObjetoRemoto* o = Eu(eu);
    const ULONG n = --o->referencias;
    if (n)
        return n;
    sd_bus_message* chamada = nullptr;
    if (sd_bus_message_new_method_call(o->bus.get(), &chamada, o->servidor.c_str(), o->caminho.c_str(), kInterface,
                                       kRelease) >= 0) {
        Mensagem dono(chamada);
        sd_bus_message* resposta = nullptr;
        o->Envia(chamada, &resposta);
        sd_bus_message_unref(resposta);
    }
    delete o;
    --g_vivos;
    return 0;
}

// The slot of method M: a function with the method's parameters after the object.
template <class M, class... K>
Entrada SlotDe(const Metodo<M::kFuncao, K...>*)
{
    return reinterpret_cast<Entrada>(+[](void* eu, typename K::Tipo... a) -> HRESULT {
        return Eu(eu)->Chama<M>(a...);
    });
}

// The interface's vtable: IUnknown, then every method of the table in slot order.
const Entrada* Vtable()
{
    static const auto tabela = [] {
        std::array<Entrada, metodos::kPrimeiroSlot + std::tuple_size_v<metodos::Tabela>> t{};
        t[0] = reinterpret_cast<Entrada>(&QueryInterface);
        t[1] = reinterpret_cast<Entrada>(&AddRef);
        t[2] = reinterpret_cast<Entrada>(&Release);
        size_t i = metodos::kPrimeiroSlot;
        std::apply([&](auto... m) { ((t[i++] = SlotDe<decltype(m)>(&m)), ...); }, metodos::Tabela{});
        return t;
    }();
    return tabela.data();
}

bool Desligado(int r, const ErroBus& erro)
{
    return r == -ECONNRESET || r == -ENOTCONN || r == -EPIPE || erro.E(SD_BUS_ERROR_NO_REPLY) ||
           erro.E(SD_BUS_ERROR_SERVICE_UNKNOWN) || erro.E(SD_BUS_ERROR_NAME_HAS_NO_OWNER) ||
           erro.E(SD_BUS_ERROR_DISCONNECTED) || erro.E(SD_BUS_ERROR_UNKNOWN_OBJECT);
}

} // namespace

HRESULT FalhaDeTransporte(int r, const ErroBus& erro) { return Desligado(r, erro) ? kDesconectado : kChamadaFalhou; }

HRESULT AbreSessao(Bus& bus)
{
    sd_bus* b = nullptr;
    const int r = sd_bus_open_user(&b);
    bus.reset(b);
    return r < 0 ? kServidorIndisponivel : S_OK;
}

ULONG ObjetosRemotosVivos() { return g_vivos.load(); }

// No time limit: a call may wait 50 s for a mark; a server that ends makes the bus answer at once.
HRESULT ObjetoRemoto::Envia(sd_bus_message* chamada, sd_bus_message** resposta)
{
    ErroBus erro;
    const int r = sd_bus_call(bus.get(), chamada, UINT64_MAX, &erro, resposta);
    return r < 0 ? FalhaDeTransporte(r, erro) : S_OK;
}

static HRESULT CriaUmaVez(REFIID riid, void** ppv)
{
    Bus bus;
    if (const HRESULT hr = AbreSessao(bus); TQFalhou(hr))
        return hr;
    ErroBus erro;
    sd_bus_message* resposta = nullptr;
    const int r = sd_bus_call_method(bus.get(), kNomeServico, kCaminhoClasse, kInterfaceClasse, kCriaInstancia,
                                     &erro, &resposta, "");
    Mensagem dono(resposta);
    if (r < 0)
        return erro.E(SD_BUS_ERROR_SERVICE_UNKNOWN) ? TQHResult(0x80040154)  // REGDB_E_CLASSNOTREG
                                                    : TQHResult(0x80080005); // CO_E_SERVER_EXEC_FAILURE
    int32_t hr = 0;
    const char* caminho = nullptr;
    if (sd_bus_message_read(resposta, "io", &hr, &caminho) <= 0)
        return TQHResult(0x800706F7);
    if (TQFalhou(hr))
        return hr;
    auto* o = new (std::nothrow) ObjetoRemoto(Vtable());
    if (o == nullptr)
        return kSemMemoria;
    ++g_vivos;
    o->bus = std::move(bus);
    o->servidor = sd_bus_message_get_sender(resposta);
    o->caminho = caminho;
    const HRESULT q = QueryInterface(o, riid, ppv);
    Release(o);
    return q;
}

// A server that was giving up its name when the request reached it refuses; the bus then starts
// another one for the next request.
HRESULT CriaObjetoRemoto(REFIID riid, void** ppv)
{
    constexpr HRESULT kServidorParando = TQHResult(0x80004008); // CO_E_SERVER_STOPPING
    HRESULT hr = kServidorParando;
    for (int tentativa = 0; tentativa < 3 && hr == kServidorParando; ++tentativa)
        hr = CriaUmaVez(riid, ppv);
    return hr;
}

} // namespace dbus
