#include <new>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "df/tqlibex/TQExcecoes.h"

namespace {

// What the call frame does: run, and translate whatever escapes.
template <typename Funcao>
uint32_t Traduz(Funcao&& f)
{
    try {
        f();
    } catch (...) {
        return uint32_t(TQTranslateThrownExceptionToHresult());
    }
    return 0;
}

// Counts its instances, to see that the translation deletes a caught pointer.
int g_vivas = 0;
class CExcecaoContada : public CException {
public:
    CExcecaoContada() { ++g_vivas; }
    ~CExcecaoContada() override { --g_vivas; }
};

} // namespace

TEST(Excecoes, ComErrorEExceptionExDaoSeuHResult)
{
    EXPECT_EQ(Traduz([] { throw CTQComError(TQHResult(0x80070057)); }), 0x80070057u);
    EXPECT_EQ(Traduz([] { throw CTQComError(S_FALSE); }), 1u);
    EXPECT_EQ(Traduz([] { throw CTQExceptionEx(TQHResult(0x81080A04), 1, 2, "texto", "detalhe", "Fonte", 10,
                                               "CClasse::Funcao"); }),
              0x81080A04u);
}

TEST(Excecoes, TQException)
{
    EXPECT_EQ(Traduz([] { throw new CTQException(7, 1, 0x2DC); }), 0x800402DCu);
    EXPECT_EQ(Traduz([] { throw new CTQException(7, 1, 0); }), 0x8004EA61u);
    EXPECT_EQ(Traduz([] { throw new CTQException("texto", 1, 0x2DC); }), 0x800402DCu);
    // The error code is or-ed with 0x80040000, not cut to its low bits.
    EXPECT_EQ(Traduz([] { throw new CTQException(7, 1, 0x81080A04u); }), 0x810C0A04u);
    // A pointer of the base type still reaches its own row.
    EXPECT_EQ(Traduz([] { throw static_cast<CTQException*>(new CTQException(0, 0, 0x10)); }), 0x80040010u);
}

TEST(Excecoes, FileException)
{
    EXPECT_EQ(Traduz([] { throw new CFileException(0, 32); }), 0x80070020u);
    EXPECT_EQ(Traduz([] { throw new CFileException(0, 0x12345); }), 0x80072345u); // low 16 bits only
    EXPECT_EQ(Traduz([] { throw new CFileException(0, 0); }), 0u);
    EXPECT_EQ(Traduz([] { throw new CFileException(0, -1); }), 0xFFFFFFFFu);
    EXPECT_EQ(Traduz([] { throw new CFileException(0, LONG(0x80040010)); }), 0x80040010u);
}

TEST(Excecoes, OutrasDoFramework)
{
    EXPECT_EQ(Traduz([] { throw new CMemoryException; }), 0x8004EA62u);
    EXPECT_EQ(Traduz([] { throw new CInvalidArgException; }), 0x8004EA67u);
    EXPECT_EQ(Traduz([] { throw new CException; }), 0x8004EA63u);
    // As in C++ handlers, the type thrown decides, not the object's dynamic type.
    EXPECT_EQ(Traduz([] { throw static_cast<CException*>(new CMemoryException); }), 0x8004EA63u);
}

TEST(Excecoes, PonteiroCapturadoEhLiberado)
{
    g_vivas = 0;
    EXPECT_EQ(Traduz([] { throw new CExcecaoContada; }), 0x8004EA63u);
    EXPECT_EQ(g_vivas, 0);
}

TEST(Excecoes, InteirosPassamComoEstao)
{
    EXPECT_EQ(Traduz([] { throw int(0x80040005); }), 0x80040005u);
    EXPECT_EQ(Traduz([] { throw 0x80070005; }), 0x80070005u); // an unsigned literal
    EXPECT_EQ(Traduz([] { throw 0; }), 0u);
    EXPECT_EQ(Traduz([] { throw TQHResult(0x8108FFFF); }), 0x8108FFFFu); // the platform's HRESULT type
}

TEST(Excecoes, DaBibliotecaPadraoEOutras)
{
    EXPECT_EQ(Traduz([] { throw std::bad_alloc(); }), 0x8004EA64u);
    EXPECT_EQ(Traduz([] { throw std::runtime_error("x"); }), 0x8004EA65u);
    EXPECT_EQ(Traduz([] { throw std::out_of_range("x"); }), 0x8004EA65u);
    EXPECT_EQ(Traduz([] { throw std::string("x"); }), 0x8004EA66u);
    EXPECT_EQ(Traduz([] { throw 1.5; }), 0x8004EA66u);
    EXPECT_EQ(Traduz([] { throw static_cast<short>(3); }), 0x8004EA66u); // not a 32-bit integer
}

TEST(Excecoes, ForaDeUmTratador)
{
    EXPECT_EQ(uint32_t(TQTranslateThrownExceptionToHresult()), 0x8004EA66u);
}

TEST(Excecoes, Errno)
{
    EXPECT_EQ(uint32_t(TQTraduzErrno(16)), 0x8004EAEAu);   // EBUSY, after the gap at 15
    EXPECT_EQ(uint32_t(TQTraduzErrno(80)), 0x8004EB02u);   // STRUNCATE
    for (int e : {0, 15, 26, 35, 37, 43, 79, 81, -1, 1000})
        EXPECT_EQ(uint32_t(TQTraduzErrno(e)), 0x8004EA60u) << e;

    // 39 values, one apart, in ascending order.
    uint32_t anterior = 0, quantos = 0;
    for (int e = 0; e <= 100; ++e) {
        const uint32_t hr = uint32_t(TQTraduzErrno(e));
        if (hr == 0x8004EA60u)
            continue;
        EXPECT_EQ(hr, quantos ? anterior + 1 : 0x8004EADCu) << e;
        anterior = hr;
        ++quantos;
    }
    EXPECT_EQ(quantos, 39u);
}
