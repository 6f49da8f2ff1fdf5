// Our own in-process activation: the class's InprocServer32 library from the registry file,
// a per-user registration winning over the machine's as in Windows's merged view of the classes.
#include "platform/Com.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "platform/Biblioteca.h"
#include "platform/Bstr.h"
#include "platform/Registro.h"
#include "platform/Texto.h"

namespace plataforma {

namespace {

constexpr DWORD kContextoEmProcesso = 1;                      // CLSCTX_INPROC_SERVER
constexpr HRESULT kModuloNaoEncontrado = TQHResult(0x8007007E); // ERROR_MOD_NOT_FOUND
constexpr HRESULT kErroNaDll = TQHResult(0x800401F9);         // CO_E_ERRORINDLL

// IClientSecurity, the interface of a proxy's blanket.
constexpr IID kIdClientSecurity = {0x0000013D, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

using PFN_DllGetClassObject = HRESULT (*)(const CLSID&, const IID&, void**);

// The default value of a subkey of the class, per user first; then the classes root of the file
// and the machine's classes, which Windows shows as one.
std::string ValorDaClasse(const CLSID& clsid, const std::string& subchave)
{
    const std::string classe = "CLSID\\" + GuidParaTexto(clsid) + (subchave.empty() ? "" : "\\" + subchave);
    const std::pair<RaizRegistro, std::string> lugares[] = {{RaizRegistro::CurrentUser, "Software\\Classes\\" + classe},
                                                            {RaizRegistro::ClassesRoot, classe},
                                                            {RaizRegistro::LocalMachine, "Software\\Classes\\" + classe}};
    for (const auto& [raiz, chave] : lugares) {
        ChaveRegistro k;
        std::string valor;
        if (k.Abre(raiz, chave.c_str()) == 0 && k.LeTexto(nullptr, valor) == 0 && !valor.empty())
            return valor;
    }
    return {};
}

// Loaded once and kept for the life of the process, as COM keeps its in-process servers.
HRESULT FabricaDaBiblioteca(const std::string& caminho, PFN_DllGetClassObject& fabricaDe)
{
    static std::mutex trava;
    // Never destroyed: a library is not unloaded at exit under objects that may still live.
    static auto& carregadas = *new std::map<std::string, std::unique_ptr<Biblioteca>>;
    std::lock_guard<std::mutex> guarda(trava);
    auto it = carregadas.find(caminho);
    if (it == carregadas.end()) {
        auto nova = std::make_unique<Biblioteca>();
        if (!nova->Carrega(caminho.c_str()))
            return kModuloNaoEncontrado;
        it = carregadas.emplace(caminho, std::move(nova)).first;
    }
    fabricaDe = reinterpret_cast<PFN_DllGetClassObject>(it->second->Simbolo("DllGetClassObject"));
    return fabricaDe ? S_OK : kErroNaDll;
}

} // namespace

HRESULT CriaInstanciaCom(const CLSID& clsid, IUnknown* externo, DWORD contexto, const SegurancaCom*,
                         const IID& iid, void** objeto)
{
    if (!objeto)
        return kPonteiroNulo;
    *objeto = nullptr;
    // A class with only a LocalServer32 is not reached yet: the local server's activation plugs in here.
    const std::string caminho = (contexto & kContextoEmProcesso) ? ValorDaClasse(clsid, "InprocServer32") : "";
    if (caminho.empty())
        return kClasseNaoRegistrada;
    PFN_DllGetClassObject fabricaDe = nullptr;
    HRESULT hr = FabricaDaBiblioteca(caminho, fabricaDe);
    if (TQFalhou(hr))
        return hr;
    IClassFactory* fabrica = nullptr;
    hr = fabricaDe(clsid, IID_IClassFactory, reinterpret_cast<void**>(&fabrica));
    if (TQFalhou(hr))
        return hr;
    if (!fabrica)
        return kErroNaDll;
    hr = fabrica->CreateInstance(externo, iid, objeto);
    fabrica->Release();
    return hr;
}

HRESULT InicializaSegurancaProcesso(DWORD, DWORD) { return S_OK; }

// As on Windows, an object without IClientSecurity (any in-process one) answers E_NOINTERFACE.
HRESULT DefineSegurancaProxy(IUnknown* proxy, const SegurancaCom&)
{
    if (!proxy)
        return kParametroIncorreto;
    void* seguranca = nullptr;
    const HRESULT hr = proxy->QueryInterface(kIdClientSecurity, &seguranca);
    if (TQFalhou(hr))
        return hr;
    // No proxy of ours carries a blanket yet.
    static_cast<IUnknown*>(seguranca)->Release();
    return S_OK;
}

std::string NomeCurtoClasse(const CLSID& clsid)
{
    const std::string auxiliar = ValorDaClasse(clsid, "AuxUserType\\2");
    return auxiliar.empty() ? ValorDaClasse(clsid, "") : auxiliar;
}

void RelataEvento(const char*, WORD, DWORD, const std::string&, const std::string&) {}

ApartamentoCom::ApartamentoCom() = default;
ApartamentoCom::~ApartamentoCom() = default;

} // namespace plataforma
