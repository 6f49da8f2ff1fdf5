// The class object as a client uses it: creation, the refusal of aggregation, and when the
// module may be unloaded.
#include "Cliente.h"

namespace cliente {
namespace {

constexpr HRESULT kSemInterface = TQHResult(0x80004002);

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

// Only the server's class, and an object with its interfaces, one identity, and no other.
TEST_F(FabricaTeste, SoAClasseDoServidorESuasInterfaces)
{
    void* p = &p;
    EXPECT_EQ(Zazazu().DllGetClassObject(kOutraClasse, IID_IClassFactory, &p), TQHResult(0x80040111));
    EXPECT_EQ(p, nullptr);
    Ptr<IUnknown> u, identidade;
    ASSERT_EQ(m_fabrica->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&u)), S_OK);
    Ptr<ITQDF_PlanoAlt> plano;
    ASSERT_EQ(u->QueryInterface(IID_ITQDF_PlanoAlt, reinterpret_cast<void**>(&plano)), S_OK);
    p = &p;
    EXPECT_EQ(u->QueryInterface(kOutraClasse, &p), kSemInterface);
    EXPECT_EQ(p, nullptr);
    ASSERT_EQ(plano->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identidade)), S_OK);
    EXPECT_EQ(identidade.get(), u.get());

    // Aggregation is refused unless IUnknown is asked for.
    EXPECT_EQ(m_fabrica->CreateInstance(u.get(), IID_ITQDF_PlanoAlt, &p), TQHResult(0x80040110));
}

// The module unloads only with no object and no lock left.
TEST_F(FabricaTeste, ModuloSoDescarregaSemObjetosNemTravas)
{
    EXPECT_EQ(m_fabrica->LockServer(TRUE), S_OK);
    {
        Ptr<ITQDF_PlanoAlt> o;
        ASSERT_EQ(m_fabrica->CreateInstance(nullptr, IID_ITQDF_PlanoAlt, reinterpret_cast<void**>(&o)), S_OK);
        m_fabrica.Libera();
    }
    EXPECT_EQ(Zazazu().DllCanUnloadNow(), S_FALSE); // the lock alone keeps it
    SetUp();
    EXPECT_EQ(m_fabrica->LockServer(FALSE), S_OK);
    m_fabrica.Libera();
    EXPECT_EQ(Zazazu().DllCanUnloadNow(), S_OK);
}

} // namespace
} // namespace cliente
