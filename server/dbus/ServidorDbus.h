// The local server's transport on Linux: the class object and its instances on the session bus.
// One thread (Roda) serves the bus; the calls run on the worker pool, one at a time per object,
// and their answers go out under the same lock that the bus thread holds while it works.
#pragma once

#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Descritores.h"
#include "server/Contrato.h"
#include "server/dbus/Barramento.h"
#include "server/dbus/Trabalhadores.h"

namespace dbus {

class ServidorDbus {
public:
    ServidorDbus();
    ~ServidorDbus();
    ServidorDbus(const ServidorDbus&) = delete;
    ServidorDbus& operator=(const ServidorDbus&) = delete;

    // Connects to the session bus and publishes the class object, not yet under its name.
    HRESULT Conecta();
    // Takes the bus name (resume) or gives it up (suspend: new activations start another server).
    HRESULT TomaNome();
    void LiberaNome();
    // Serves until Para() or until the bus is lost. The thread that serves the bus (the leader)
    // runs the call it reads itself: no call waits for a hand-over to another thread. A call
    // that runs past kPrazoCurto rings an alarm, and a pool thread takes over the bus, so that a
    // long call holds up nobody.
    void Roda();
    void Para();
    // Releases the objects still alive and leaves the bus.
    void Desconecta();

    // For the handlers.
    template <class M>
    int Chamada(sd_bus_message* m, sd_bus_error* erro);
    int CriaInstancia(sd_bus_message* m);
    int Release(sd_bus_message* m, sd_bus_error* erro);
    void ClienteSaiu(const std::string& cliente);

private:
    struct Instancia {
        ITQDF_PlanoAlt* objeto;
        std::string dono;
        std::shared_ptr<FilaSerial> fila;
        Slot slot; // the object's registration on the bus
    };
    struct Cliente;

    // The instance at the call's path, when the caller created it; else answered here.
    std::shared_ptr<Instancia> Alvo(sd_bus_message* m, sd_bus_error* erro, bool& negado);
    void Acompanha(sd_bus_message* m);
    // Unpublishes the instance, then releases the object after the calls queued on it.
    void Solta(const std::shared_ptr<Instancia>& instancia, sd_bus_message* resposta);
    void Envia(sd_bus_message* m);
    void AcordaSeFaltaEscrever();
    // Serves the bus until stopped or until another thread took it over (turno moved on).
    void Lidera(std::unique_lock<std::mutex>& t, uint64_t turno);
    // Rings when the leader's call runs long: hands the bus to a pool thread.
    void Vigia();
    // Under the lock: every thread of Roda leaves.
    void Encerra();
    void EsqueceSlots();

    std::mutex m_trava; // the bus, the instances, the clients
    Bus m_bus;
    std::vector<Slot> m_slots;
    std::map<std::string, std::shared_ptr<Instancia>> m_instancias; // by object path
    std::map<std::string, std::unique_ptr<Cliente>> m_clientes;     // by unique bus name
    std::vector<Slot> m_slotsSoltos; // dropped once sd-bus is out of their handlers
    std::vector<std::shared_ptr<FilaSerial>> m_prontas; // objects whose calls a reader runs
    uint64_t m_turno = 0;            // moves on when another thread takes over the bus
    bool m_liderEmChamada = false;   // the leader runs a call and does not serve the bus
    std::condition_variable m_fim;   // Roda waits there once another thread leads
    uint64_t m_proximo = 0;
    std::atomic<bool> m_parar{false};
    bool m_suspenso = true; // without the bus name no creation is taken, even by the unique name
    plataforma::Despertador m_despertador; // the leader's
    plataforma::Despertador m_despertadorVigia;
    plataforma::Alarme m_alarme;
    Trabalhadores m_trabalhadores;
};

} // namespace dbus
