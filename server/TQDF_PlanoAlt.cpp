#include "server/TQDF_PlanoAlt.h"

HRESULT ZazObtemObjetoClasse(REFCLSID rclsid, REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return kPonteiroNulo;
    *ppv = nullptr;
    if (!MesmoGuid(rclsid, CLSID_TQDF_PlanoAlt))
        return kClasseIndisponivel;
    static CComClassFactory<CTQDF_PlanoAlt> fabrica;
    return fabrica.QueryInterface(riid, ppv);
}

HRESULT ZazPodeDescarregar() { return CTQContagemModulo::GetLockCount() == 0 ? S_OK : S_FALSE; }
