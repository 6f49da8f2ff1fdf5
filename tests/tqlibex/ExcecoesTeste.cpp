// What escapes a call frame, translated to the HRESULT the client receives.
#include <functional>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "df/tqlibex/TQExcecoes.h"

namespace {

// Counts its instances, to see that the translation deletes a caught pointer.
int g_vivas = 0;
class CExcecaoContada : public CException {
public:
    CExcecaoContada() { ++g_vivas; }
    ~CExcecaoContada() override { --g_vivas; }
};

} // namespace

TEST(Excecoes, CadaTipoLancadoTemSeuHResult)
{
    const std::pair<std::function<void()>, uint32_t> casos[] = {
        {[] { throw CTQComError(S_FALSE); }, 1u},
        {[] { throw CTQExceptionEx(TQHResult(0x81080A04), 1, 2, "texto", "detalhe", "Fonte", 10, "CClasse::Funcao"); },
         0x81080A04u},
        {[] { throw new CTQException(7, 1, 0x2DC); }, 0x800402DCu},
        {[] { throw new CTQException(7, 1, 0); }, 0x8004EA61u},
        // The error code is or-ed with 0x80040000, not cut to its low bits.
        {[] { throw new CTQException(7, 1, 0x81080A04u); }, 0x810C0A04u},
        {[] { throw new CFileException(0, 0x12345); }, 0x80072345u}, // low 16 bits only
        {[] { throw new CFileException(0, 0); }, 0u},
        {[] { throw new CFileException(0, LONG(0x80040010)); }, 0x80040010u},
        {[] { throw new CMemoryException; }, 0x8004EA62u},
        {[] { throw new CInvalidArgException; }, 0x8004EA67u},
        // As in C++ handlers, the type thrown decides, not the object's dynamic type.
        {[] { throw static_cast<CException*>(new CMemoryException); }, 0x8004EA63u},
        {[] { throw new CExcecaoContada; }, 0x8004EA63u},
        {[] { throw int(0x80040005); }, 0x80040005u},
        {[] { throw 0x80070005; }, 0x80070005u}, // an unsigned literal
        {[] { throw TQHResult(0x8108FFFF); }, 0x8108FFFFu}, // the platform's HRESULT type
        // std::bad_alloc: GuardaTeste (server), through a real frame.
        {[] { throw std::out_of_range("x"); }, 0x8004EA65u},
        {[] { throw std::string("x"); }, 0x8004EA66u},
        {[] { throw static_cast<short>(3); }, 0x8004EA66u}, // not a 32-bit integer
    };
    g_vivas = 0;
    for (size_t i = 0; i < std::size(casos); ++i) {
        uint32_t hr = 0;
        try {
            casos[i].first();
        } catch (...) {
            hr = uint32_t(TQTranslateThrownExceptionToHresult());
        }
        EXPECT_EQ(hr, casos[i].second) << "case " << i;
    }
    EXPECT_EQ(g_vivas, 0) << "a caught pointer is deleted";
    // Outside a handler.
    EXPECT_EQ(uint32_t(TQTranslateThrownExceptionToHresult()), 0x8004EA66u);
}

TEST(Excecoes, Errno)
{
    // The first, the one after the gap at 15, and the last of the ones with an HRESULT of their own.
    EXPECT_EQ(uint32_t(TQTraduzErrno(1)), 0x8004EADCu);
    EXPECT_EQ(uint32_t(TQTraduzErrno(16)), 0x8004EAEAu);
    EXPECT_EQ(uint32_t(TQTraduzErrno(80)), 0x8004EB02u); // STRUNCATE
    for (int e : {0, 15, 43, 79, 81, -1})
        EXPECT_EQ(uint32_t(TQTraduzErrno(e)), 0x8004EA60u) << e;
}
