// The names of the local server on the bus, and owners of sd-bus handles.
#pragma once

#include <memory>

#include "server/dbus/SdBus.h"

namespace dbus {

constexpr const char* kNomeServico = "org.zazazu.ZazAzu";
constexpr const char* kCaminhoClasse = "/org/zazazu/ZazAzu/TQDF_PlanoAlt";
constexpr const char* kInterfaceClasse = "org.zazazu.IClassFactory";
constexpr const char* kInterface = "org.zazazu.ITQDF_PlanoAlt";
constexpr const char* kCriaInstancia = "CreateInstance";
constexpr const char* kRelease = "Release";

struct FechaBus {
    void operator()(sd_bus* b) const { sd_bus_flush_close_unref(b); }
};
using Bus = std::unique_ptr<sd_bus, FechaBus>;

struct SoltaMensagem {
    void operator()(sd_bus_message* m) const { sd_bus_message_unref(m); }
};
using Mensagem = std::unique_ptr<sd_bus_message, SoltaMensagem>;

struct SoltaSlot {
    void operator()(sd_bus_slot* s) const { sd_bus_slot_unref(s); }
};
using Slot = std::unique_ptr<sd_bus_slot, SoltaSlot>;

class ErroBus {
public:
    ErroBus() = default;
    ~ErroBus() { sd_bus_error_free(&m_erro); }
    ErroBus(const ErroBus&) = delete;
    ErroBus& operator=(const ErroBus&) = delete;
    sd_bus_error* operator&() { return &m_erro; }
    const char* Nome() const { return m_erro.name ? m_erro.name : ""; }
    bool E(const char* nome) const { return sd_bus_error_has_name(&m_erro, nome); }

private:
    sd_bus_error m_erro = SD_BUS_ERROR_NULL;
};

} // namespace dbus
