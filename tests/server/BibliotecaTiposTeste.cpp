// The type library that the server carries as resource TYPELIB 1, read back as a client's tools
// read it: identity, interfaces, slots' member ids and places, record sizes.
#ifdef _WIN32

#include <string>
#include <utility>

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include "platform/Texto.h"
#include "server/Contrato.h"

namespace {

std::string Texto(BSTR b)
{
    std::string s = plataforma::BstrParaAnsi(b);
    SysFreeString(b);
    return s;
}

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

    std::string Nome(ITypeInfo* ti, MEMBERID id = MEMBERID_NIL)
    {
        BSTR b = nullptr;
        EXPECT_EQ(ti->GetDocumentation(id, &b, nullptr, nullptr, nullptr), S_OK);
        return Texto(b);
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

    // Checks the interface's own slots, in the table from `primeiro` on; gives its base.
    void ConfereInterface(ITypeInfo* ti, const char* nome, size_t primeiro, size_t quantos, MEMBERID idBase,
                          ITypeInfo** base)
    {
        EXPECT_EQ(Nome(ti), nome);
        TYPEATTR* ta = nullptr;
        EXPECT_EQ(ti->GetTypeAttr(&ta), S_OK);
        EXPECT_TRUE(IsEqualGUID(ta->guid, primeiro == 7 ? IID_ITQDF_PlanoAlt : IID_ITQUnknown));
        EXPECT_EQ(ta->typekind, TKIND_INTERFACE);
        EXPECT_EQ(ta->cFuncs, quantos);
        EXPECT_EQ(ta->cbSizeVft, (primeiro + quantos) * sizeof(void*));
        EXPECT_EQ(ta->wTypeFlags & (TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE), 0);
        ti->ReleaseTypeAttr(ta);
        // The slots' order is the C++ table's (ContratoTeste), both from the IDL: the first and the last.
        for (UINT i : {0u, UINT(quantos - 1)}) {
            FUNCDESC* fd = nullptr;
            EXPECT_EQ(ti->GetFuncDesc(i, &fd), S_OK);
            EXPECT_EQ(fd->memid, idBase + static_cast<MEMBERID>(i));
            EXPECT_EQ(fd->oVft / sizeof(void*), primeiro + i);
            ti->ReleaseFuncDesc(fd);
        }
        HREFTYPE ref = 0;
        ASSERT_EQ(ti->GetRefTypeOfImplType(0, &ref), S_OK);
        ASSERT_EQ(ti->GetRefTypeInfo(ref, base), S_OK);
    }

    ITypeLib* m_tl = nullptr;
};

// The library's identity, its class with the interface as default, and the two interfaces
// above it with their slots' member ids and places in the table.
TEST_F(BibliotecaTipos, IdentidadeClasseEInterfacesComOs26Slots)
{
    TLIBATTR* a = nullptr;
    ASSERT_EQ(m_tl->GetLibAttr(&a), S_OK);
    EXPECT_TRUE(IsEqualGUID(a->guid, LIBID_ZAZAZULib));
    EXPECT_EQ(a->lcid, 1033u);
    EXPECT_EQ(a->wMajorVerNum, 1);
    EXPECT_EQ(a->wMinorVerNum, 0);
    EXPECT_EQ(a->syskind, SYS_WIN64);
    m_tl->ReleaseTLibAttr(a);
    BSTR b = nullptr;
    ASSERT_EQ(m_tl->GetDocumentation(-1, &b, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(Texto(b), "ZAZAZULib");

    ITypeInfo* classe = nullptr;
    ASSERT_EQ(m_tl->GetTypeInfoOfGuid(CLSID_TQDF_PlanoAlt, &classe), S_OK);
    EXPECT_EQ(Nome(classe), "TQDF_PlanoAlt");
    TYPEATTR* ta = nullptr;
    ASSERT_EQ(classe->GetTypeAttr(&ta), S_OK);
    EXPECT_EQ(ta->typekind, TKIND_COCLASS);
    EXPECT_EQ(ta->cImplTypes, 1);
    classe->ReleaseTypeAttr(ta);
    INT flags = 0;
    EXPECT_EQ(classe->GetImplTypeFlags(0, &flags), S_OK);
    EXPECT_TRUE(flags & IMPLTYPEFLAG_FDEFAULT);
    HREFTYPE ref = 0;
    ITypeInfo* plano = nullptr;
    ASSERT_EQ(classe->GetRefTypeOfImplType(0, &ref), S_OK);
    ASSERT_EQ(classe->GetRefTypeInfo(ref, &plano), S_OK);
    classe->Release();

    ITypeInfo* tqunknown = nullptr;
    ConfereInterface(plano, "ITQDF_PlanoAlt", 7, 19, 0x60020000, &tqunknown);
    plano->Release();
    ASSERT_NE(tqunknown, nullptr);
    ITypeInfo* iunknown = nullptr;
    ConfereInterface(tqunknown, "ITQUnknown", 3, 4, 0x60010000, &iunknown);
    tqunknown->Release();
    ASSERT_NE(iunknown, nullptr);
    ASSERT_EQ(iunknown->GetTypeAttr(&ta), S_OK);
    EXPECT_TRUE(IsEqualGUID(ta->guid, IID_IUnknown));
    EXPECT_EQ(ta->cbSizeVft, 3 * sizeof(void*));
    iunknown->ReleaseTypeAttr(ta);
    iunknown->Release();
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
