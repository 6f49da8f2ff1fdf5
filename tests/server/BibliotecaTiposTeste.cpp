// The type library that the server carries as resource TYPELIB 1, read back as a client's tools
// read it: identity and the class's interface. The records' sizes are left to the session through
// the proxy, built from the same IDL.
#ifdef _WIN32

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include "server/Contrato.h"

namespace {

class BibliotecaTipos : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t caminho[MAX_PATH];
        ASSERT_NE(GetModuleFileNameW(nullptr, caminho, MAX_PATH), 0u);
        ASSERT_EQ(LoadTypeLibEx(caminho, REGKIND_NONE, &m_tl), S_OK);
    }
    void TearDown() override
    {
        if (m_tl)
            m_tl->Release();
    }

    ITypeLib* m_tl = nullptr;
};

// The library's identity, and its class with the interface as default: 26 slots in the table, of
// which the interface declares 19, none dispatched by name. The slots' order is the C++ table's
// (ContratoTeste), both from the IDL.
TEST_F(BibliotecaTipos, IdentidadeEClasseComAInterface)
{
    TLIBATTR* a = nullptr;
    ASSERT_EQ(m_tl->GetLibAttr(&a), S_OK);
    EXPECT_TRUE(IsEqualGUID(a->guid, LIBID_ZAZAZULib));
    EXPECT_EQ(a->syskind, SYS_WIN64);
    m_tl->ReleaseTLibAttr(a);

    ITypeInfo* classe = nullptr;
    ASSERT_EQ(m_tl->GetTypeInfoOfGuid(CLSID_TQDF_PlanoAlt, &classe), S_OK);
    INT flags = 0;
    EXPECT_EQ(classe->GetImplTypeFlags(0, &flags), S_OK);
    EXPECT_TRUE(flags & IMPLTYPEFLAG_FDEFAULT);
    HREFTYPE ref = 0;
    ITypeInfo* plano = nullptr;
    ASSERT_EQ(classe->GetRefTypeOfImplType(0, &ref), S_OK);
    ASSERT_EQ(classe->GetRefTypeInfo(ref, &plano), S_OK);
    classe->Release();
    TYPEATTR* ta = nullptr;
    ASSERT_EQ(plano->GetTypeAttr(&ta), S_OK);
    EXPECT_TRUE(IsEqualGUID(ta->guid, IID_ITQDF_PlanoAlt));
    EXPECT_EQ(ta->typekind, TKIND_INTERFACE);
    EXPECT_EQ(ta->cFuncs, 19);
    EXPECT_EQ(ta->cbSizeVft, 26 * sizeof(void*));
    EXPECT_EQ(ta->wTypeFlags & (TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE), 0);
    plano->ReleaseTypeAttr(ta);
    plano->Release();
}

} // namespace

#endif
