#include "server/dbus/ServidorDbus.h"

#include <cstring>
#include <deque>
#include <thread>

#include "df/tqlibex/TQTrace.h"
#include "platform/Processo.h"
#include "server/TQDF_PlanoAlt.h"
#include "server/dbus/Metodos.h"

namespace dbus {

namespace {

constexpr const char* kFonte = "ServidorDbus";
constexpr HRESULT kServidorParando = TQHResult(0x80004008); // CO_E_SERVER_STOPPING
// A call that runs longer hands the bus to another thread; far below what a client would notice.
constexpr uint32_t kPrazoCurto = 2000; // microseconds

// The vtable of one interface, built once from the table: sd-bus keeps pointers into it.
class Vtable {
public:
    Vtable()
    {
        sd_bus_vtable inicio;
        std::memset(&inicio, 0, sizeof inicio);
        inicio.type = _SD_BUS_VTABLE_START;
        inicio.x.start.element_size = sizeof(sd_bus_vtable);
        inicio.x.start.features = _SD_BUS_VTABLE_PARAM_NAMES;
        inicio.x.start.vtable_format_reference = &sd_bus_object_vtable_format;
        m_entradas.push_back(inicio);
    }
    void Metodo(const char* nome, std::string entrada, std::string saida, std::string nomes,
                sd_bus_message_handler_t tratador)
    {
        sd_bus_vtable v;
        std::memset(&v, 0, sizeof v);
        v.type = _SD_BUS_VTABLE_METHOD;
        // Without it sd-bus asks the bus for the caller's credentials on every call (a round trip
        // to the daemon). The session bus admits only its own user, and each object answers only
        // the connection that created it.
        v.flags = SD_BUS_VTABLE_UNPRIVILEGED;
        v.x.method.member = nome;
        v.x.method.signature = Guarda(std::move(entrada));
        v.x.method.result = Guarda(std::move(saida));
        v.x.method.names = Guarda(std::move(nomes));
        v.x.method.handler = tratador;
        m_entradas.push_back(v);
    }
    const sd_bus_vtable* Fecha()
    {
        sd_bus_vtable fim;
        std::memset(&fim, 0, sizeof fim);
        fim.type = _SD_BUS_VTABLE_END;
        m_entradas.push_back(fim);
        return m_entradas.data();
    }

private:
    const char* Guarda(std::string texto) { return m_textos.emplace_back(std::move(texto)).c_str(); }

    std::deque<std::string> m_textos;
    std::vector<sd_bus_vtable> m_entradas;
};

ServidorDbus* Servidor(void* dados) { return static_cast<ServidorDbus*>(dados); }

template <class M>
int TrataMetodo(sd_bus_message* m, void* dados, sd_bus_error* erro)
{
    return Servidor(dados)->Chamada<M>(m, erro);
}

const sd_bus_vtable* VtableInstancias()
{
    static Vtable v;
    static const sd_bus_vtable* pronta = [] {
        std::apply(
            [](auto... m) {
                (v.Metodo(decltype(m)::kNome, decltype(m)::Entrada(), decltype(m)::Saida(),
                          NomesEntrada<decltype(m)>() + NomesSaida<decltype(m)>(), &TrataMetodo<decltype(m)>),
                 ...);
            },
            metodos::Tabela{});
        v.Metodo(kRelease, "", "i", std::string("hr", 3),
                 [](sd_bus_message* m, void* dados, sd_bus_error* erro) { return Servidor(dados)->Release(m, erro); });
        return v.Fecha();
    }();
    return pronta;
}

const sd_bus_vtable* VtableClasse()
{
    static Vtable v;
    static const sd_bus_vtable* pronta = [] {
        v.Metodo(kCriaInstancia, "", "io", std::string("hr\0ppv", 7),
                 [](sd_bus_message* m, void* dados, sd_bus_error*) { return Servidor(dados)->CriaInstancia(m); });
        return v.Fecha();
    }();
    return pronta;
}

const char* Remetente(sd_bus_message* m)
{
    const char* r = sd_bus_message_get_sender(m);
    return r ? r : "";
}

// The bus that started the server (dbus-daemon names it to what it activates), or the session
// bus of the user who ran it.
int AbreBarramento(sd_bus** bus)
{
    const std::string inicial = plataforma::VariavelAmbiente("DBUS_STARTER_ADDRESS");
    if (inicial.empty())
        return sd_bus_open_user(bus);
    int r = sd_bus_new(bus);
    if (r >= 0)
        r = sd_bus_set_address(*bus, inicial.c_str());
    if (r >= 0)
        r = sd_bus_set_bus_client(*bus, 1);
    if (r >= 0)
        r = sd_bus_start(*bus);
    return r;
}

} // namespace

// A client connection that created objects: sd-bus tells when it leaves the bus.
struct ServidorDbus::Cliente {
    ServidorDbus* servidor;
    std::string nome;
    sd_bus_track* track = nullptr;
    ~Cliente() { sd_bus_track_unref(track); }
};

ServidorDbus::ServidorDbus() = default;

ServidorDbus::~ServidorDbus() { Desconecta(); }

HRESULT ServidorDbus::Conecta()
{
    if (!m_despertador.Valido() || !m_despertadorVigia.Valido() || !m_alarme.Valido()) {
        TQTrace(nullptr, "ServidorDbus::Conecta", kFonte, "eventfd: no wake-up for the bus thread");
        return kFalha;
    }
    sd_bus* bus = nullptr;
    int r = AbreBarramento(&bus);
    m_bus.reset(bus);
    if (r >= 0)
        r = sd_bus_add_object_vtable(bus, nullptr, kCaminhoClasse, kInterfaceClasse, VtableClasse(), this);
    if (r < 0) {
        TQTrace(nullptr, "ServidorDbus::Conecta", kFonte, "session bus: %s", std::strerror(-r));
        m_bus.reset();
        return TQHResult(0x800706BA); // RPC_S_SERVER_UNAVAILABLE
    }
    return S_OK;
}

HRESULT ServidorDbus::TomaNome()
{
    std::lock_guard<std::mutex> t(m_trava);
    const int r = sd_bus_request_name(m_bus.get(), kNomeServico, 0);
    if (r < 0) {
        TQTrace(nullptr, "ServidorDbus::TomaNome", kFonte, "RequestName %s: %s", kNomeServico,
                std::strerror(-r));
        return TQHResult(0x80080005); // CO_E_SERVER_EXEC_FAILURE
    }
    m_suspenso = false;
    return S_OK;
}

void ServidorDbus::LiberaNome()
{
    std::lock_guard<std::mutex> t(m_trava);
    m_suspenso = true;
    if (m_bus && sd_bus_release_name_async(m_bus.get(), nullptr, kNomeServico, nullptr, nullptr) < 0)
        TQTrace(nullptr, "ServidorDbus::LiberaNome", kFonte, "ReleaseName %s failed", kNomeServico);
    m_despertador.Toca();
}

void ServidorDbus::Roda()
{
    std::thread vigia([this] { Vigia(); });
    {
        std::unique_lock<std::mutex> t(m_trava);
        Lidera(t, m_turno);
        m_fim.wait(t, [this] { return m_parar.load(); });
    }
    vigia.join();
}

void ServidorDbus::Lidera(std::unique_lock<std::mutex>& t, uint64_t turno)
{
    while (!m_parar && m_turno == turno) {
        int r = 0;
        while (m_prontas.empty() && !m_parar && (r = sd_bus_process(m_bus.get(), nullptr)) > 0)
            ;
        EsqueceSlots();
        if (r < 0) {
            TQTrace(nullptr, "ServidorDbus::Roda", kFonte, "session bus lost: %s", std::strerror(-r));
            Encerra();
            break;
        }
        if (!m_prontas.empty()) {
            // This thread runs the first call; the others go to the pool.
            std::vector<std::shared_ptr<FilaSerial>> prontas = std::move(m_prontas);
            m_prontas.clear();
            for (size_t i = 1; i < prontas.size(); ++i)
                m_trabalhadores.Poe([f = prontas[i]] { f->Esvazia(); });
            m_liderEmChamada = true;
            m_alarme.Arma(kPrazoCurto);
            t.unlock();
            prontas[0]->Esvazia();
            t.lock();
            if (m_turno != turno)
                return; // the bus has another leader now
            m_liderEmChamada = false;
            m_alarme.Arma(0);
            continue;
        }
        const int fd = sd_bus_get_fd(m_bus.get());
        const int eventos = sd_bus_get_events(m_bus.get());
        uint64_t limite = UINT64_MAX;
        sd_bus_get_timeout(m_bus.get(), &limite);
        t.unlock();
        plataforma::EsperaDescritor(fd, eventos, limite, m_despertador);
        t.lock();
    }
}

void ServidorDbus::Vigia()
{
    for (;;) {
        const bool tocou = m_alarme.Espera(m_despertadorVigia);
        std::lock_guard<std::mutex> t(m_trava);
        if (m_parar)
            return;
        if (!tocou || !m_liderEmChamada)
            continue;
        m_liderEmChamada = false;
        m_trabalhadores.Poe([this, turno = ++m_turno] {
            std::unique_lock<std::mutex> t(m_trava);
            Lidera(t, turno);
        });
    }
}

void ServidorDbus::Para()
{
    std::lock_guard<std::mutex> t(m_trava);
    Encerra();
}

void ServidorDbus::Encerra()
{
    m_parar = true;
    m_despertador.Toca();
    m_despertadorVigia.Toca();
    m_fim.notify_all();
}

void ServidorDbus::Desconecta()
{
    std::vector<std::shared_ptr<Instancia>> vivas;
    {
        std::lock_guard<std::mutex> t(m_trava);
        for (auto& [caminho, instancia] : m_instancias)
            vivas.push_back(instancia);
        m_instancias.clear();
        m_clientes.clear();
        for (const auto& instancia : vivas)
            Solta(instancia, nullptr);
        m_slotsSoltos.clear();
    }
}

int ServidorDbus::CriaInstancia(sd_bus_message* m)
{
    if (m_suspenso)
        return sd_bus_reply_method_return(m, "io", kServidorParando, "/");
    IClassFactory* fabrica = nullptr;
    ITQDF_PlanoAlt* objeto = nullptr;
    HRESULT hr = ZazObtemObjetoClasse(CLSID_TQDF_PlanoAlt, IID_IClassFactory, reinterpret_cast<void**>(&fabrica));
    if (!TQFalhou(hr)) {
        hr = fabrica->CreateInstance(nullptr, IID_ITQDF_PlanoAlt, reinterpret_cast<void**>(&objeto));
        fabrica->Release();
    }
    if (TQFalhou(hr))
        return sd_bus_reply_method_return(m, "io", hr, "/");
    const std::string caminho = std::string(kCaminhoClasse) + "/" + std::to_string(++m_proximo);
    sd_bus_slot* slot = nullptr;
    if (const int r = sd_bus_add_object_vtable(m_bus.get(), &slot, caminho.c_str(), kInterface, VtableInstancias(), this);
        r < 0) {
        TQTrace(nullptr, "ServidorDbus::CriaInstancia", kFonte, "%s not published: %s", caminho.c_str(),
                std::strerror(-r));
        objeto->Release();
        return sd_bus_reply_method_return(m, "io", kFalha, "/");
    }
    m_instancias[caminho] = std::make_shared<Instancia>(
        Instancia{objeto, Remetente(m), std::make_shared<FilaSerial>(m_trabalhadores), Slot(slot)});
    Acompanha(m);
    return sd_bus_reply_method_return(m, "io", hr, caminho.c_str());
}

void ServidorDbus::Acompanha(sd_bus_message* m)
{
    const std::string nome = Remetente(m);
    if (m_clientes.count(nome))
        return;
    auto cliente = std::make_unique<Cliente>();
    cliente->servidor = this;
    cliente->nome = nome;
    const auto saiu = [](sd_bus_track*, void* dados) {
        auto* c = static_cast<Cliente*>(dados);
        const std::string nome = c->nome; // c goes with its track, below
        c->servidor->ClienteSaiu(nome);
        return 0;
    };
    if (sd_bus_track_new(m_bus.get(), &cliente->track, saiu, cliente.get()) < 0 ||
        sd_bus_track_add_sender(cliente->track, m) < 0) {
        TQTrace(nullptr, "ServidorDbus::Acompanha", kFonte,
                "client %s not watched: its objects live until it releases them", nome.c_str());
        return;
    }
    m_clientes[nome] = std::move(cliente);
}

void ServidorDbus::ClienteSaiu(const std::string& cliente)
{
    std::vector<std::shared_ptr<Instancia>> deixadas;
    for (auto i = m_instancias.begin(); i != m_instancias.end();) {
        if (i->second->dono == cliente) {
            deixadas.push_back(i->second);
            i = m_instancias.erase(i);
        } else {
            ++i;
        }
    }
    TQTrace(nullptr, "ServidorDbus::ClienteSaiu", kFonte,
            "client %s left the bus: %u object(s) it held released", cliente.c_str(), unsigned(deixadas.size()));
    for (const auto& instancia : deixadas)
        Solta(instancia, nullptr);
    // Its track goes now, or sd-bus tells of it again (it holds the track while it tells).
    m_clientes.erase(cliente);
}

void ServidorDbus::EsqueceSlots() { m_slotsSoltos.clear(); }

std::shared_ptr<ServidorDbus::Instancia> ServidorDbus::Alvo(sd_bus_message* m, sd_bus_error* erro, bool& negado)
{
    negado = false;
    const char* caminho = sd_bus_message_get_path(m);
    const auto i = m_instancias.find(caminho ? caminho : "");
    if (i == m_instancias.end()) {
        sd_bus_error_setf(erro, SD_BUS_ERROR_UNKNOWN_OBJECT, "No object at '%s' (released, or never created)",
                          caminho ? caminho : "");
        return nullptr;
    }
    if (i->second->dono != Remetente(m)) {
        TQTrace(nullptr, "ServidorDbus::Alvo", kFonte,
                "call %s on %s from %s refused: the object belongs to %s", sd_bus_message_get_member(m), caminho,
                Remetente(m), i->second->dono.c_str());
        negado = true;
    }
    return i->second;
}

template <class M>
int ServidorDbus::Chamada(sd_bus_message* m, sd_bus_error* erro)
{
    bool negado = false;
    std::shared_ptr<Instancia> instancia = Alvo(m, erro, negado);
    if (!instancia)
        return -EINVAL;
    auto lados = std::make_shared<typename M::Lados>();
    HRESULT recusa = negado ? kAcessoNegado : S_OK;
    if (!negado) {
        switch (M::LeEntrada(m, *lados)) {
        case Leitura::Ok:
            break;
        case Leitura::Invalida:
            TQTrace(nullptr, M::kNome, kFonte, "call from %s refused: a record or list of the wrong size",
                    Remetente(m));
            recusa = kParametroIncorreto;
            break;
        case Leitura::Erro:
            return sd_bus_error_setf(erro, SD_BUS_ERROR_INVALID_ARGS, "%s: arguments do not match '%s'", M::kNome,
                                     M::Entrada().c_str());
        }
    }
    if (TQFalhou(recusa)) {
        sd_bus_message* resposta = nullptr;
        int r = sd_bus_message_new_method_return(m, &resposta);
        Mensagem dono(resposta);
        if (r >= 0)
            r = M::EscreveSaida(resposta, recusa, *lados);
        return r < 0 ? r : sd_bus_send(nullptr, resposta, nullptr);
    }
    sd_bus_message_ref(m);
    const bool pronta = instancia->fila->PoeSemIniciar([this, instancia, m, lados] {
        const HRESULT hr = M::Chama(instancia->objeto, *lados);
        std::lock_guard<std::mutex> t(m_trava);
        Mensagem chamada(m);
        sd_bus_message* resposta = nullptr;
        int r = sd_bus_message_new_method_return(m, &resposta);
        Mensagem dono(resposta);
        if (r >= 0)
            r = M::EscreveSaida(resposta, hr, *lados);
        if (r < 0)
            sd_bus_reply_method_errorf(m, SD_BUS_ERROR_NO_MEMORY, "%s: the answer could not be built", M::kNome);
        else
            Envia(resposta);
        AcordaSeFaltaEscrever();
    });
    if (pronta)
        m_prontas.push_back(instancia->fila);
    return 1;
}

// An answer that did not fit the socket waits in sd-bus's queue: the bus thread writes it.
void ServidorDbus::AcordaSeFaltaEscrever()
{
    uint64_t pendentes = 0;
    if (sd_bus_get_n_queued_write(m_bus.get(), &pendentes) < 0 || pendentes)
        m_despertador.Toca();
}

void ServidorDbus::Envia(sd_bus_message* m)
{
    if (const int r = sd_bus_send(nullptr, m, nullptr); r < 0)
        TQTrace(nullptr, "ServidorDbus::Envia", kFonte, "answer to %s not sent: %s",
                sd_bus_message_get_destination(m), std::strerror(-r));
}

int ServidorDbus::Release(sd_bus_message* m, sd_bus_error* erro)
{
    bool negado = false;
    std::shared_ptr<Instancia> instancia = Alvo(m, erro, negado);
    if (!instancia)
        return -EINVAL;
    if (negado)
        return sd_bus_reply_method_return(m, "i", kAcessoNegado);
    m_instancias.erase(sd_bus_message_get_path(m));
    Solta(instancia, m);
    return 1;
}

// The object's last reference goes after the calls already queued on it; then the answer.
void ServidorDbus::Solta(const std::shared_ptr<Instancia>& instancia, sd_bus_message* resposta)
{
    m_slotsSoltos.push_back(std::move(instancia->slot));
    if (resposta)
        sd_bus_message_ref(resposta);
    instancia->fila->Poe([this, instancia, resposta] {
        instancia->objeto->Release();
        if (!resposta)
            return;
        std::lock_guard<std::mutex> t(m_trava);
        Mensagem chamada(resposta);
        if (sd_bus_reply_method_return(resposta, "i", S_OK) < 0)
            TQTrace(nullptr, "ServidorDbus::Solta", kFonte, "answer to Release not sent");
        AcordaSeFaltaEscrever();
    });
}

} // namespace dbus
