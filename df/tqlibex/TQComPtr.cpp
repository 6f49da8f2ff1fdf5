#include "df/tqlibex/TQComPtr.h"

#include <atomic>
#include <cstdio>
#include <mutex>

#include "df/tqlibex/TQChavesInicio.h"
#include "df/tqlibex/TQMensagens.h"
#include "df/tqlibex/TQPath.h"
#include "df/tqlibex/TQProfiler.h"
#include "df/tqlibex/TQProfilerConfig.h"
#include "platform/Bstr.h"
#include "platform/Com.h"
#include "platform/Processo.h"
#include "platform/Registro.h"
#include "platform/Tempo.h"
#include "platform/Texto.h"

namespace {

// The lines these traces have always carried.
constexpr int kLinhaAtivacaoComSeguranca = 87;
constexpr int kLinhaAtivacaoSemSeguranca = 99;
constexpr int kLinhaSegurancaProxy = 36;

constexpr DWORD kAuthnLevelDefault = 0;    // RPC_C_AUTHN_LEVEL_DEFAULT
constexpr DWORD kAuthnLevelNone = 1;       // RPC_C_AUTHN_LEVEL_NONE
constexpr DWORD kAuthnLevelPktPrivacy = 6; // RPC_C_AUTHN_LEVEL_PKT_PRIVACY
constexpr DWORD kAuthnNone = 0;            // RPC_C_AUTHN_NONE
constexpr DWORD kAuthnWinNT = 10;          // RPC_C_AUTHN_WINNT
constexpr DWORD kAuthzNone = 0;            // RPC_C_AUTHZ_NONE
constexpr DWORD kImpLevelImpersonate = 3;  // RPC_C_IMP_LEVEL_IMPERSONATE

plataforma::SegurancaCom SegurancaDoProcesso()
{
    TQLeSegurancaDCOM();
    return {g_dwAuthnSvc, g_dwAuthzSvc, g_dwAuthnLevel, g_dwImpLevel};
}

// The COCREATE line names the class as its short user-type name shows it, without " Class".
void GravaLinhaCoCreate(const CLSID& rclsid)
{
    if (!TQProfilerConfig::Atual().coCreate)
        return;
    std::string nome = plataforma::NomeCurtoClasse(rclsid);
    if (const size_t p = nome.find(" Class"); p != std::string::npos)
        nome.erase(p, 6);
    TQGravaLinhaCoCreate(nullptr, "TQCoCreateInstance", nome.c_str(),
                         CTQPath::GetNome(plataforma::CaminhoExecutavel()).c_str());
}

constexpr HRESULT kServidorIndisponivel = TQHResult(0x800706BA); // RPC_S_SERVER_UNAVAILABLE
constexpr int kTentativas = 500;
constexpr DWORD kPausaTentativaMs = 100;
constexpr WORD kEventoErro = 1;
constexpr WORD kEventoAviso = 2;

std::atomic<Ativacao> g_ativacao{plataforma::CriaInstanciaCom};
std::atomic<DWORD> g_pausaMs{kPausaTentativaMs};

void RelataEvento(WORD tipo, const std::string& mensagem, HRESULT hr, const CLSID& rclsid)
{
    char detalhe[2048];
    std::snprintf(detalhe, sizeof detalhe, "\nHR: 0x%X (%s)\nCLSID: %s\nPrograma: %s\n", unsigned(hr),
                  TQDescricaoHResult(hr).c_str(), plataforma::GuidParaTexto(rclsid).c_str(),
                  plataforma::CaminhoExecutavel().c_str());
    plataforma::RelataEvento("TQ Zodovezi", tipo, DWORD(hr), mensagem, detalhe);
}

// The machine the class's AppID names, and what ping says of it.
std::string ServidorRemoto(const CLSID& rclsid)
{
    const std::string clsid = plataforma::GuidParaTexto(rclsid);
    plataforma::ChaveRegistro k;
    std::string appId, nome;
    if (k.Abre(plataforma::RaizRegistro::ClassesRoot, ("CLSID\\" + clsid).c_str()) == 0)
        k.LeTexto("AppID", appId);
    k.Fecha();
    if (!appId.empty() && k.Abre(plataforma::RaizRegistro::ClassesRoot, ("AppID\\" + appId).c_str()) == 0)
        k.LeTexto("RemoteServerName", nome);
    if (nome.empty())
        return "Falta informar o IP";
    return "RemoteServerName: " + nome + "\n" + plataforma::SaidaDoComando("ping " + nome);
}

// The server is not reachable yet (starting, or its machine away): up to kTentativas attempts.
HRESULT TentaDeNovo(Ativacao ativa, const CLSID& rclsid, IUnknown* pUnkOuter, DWORD dwClsCtx,
                    const plataforma::SegurancaCom& seguranca, const IID& riid, void** objeto, DWORD eFlags)
{
    const bool relata = eFlags & eTQCCI_LOG_FAILURE;
    if (relata) {
        RelataEvento(kEventoAviso, "\n\nA primeira tentativa de instanciar o servidor falhou", kServidorIndisponivel,
                     rclsid);
        RelataEvento(kEventoErro, ServidorRemoto(rclsid), kServidorIndisponivel, rclsid);
    }
    HRESULT hr = kServidorIndisponivel;
    int vez = 1;
    while (hr == kServidorIndisponivel && vez < kTentativas) {
        plataforma::Dorme(g_pausaMs.load());
        ++vez;
        hr = ativa(rclsid, pUnkOuter, dwClsCtx, &seguranca, riid, objeto);
    }
    if (!TQFalhou(hr) && vez >= 3 && relata) {
        char mensagem[64];
        std::snprintf(mensagem, sizeof mensagem, "Instancia estabelecida com sucesso na vez %d", vez);
        RelataEvento(kEventoAviso, mensagem, hr, rclsid);
    }
    return hr;
}

} // namespace

DWORD g_dwAuthnLevel = kAuthnLevelPktPrivacy;
DWORD g_dwAuthnSvc = kAuthnWinNT;
DWORD g_dwAuthzSvc = kAuthzNone;
DWORD g_dwImpLevel = kImpLevelImpersonate;

TQSegurancaDCOM TQCalculaSegurancaDCOM(bool desabilitaAutenticacao, bool desabilitaEncriptacao)
{
    TQSegurancaDCOM s{kAuthnLevelPktPrivacy, kAuthnWinNT, kAuthzNone, kImpLevelImpersonate};
    if (desabilitaAutenticacao) {
        s.dwAuthnLevel = kAuthnLevelNone;
        s.dwAuthnSvc = kAuthnNone;
    } else if (desabilitaEncriptacao) {
        s.dwAuthnLevel = kAuthnLevelDefault;
    }
    return s;
}

void TQLeSegurancaDCOM()
{
    static std::once_flag lida;
    std::call_once(lida, [] {
        const TQSegurancaDCOM s = TQCalculaSegurancaDCOM(CTQChavesInicio::DesabilitaAutenticacaoDCOM(),
                                                         CTQChavesInicio::DesabilitaEncriptacaoDCOM());
        g_dwAuthnLevel = s.dwAuthnLevel;
        g_dwAuthnSvc = s.dwAuthnSvc;
        g_dwAuthzSvc = s.dwAuthzSvc;
        g_dwImpLevel = s.dwImpLevel;
    });
}

HRESULT TQCoInitializeSecurity()
{
    TQLeSegurancaDCOM();
    const HRESULT hr = plataforma::InicializaSegurancaProcesso(g_dwAuthnLevel, g_dwImpLevel);
    if (TQFalhou(hr))
        TQTraceHResult(nullptr, "TQCoInitializeSecurity", "TQComPtr", "hr",
                       "CoInitializeSecurity(0, -1, nullptr, nullptr, g_dwAuthnLevel, g_dwImpLevel, nullptr, EOAC_NONE, "
                       "nullptr)",
                       hr);
    return hr;
}

HRESULT TQCoCreateInstance(const CLSID& rclsid, IUnknown* pUnkOuter, DWORD dwClsCtx, const IID& riid, void** ppv,
                           DWORD eFlags)
{
    if (!ppv)
        return kPonteiroNulo;
    *ppv = nullptr;
    GravaLinhaCoCreate(rclsid);
    const plataforma::SegurancaCom seguranca = SegurancaDoProcesso();
    const Ativacao ativa = g_ativacao.load();
    void* objeto = nullptr;
    HRESULT hr = ativa(rclsid, pUnkOuter, dwClsCtx, &seguranca, riid, &objeto);
    if (TQFalhou(hr)) {
        TQTraceHResult(nullptr, {"TQCoCreateInstance", kLinhaAtivacaoComSeguranca}, "TQComPtr", "hr",
                       "CoCreateInstanceEx(rclsid, pUnkOuter, dwClsCtx, &csi, 1, &mqi)", hr);
        if (hr == kParametroIncorreto) {
            // A platform that refuses our authentication information gets its defaults.
            hr = ativa(rclsid, pUnkOuter, dwClsCtx, nullptr, riid, &objeto);
            if (TQFalhou(hr)) {
                TQTraceHResult(nullptr, {"TQCoCreateInstance", kLinhaAtivacaoSemSeguranca}, "TQComPtr", "hr",
                               "CoCreateInstanceEx(rclsid, pUnkOuter, dwClsCtx, nullptr, 1, &mqi)", hr);
                return hr;
            }
        } else if (hr == kServidorIndisponivel && (eFlags & eTQCCI_RETRY)) {
            hr = TentaDeNovo(ativa, rclsid, pUnkOuter, dwClsCtx, seguranca, riid, &objeto, eFlags);
        }
        if (TQFalhou(hr)) {
            if (eFlags & eTQCCI_LOG_FAILURE)
                RelataEvento(kEventoErro, "\n\nErro instanciando servidor", hr, rclsid);
            return hr;
        }
    }
    // A success without a pointer is the caller's to report.
    if (objeto)
        TQCoSetProxyBlanket(static_cast<IUnknown*>(objeto));
    *ppv = objeto;
    return S_OK;
}

void TQDefineAtivacaoParaTestes(Ativacao ativacao, DWORD pausaMs)
{
    g_ativacao = ativacao ? ativacao : plataforma::CriaInstanciaCom;
    g_pausaMs = ativacao ? pausaMs : kPausaTentativaMs;
}

void TQCoSetProxyBlanket(IUnknown* pProxy)
{
    const HRESULT hr = plataforma::DefineSegurancaProxy(pProxy, SegurancaDoProcesso());
    if (TQFalhou(hr))
        TQTraceHResult(nullptr, {"TQCoSetProxyBlanket", kLinhaSegurancaProxy}, "TQComPtr", "hr",
                       "CoSetProxyBlanket(pProxy, g_dwAuthnSvc, g_dwAuthzSvc, nullptr, g_dwAuthnLevel, g_dwImpLevel, "
                       "nullptr, EOAC_NONE)",
                       hr);
}
