#include "platform/Com.h"

#include <ole2.h>

#include "platform/win32/Largo.h"

namespace plataforma {

HRESULT CriaInstanciaCom(const CLSID& clsid, IUnknown* externo, DWORD contexto, const SegurancaCom& seguranca,
                         const IID& iid, void** objeto)
{
    if (!objeto)
        return kPonteiroNulo;
    *objeto = nullptr;
    COAUTHINFO autenticacao = {seguranca.servicoAutenticacao, seguranca.servicoAutorizacao, nullptr,
                               seguranca.nivelAutenticacao, seguranca.nivelPersonificacao, nullptr, 0};
    // No server name: the machine that the class's registration gives.
    COSERVERINFO servidor = {0, nullptr, &autenticacao, 0};
    MULTI_QI consulta = {&iid, nullptr, S_OK};
    const HRESULT hr = CoCreateInstanceEx(clsid, externo, contexto, &servidor, 1, &consulta);
    if (FAILED(hr))
        return hr;
    if (FAILED(consulta.hr))
        return consulta.hr;
    *objeto = consulta.pItf;
    return hr;
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
