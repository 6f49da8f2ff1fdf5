#include "platform/Com.h"

#include <ole2.h>

#include "platform/win32/Largo.h"

namespace plataforma {

HRESULT CriaInstanciaCom(const CLSID& clsid, IUnknown* externo, DWORD contexto, const SegurancaCom* seguranca,
                         const IID& iid, void** objeto)
{
    if (!objeto)
        return kPonteiroNulo;
    *objeto = nullptr;
    COAUTHINFO autenticacao = {};
    if (seguranca)
        autenticacao = {seguranca->servicoAutenticacao, seguranca->servicoAutorizacao, nullptr,
                        seguranca->nivelAutenticacao, seguranca->nivelPersonificacao, nullptr, 0};
    // No server name: the machine that the class's registration gives.
    COSERVERINFO servidor = {0, nullptr, &autenticacao, 0};
    MULTI_QI consulta = {&iid, nullptr, S_OK};
    const HRESULT hr = CoCreateInstanceEx(clsid, externo, contexto, seguranca ? &servidor : nullptr, 1, &consulta);
    if (FAILED(hr))
        return hr;
    if (FAILED(consulta.hr))
        return consulta.hr;
    *objeto = consulta.pItf;
    return hr;
}

HRESULT InicializaSegurancaProcesso(DWORD nivelAutenticacao, DWORD nivelPersonificacao)
{
    return CoInitializeSecurity(nullptr, -1, nullptr, nullptr, nivelAutenticacao, nivelPersonificacao, nullptr,
                                EOAC_NONE, nullptr);
}

HRESULT DefineSegurancaProxy(IUnknown* proxy, const SegurancaCom& seguranca)
{
    return CoSetProxyBlanket(proxy, seguranca.servicoAutenticacao, seguranca.servicoAutorizacao, nullptr,
                             seguranca.nivelAutenticacao, seguranca.nivelPersonificacao, nullptr, EOAC_NONE);
}

std::string NomeCurtoClasse(const CLSID& clsid)
{
    LPOLESTR nome = nullptr;
    if (FAILED(OleRegGetUserType(clsid, USERCLASSTYPE_SHORT, &nome)) || !nome)
        return {};
    const std::string texto = win32::Estreito(nome);
    CoTaskMemFree(nome);
    return texto;
}

void RelataEvento(const char* fonte, WORD tipo, DWORD identificador, const std::string& texto1,
                  const std::string& texto2)
{
    HANDLE log = RegisterEventSourceA(nullptr, fonte);
    if (!log)
        return;
    const char* textos[] = {texto1.c_str(), texto2.c_str()};
    ReportEventA(log, tipo, 0, identificador, nullptr, 2, 0, textos, nullptr);
    DeregisterEventSource(log);
}

ApartamentoCom::ApartamentoCom()
{
    m_iniciado = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
}

ApartamentoCom::~ApartamentoCom()
{
    if (m_iniciado)
        CoUninitialize();
}

} // namespace plataforma
