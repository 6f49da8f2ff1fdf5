#include "ObjetoBench.h"

#include "df/tqlibex/TQProfiler.h"

namespace bench {

ObjetoPlano CriaObjeto()
{
    CComObject<CTQDF_PlanoAlt>* objeto = nullptr;
    if (CComObject<CTQDF_PlanoAlt>::CreateInstance(&objeto) != S_OK)
        return nullptr;
    void* interface_ = nullptr;
    if (objeto->QueryInterface(IID_ITQDF_PlanoAlt, &interface_) != S_OK) {
        delete objeto; // never counted
        return nullptr;
    }
    return ObjetoPlano(static_cast<ITQDF_PlanoAlt*>(interface_));
}

_REG_DF_INICIALIZAPS RegistroSessao(const std::string& empresa)
{
    CTQProfilerEmpresa identidade(empresa, 7, 1);
    return TQRegistroParaOutroServidor(identidade, "ObjetoBench", __LINE__);
}

ObjetoPlano ObjetoInicializado(const std::string& empresa)
{
    ObjetoPlano objeto = CriaObjeto();
    if (objeto && objeto->Inicializa_Padrao(RegistroSessao(empresa)) != S_OK)
        objeto.reset();
    return objeto;
}

} // namespace bench
