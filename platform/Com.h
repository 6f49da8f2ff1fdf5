// Activation of COM classes with given security, the proxy blanket, and the COM apartment of a
// thread. Windows: the platform's COM. POSIX: our own in-process activation from the classes
// registered in the registry file.
#pragma once

#include <string>

#include <unknwn.h>

#include "platform/Tipos.h"

namespace plataforma {

constexpr HRESULT kClasseNaoRegistrada = TQHResult(0x80040154); // REGDB_E_CLASSNOTREG

// The security an activation and its proxy use (RPC_C_AUTHN_*, RPC_C_AUTHZ_*, levels).
struct SegurancaCom {
    DWORD servicoAutenticacao;
    DWORD servicoAutorizacao;
    DWORD nivelAutenticacao;
    DWORD nivelPersonificacao;
};

// One object of the class, asked for one interface, on the machine its registration names.
// Windows: COM must already be initialized on the calling thread (the server's threads are in
// its apartment; tests hold an ApartamentoCom). An activation that succeeds may leave *objeto
// null: the caller checks.
// A null seguranca passes no server information at all (the platform's defaults).
HRESULT CriaInstanciaCom(const CLSID& clsid, IUnknown* externo, DWORD contexto, const SegurancaCom* seguranca,
                         const IID& iid, void** objeto);

// A report to the system's event log under the source (type 1 error, 2 warning; category 0),
// with two strings. POSIX has no such log: nothing is written.
void RelataEvento(const char* fonte, WORD tipo, DWORD identificador, const std::string& texto1,
                  const std::string& texto2);

// The process's security (CoInitializeSecurity with no descriptor, the platform's choice of
// authentication services, EOAC_NONE). POSIX: S_OK, nothing to set yet.
HRESULT InicializaSegurancaProcesso(DWORD nivelAutenticacao, DWORD nivelPersonificacao);

// The proxy's blanket. An in-process object has no proxy: E_NOINTERFACE, on POSIX too.
HRESULT DefineSegurancaProxy(IUnknown* proxy, const SegurancaCom& seguranca);

// The class's short user-type name as registered (empty when none).
std::string NomeCurtoClasse(const CLSID& clsid);

// The calling thread in the multithreaded apartment while the object lives (POSIX: nothing to do).
class ApartamentoCom {
public:
    ApartamentoCom();
    ~ApartamentoCom();
    ApartamentoCom(const ApartamentoCom&) = delete;
    ApartamentoCom& operator=(const ApartamentoCom&) = delete;

private:
    bool m_iniciado = false;
};

} // namespace plataforma
