// The class object as a client uses it: plain and aggregated creation, and when the module
// may be unloaded.
#include <atomic>
#include <cstring>

#include "Cliente.h"

namespace cliente {
namespace {

constexpr HRESULT kSemInterface = TQHResult(0x80004002);

// An outer object that only counts and answers for itself.
class Externo : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppv) override
    {
        ++consultas;
        *ppv = nullptr;
        return kSemInterface;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }

    std::atomic<ULONG> refs{1};
    int consultas = 0;
};

const GUID kOutraClasse = {0x12345678, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 10}};

class FabricaTeste : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(Zazazu().DllGetClassObject(CLSID_TQDF_PlanoAlt, IID_IClassFactory,
                                             reinterpret_cast<void**>(&m_fabrica)),
                  S_OK);
    }
    Ptr<IClassFactory> m_fabrica;
};

// Only the server's class, and an object with all its interfaces, one identity, and no other.
TEST_F(FabricaTeste, SoAClasseDoServidorESuasInterfaces)
{
    void* p = &p;
    EXPECT_EQ(Zazazu().DllGetClassObject(kOutraClasse, IID_IClassFactory, &p), TQHResult(0x80040111));
    EXPECT_EQ(p, nullptr);
    p = &p;
    EXPECT_EQ(Zazazu().DllGetClassObject(CLSID_TQDF_PlanoAlt, IID_ITQDF_PlanoAlt, &p), kSemInterface);
    EXPECT_EQ(p, nullptr);

    Ptr<IUnknown> u, identidade;
    ASSERT_EQ(m_fabrica->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&u)), S_OK);
    Ptr<ITQUnknown> base;
    Ptr<ITQDF_PlanoAlt> plano;
    ASSERT_EQ(u->QueryInterface(IID_ITQUnknown, reinterpret_cast<void**>(&base)), S_OK);
    ASSERT_EQ(u->QueryInterface(IID_ITQDF_PlanoAlt, reinterpret_cast<void**>(&plano)), S_OK);
    p = &p;
    EXPECT_EQ(u->QueryInterface(kOutraClasse, &p), kSemInterface);
    EXPECT_EQ(p, nullptr);
    ASSERT_EQ(plano->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identidade)), S_OK);
    EXPECT_EQ(identidade.get(), u.get());
}

TEST_F(FabricaTeste, AgregadoSoPedindoIUnknown)
{
    Externo externo;
    void* p = &p;
    EXPECT_EQ(m_fabrica->CreateInstance(&externo, IID_ITQDF_PlanoAlt, &p), TQHResult(0x80040110));
    EXPECT_EQ(p, nullptr);

    Ptr<IUnknown> interno;
    ASSERT_EQ(m_fabrica->CreateInstance(&externo, IID_IUnknown, reinterpret_cast<void**>(&interno)), S_OK);
    EXPECT_EQ(externo.refs, 1u);
    ITQDF_PlanoAlt* plano = nullptr;
    ASSERT_EQ(interno->QueryInterface(IID_ITQDF_PlanoAlt, reinterpret_cast<void**>(&plano)), S_OK);
    // The inner interface counts on the outer object and asks it for everything.
    EXPECT_EQ(externo.refs, 2u);
    void* q = nullptr;
    EXPECT_EQ(plano->QueryInterface(IID_ITQUnknown, &q), kSemInterface);
    EXPECT_EQ(externo.consultas, 1);
    // Still a working object.
    LONG ok = 0;
    EXPECT_EQ(plano->KeepAlive(&ok), S_OK);
    EXPECT_EQ(ok, 1);
    plano->Release();
    EXPECT_EQ(externo.refs, 1u);
}

TEST_F(FabricaTeste, ModuloSoDescarregaSemObjetosNemTravas)
{
    EXPECT_EQ(Zazazu().DllCanUnloadNow(), S_FALSE); // the class object held here
    {
        Ptr<ITQDF_PlanoAlt> o;
        ASSERT_EQ(m_fabrica->CreateInstance(nullptr, IID_ITQDF_PlanoAlt, reinterpret_cast<void**>(&o)), S_OK);
        m_fabrica.Libera();
        EXPECT_EQ(Zazazu().DllCanUnloadNow(), S_FALSE);
    }
    EXPECT_EQ(Zazazu().DllCanUnloadNow(), S_OK);
    SetUp();
    EXPECT_EQ(m_fabrica->LockServer(TRUE), S_OK);
    m_fabrica.Libera();
    EXPECT_EQ(Zazazu().DllCanUnloadNow(), S_FALSE); // the lock alone keeps it
    SetUp();
    EXPECT_EQ(m_fabrica->LockServer(FALSE), S_OK);
    m_fabrica.Libera();
    EXPECT_EQ(Zazazu().DllCanUnloadNow(), S_OK);
}

} // namespace
} // namespace cliente
