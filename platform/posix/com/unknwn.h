// What the headers that widl generates expect from rpc.h, objbase.h and unknwn.h, for the POSIX
// build: interfaces are plain single-inheritance vtables in slot order with the platform's
// default calling convention, no virtual destructor, as on the Windows build.
#pragma once

#include "platform/Tipos.h"

#define STDMETHODCALLTYPE
#define __RPC_USER
#define interface struct
#define DECLSPEC_UUID(x)
#define MIDL_INTERFACE(x) struct DECLSPEC_UUID(x)
#define EXTERN_C extern "C"
#define DECLSPEC_SELECTANY
#define DEFINE_GUID(nome, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) EXTERN_C const GUID nome

typedef const IID& REFIID;
typedef const CLSID& REFCLSID;
typedef int64_t hyper;

interface IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
};

EXTERN_C const IID IID_IUnknown;

interface IClassFactory : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) = 0;
    virtual HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) = 0;
};

EXTERN_C const IID IID_IClassFactory;
