// The type library that the server carries as resource TYPELIB 1, read back as a client's tools
// read it: identity, the class's interface, record sizes.
#ifdef _WIN32

#include <string>
#include <utility>

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

    ITypeInfo* PorNome(const std::string& nome)
    {
        std::wstring w(nome.begin(), nome.end());
        ITypeInfo* ti = nullptr;
        MEMBERID id = 0;
        USHORT achados = 1;
        m_tl->FindName(w.data(), 0, &ti, &id, &achados);
        return achados ? ti : nullptr;
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
    EXPECT_EQ(a->wMajorVerNum, 1);
    EXPECT_EQ(a->wMinorVerNum, 0);
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

// The records as the IDL lays them out (the proxies marshal by this) against the C++ declarations,
// the session record's hand-written header among them; server/Contrato.h pins the C++ offsets.
TEST_F(BibliotecaTipos, RegistrosDoTamanhoDoCpp)
{
#define R(tipo) {#tipo, sizeof(tipo)}
    const std::pair<const char*, size_t> registros[] = {
        R(_REG_DF_INICIALIZAPS), R(_REG_DF_ERROPS), R(_REG_DF_FUNCAO_GENERICAPS), R(REG_DADOS_PLANO_ALT_PS),
        R(ARRAY_REG_DADOS_PLANO_ALT_PS), R(ARRAY_REG_EXCLUI_PLANO_ALT_PS), R(REG_MASCARA_ALT_PS),
        R(_MASCARA_PLANO_ALT), R(REG_PLANO_ALT_PS), R(REGCON_INDEX_ALT_PS), R(ARRAY_REGCON_INDEX_ALT_PS),
        R(REG_VINCULO_ALT),
    };
#undef R
    for (const auto& [nome, tamanho] : registros) {
        SCOPED_TRACE(nome);
        ITypeInfo* ti = PorNome(nome);
        ASSERT_NE(ti, nullptr);
        TYPEATTR* ta = nullptr;
        ASSERT_EQ(ti->GetTypeAttr(&ta), S_OK);
        if (ta->typekind == TKIND_ALIAS) {
            // typedef struct X {...} X: the alias leads to the record.
            ITypeInfo* rec = nullptr;
            ASSERT_EQ(ta->tdescAlias.vt, VT_USERDEFINED);
            ASSERT_EQ(ti->GetRefTypeInfo(ta->tdescAlias.hreftype, &rec), S_OK);
            ti->ReleaseTypeAttr(ta);
            ti->Release();
            ti = rec;
            ASSERT_EQ(ti->GetTypeAttr(&ta), S_OK);
        }
        EXPECT_EQ(ta->typekind, TKIND_RECORD);
        EXPECT_EQ(ta->cbSizeInstance, tamanho);
        ti->ReleaseTypeAttr(ta);
        ti->Release();
    }
}

TEST(RecursosServidor, NomeDoProjetoNaString100)
{
    wchar_t texto[32] = {};
    ASSERT_GT(LoadStringW(GetModuleHandleW(nullptr), 100, texto, 32), 0);
    EXPECT_STREQ(texto, L"ZazAzu");
}

} // namespace

#endif
