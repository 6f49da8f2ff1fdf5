/* The proxy/stub code that widl generates for the contract, compiled as C. mingw's unknwn.h
   declares the IUnknown proxy routines only for C++; the generated tables need them in C. */
#include <unknwn.h>

HRESULT STDMETHODCALLTYPE IUnknown_QueryInterface_Proxy(IUnknown* This, REFIID riid, void** ppvObject);
ULONG STDMETHODCALLTYPE IUnknown_AddRef_Proxy(IUnknown* This);
ULONG STDMETHODCALLTYPE IUnknown_Release_Proxy(IUnknown* This);

#include "ZAZAZU_p.c"
