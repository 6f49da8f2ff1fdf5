// The module logic that both local servers share (COM on Windows, D-Bus on Linux): the lock
// count rules, the shutdown monitor with its idle time-out, and the Start sequence. A transport
// derives from CTQExeModuleT<Its> and supplies only its steps (the virtual hooks below).
//
//   Start(argumentos)                              hooks, in order
//   1. static initialization failed -> -1          (m_bInicializacaoOk)
//   2. COM / bus initialization and security       InicializaTransporte
//   3. a registration switch ends here             Registro(chave), then FinalizaTransporte
//   4. shutdown monitor (a thread)
//   5. class objects registered suspended, resumed RegistraObjetosClasse, RetomaObjetosClasse
//      (a failed resume revokes them)
//   6. message / event loop                        LacoMensagens
//   7. revoke (answers the exit code)              RevogaObjetosClasse
//   8. uninitialize                                FinalizaTransporte
//
//   monitor: no activations any more               SuspendeObjetosClasse
//            activity came back after suspending   ReativaObjetosClasse
//            end the loop of step 6                EncerraLacoMensagens (any thread)
#pragma once

#include <atomic>
#include <string>

#include "df/tqlibex/TQAnalytics.h"
#include "platform/Sincronizacao.h"
#include "platform/Tipos.h"
#include "server/Core/TQRPCDLL/TQComObjeto.h"
#include "server/LinhaComando.h"

class CTQExeModule : private CTQObservadorContagem {
public:
    static constexpr DWORD kTempoEsperaPadrao = 50000; // ms; the product never shortens it

    // tempoEsperaMs: the idle time-out (tests inject a short one).
    explicit CTQExeModule(DWORD tempoEsperaMs = kTempoEsperaPadrao);
    // Stops the monitor if it still runs (a derived module calls ParaMonitor first in its own
    // destructor, so that the monitor never reaches a hook of a destroyed part).
    virtual ~CTQExeModule();
    CTQExeModule(const CTQExeModule&) = delete;
    CTQExeModule& operator=(const CTQExeModule&) = delete;

    // The lock count of the process (objects and server locks): Lock adds 1; the Unlock that
    // brings it to 0 sets the activity flag and signals the shutdown event. Never quits itself.
    static ULONG Lock() { return CTQContagemModulo::Lock(); }
    static ULONG Unlock() { return CTQContagemModulo::Unlock(); }
    static ULONG GetLockCount() { return CTQContagemModulo::GetLockCount(); }

    // Steps 1 to 8; argumentos: the command line after the program's name. The exit code.
    int Start(const std::string& argumentos);

    // Step 4 alone: false when the thread could not be created (the server then runs until it
    // is ended from outside).
    bool IniciaMonitor();
    void ParaMonitor();
    DWORD TempoEspera() const { return m_dwTimeOut; }

protected:
    virtual HRESULT InicializaTransporte() = 0;
    virtual HRESULT Registro(EChaveLinha chave) = 0;
    virtual HRESULT RegistraObjetosClasse() = 0;
    virtual HRESULT RetomaObjetosClasse() = 0;
    virtual void LacoMensagens() = 0;
    // Once revoked (by the monitor too), again answers S_OK.
    virtual HRESULT RevogaObjetosClasse() = 0;
    // Undoes InicializaTransporte (when m_bComInicializado says it took effect).
    virtual void FinalizaTransporte() = 0;
    virtual void SuspendeObjetosClasse() = 0;
    virtual void ReativaObjetosClasse() {}
    virtual void EncerraLacoMensagens() = 0;

    bool m_bInicializacaoOk = true; // step 1
    bool m_bComInicializado = false; // set by InicializaTransporte when step 8 must undo it

private:
    void ContagemZerou() override;
    void Monitor();
    bool Ocioso() const { return !m_bActivity.load() && GetLockCount() == 0; }

    const DWORD m_dwTimeOut;
    std::atomic<bool> m_bActivity{false};
    std::atomic<bool> m_bEventoAtivo{false}; // the event is "forgotten" once the monitor ends
    std::atomic<bool> m_bParar{false};
    plataforma::Evento m_hEventShutdown; // auto-reset, not signalled
    plataforma::Thread m_monitor;
};

// The base a transport's module derives from (CZAZAZUModule : CTQExeModuleT<CZAZAZUModule>).
// The analytics sender rides on it: destroying the module stops it and sends once more.
template <class T>
class CTQExeModuleT : public CTQExeModule, public CTQAnalytics {
public:
    using CTQExeModule::CTQExeModule;
};
