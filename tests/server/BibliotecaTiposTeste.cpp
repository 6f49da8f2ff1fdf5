// The type library that the server carries as resource TYPELIB 1, read back as a client's tools
// read it: identity and the class's interface. The records' sizes are left to the session through
// the proxy, built from the same IDL.
#ifdef _WIN32

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include "server/Contrato.h"

namespace {

// The library's identity, and its class with the interface first. The slots' order is the C++
// table's (ContratoTeste), both from the IDL.
TEST(BibliotecaTipos, IdentidadeEClasseComAInterface)
{
    wchar_t caminho[MAX_PATH];
    ASSERT_NE(GetModuleFileNameW(nullptr, caminho, MAX_PATH), 0u);
    ITypeLib* tl = nullptr;
    ASSERT_EQ(LoadTypeLibEx(caminho, REGKIND_NONE, &tl), S_OK);
    TLIBATTR* a = nullptr;
    ASSERT_EQ(tl->GetLibAttr(&a), S_OK);
    EXPECT_TRUE(IsEqualGUID(a->guid, LIBID_ZAZAZULib));
    tl->ReleaseTLibAttr(a);

    ITypeInfo* classe = nullptr;
    ASSERT_EQ(tl->GetTypeInfoOfGuid(CLSID_TQDF_PlanoAlt, &classe), S_OK);
    HREFTYPE ref = 0;
    ITypeInfo* plano = nullptr;
    ASSERT_EQ(classe->GetRefTypeOfImplType(0, &ref), S_OK);
    ASSERT_EQ(classe->GetRefTypeInfo(ref, &plano), S_OK);
    classe->Release();
    TYPEATTR* ta = nullptr;
    ASSERT_EQ(plano->GetTypeAttr(&ta), S_OK);
    EXPECT_TRUE(IsEqualGUID(ta->guid, IID_ITQDF_PlanoAlt));
    plano->ReleaseTypeAttr(ta);
    plano->Release();
    tl->Release();
}

} // namespace

#endif
