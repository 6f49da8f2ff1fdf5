// The exports of libZAZAZUps.so, the local server's client module: the same as the in-process
// module's, so a client switches between them by loading one or the other. Its class object
// creates the objects in the local server, which the bus starts on demand.
#include <atomic>

#include "server/Core/TQRPCDLL/TQComObjeto.h"
#include "server/Exportacoes.h"
#include "server/dbus/ObjetoRemoto.h"

namespace {

std::atomic<ULONG> g_travas{0};

class FabricaRemota final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return kPonteiroNulo;
        if (!MesmoGuid(riid, IID_IUnknown) && !MesmoGuid(riid, IID_IClassFactory)) {
            *ppv = nullptr;
            return kSemInterface;
        }
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++g_travas; }
    ULONG STDMETHODCALLTYPE Release() override { return --g_travas; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* externo, REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return kPonteiroNulo;
        *ppv = nullptr;
        if (externo != nullptr)
            return kSemAgregacao;
        return dbus::CriaObjetoRemoto(riid, ppv);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override
    {
        fLock ? ++g_travas : --g_travas;
        return S_OK;
    }
};

} // namespace

ZAZ_EXPORTA HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return kPonteiroNulo;
    *ppv = nullptr;
    if (!MesmoGuid(rclsid, CLSID_TQDF_PlanoAlt))
        return kClasseIndisponivel;
    static FabricaRemota fabrica;
    return fabrica.QueryInterface(riid, ppv);
}

ZAZ_EXPORTA HRESULT DllCanUnloadNow()
{
    return g_travas.load() == 0 && dbus::ObjetosRemotosVivos() == 0 ? S_OK : S_FALSE;
}
