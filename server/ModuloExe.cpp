#include "server/ModuloExe.h"

#include <system_error>

CTQExeModule::CTQExeModule(DWORD tempoEsperaMs) : m_dwTimeOut(tempoEsperaMs)
{
    CTQContagemModulo::DefineObservador(this);
}

CTQExeModule::~CTQExeModule()
{
    CTQContagemModulo::DefineObservador(nullptr);
    ParaMonitor();
}

void CTQExeModule::ParaMonitor()
{
    m_bParar = true;
    m_hEventShutdown.Sinaliza();
    if (m_monitor.joinable())
        m_monitor.join();
}

void CTQExeModule::ContagemZerou()
{
    m_bActivity = true;
    if (m_bEventoAtivo)
        m_hEventShutdown.Sinaliza();
}

bool CTQExeModule::IniciaMonitor()
{
    m_bEventoAtivo = true;
    try {
        m_monitor = plataforma::Thread([this] { Monitor(); });
    } catch (const std::system_error&) {
        m_bEventoAtivo = false;
        return false;
    }
    return true;
}

void CTQExeModule::Monitor()
{
    for (;;) {
        m_hEventShutdown.Espera();
        // Every new drop to 0 within the time-out starts it again.
        do {
            if (m_bParar)
                return;
            m_bActivity = false;
        } while (m_hEventShutdown.Espera(m_dwTimeOut));
        if (m_bParar)
            return;
        if (Ocioso()) {
            SuspendeObjetosClasse();
            if (Ocioso())
                break;
            // A creation slipped in before the suspension: serve again.
            ReativaObjetosClasse();
        }
    }
    m_bEventoAtivo = false;
    EncerraLacoMensagens();
}

int CTQExeModule::Start(const std::string& argumentos)
{
    if (!m_bInicializacaoOk)
        return -1;
    HRESULT hr = InicializaTransporte();
    if (TQFalhou(hr))
        return int(hr);
    if (const EChaveLinha chave = TQAnalisaLinhaComando(argumentos); chave != EChaveLinha::Nenhuma) {
        hr = Registro(chave);
        FinalizaTransporte();
        return int(hr);
    }
    IniciaMonitor();
    hr = RegistraObjetosClasse();
    if (!TQFalhou(hr)) {
        hr = RetomaObjetosClasse();
        if (TQFalhou(hr))
            RevogaObjetosClasse();
    }
    if (TQFalhou(hr)) {
        FinalizaTransporte();
        return int(hr);
    }
    LacoMensagens();
    hr = RevogaObjetosClasse();
    FinalizaTransporte();
    return int(hr);
}
