#include "server/com/BibliotecaTipos.h"

#include <iterator>

#include <windows.h>
#include <oleauto.h>

#include "df/tqlibex/TQTrace.h"

// In oleaut32 since Windows Vista, missing from mingw's headers.
extern "C" {
HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* ptlib, OLECHAR* szFullPath, OLECHAR* szHelpDir);
HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID libID, WORD wMajorVerNum, WORD wMinorVerNum, LCID lcid,
                                        SYSKIND syskind);
}

namespace {

constexpr const char* kFonte = "BibliotecaTipos";

// Released on every way out.
struct BibliotecaCarregada {
    ITypeLib* p = nullptr;
    ~BibliotecaCarregada()
    {
        if (p)
            p->Release();
    }
};

HRESULT Falha(const char* expressao, HRESULT hr, TQOnde onde = TQOnde::Atual())
{
    TQTraceHResult(nullptr, {"TQRegistraBibliotecaTipos", onde}, kFonte, "hr", expressao, hr);
    return hr;
}

} // namespace

std::string TQScriptDoRecurso(int id)
{
    HRSRC recurso = FindResourceA(nullptr, MAKEINTRESOURCEA(id), "REGISTRY");
    HGLOBAL carregado = recurso ? LoadResource(nullptr, recurso) : nullptr;
    const void* dados = carregado ? LockResource(carregado) : nullptr;
    if (!dados)
        return {};
    return std::string(static_cast<const char*>(dados), SizeofResource(nullptr, recurso));
}

HRESULT TQRegistraBibliotecaTipos(bool registra, bool porUsuario)
{
    wchar_t caminho[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, caminho, DWORD(std::size(caminho)));
    if (n == 0 || n >= std::size(caminho))
        return Falha("GetModuleFileNameW(nullptr, caminho, MAX_PATH)", HRESULT_FROM_WIN32(GetLastError()));
    BibliotecaCarregada tl;
    HRESULT hr = LoadTypeLibEx(caminho, REGKIND_NONE, &tl.p);
    if (FAILED(hr))
        return Falha("LoadTypeLibEx(caminho, REGKIND_NONE, &pTypeLib)", hr);
    if (registra) {
        hr = porUsuario ? RegisterTypeLibForUser(tl.p, caminho, nullptr) : RegisterTypeLib(tl.p, caminho, nullptr);
        return FAILED(hr) ? Falha("RegisterTypeLib(pTypeLib, caminho, nullptr)", hr) : S_OK;
    }
    TLIBATTR* atributos = nullptr;
    hr = tl.p->GetLibAttr(&atributos);
    if (FAILED(hr))
        return Falha("pTypeLib->GetLibAttr(&pAttr)", hr);
    const TLIBATTR a = *atributos;
    tl.p->ReleaseTLibAttr(atributos);
    hr = porUsuario ? UnRegisterTypeLibForUser(a.guid, a.wMajorVerNum, a.wMinorVerNum, a.lcid, a.syskind)
                    : UnRegisterTypeLib(a.guid, a.wMajorVerNum, a.wMinorVerNum, a.lcid, a.syskind);
    return FAILED(hr) ? Falha("UnRegisterTypeLib(guid, major, minor, lcid, syskind)", hr) : S_OK;
}
