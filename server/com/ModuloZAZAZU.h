// The module of ZAZAZU.exe: the shared module logic over COM (multithreaded apartment, the class
// object of CTQDF_PlanoAlt for local-server activation, the main thread's message loop).
#pragma once

#include <mutex>

#include "server/ModuloExe.h"

class CZAZAZUModule : public CTQExeModuleT<CZAZAZUModule> {
public:
    CZAZAZUModule();
    ~CZAZAZUModule() override;

protected:
    HRESULT InicializaTransporte() override;
    HRESULT Registro(EChaveLinha chave) override;
    HRESULT RegistraObjetosClasse() override;
    HRESULT RetomaObjetosClasse() override;
    void LacoMensagens() override;
    HRESULT RevogaObjetosClasse() override;
    void FinalizaTransporte() override;
    // Wine ignores CoSuspendClassObjects: the class object is revoked as well.
    void SuspendeObjetosClasse() override;
    void ReativaObjetosClasse() override;
    void EncerraLacoMensagens() override;

private:
    HRESULT Registra(DWORD flags);

    DWORD m_dwMainThreadID;
    std::mutex m_trava; // the cookie: the monitor and the main thread both revoke
    DWORD m_dwCookie = 0;
};
