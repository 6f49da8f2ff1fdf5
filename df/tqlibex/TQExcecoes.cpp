#include "df/tqlibex/TQExcecoes.h"

#include <array>
#include <climits>
#include <exception>
#include <new>

namespace {

constexpr HRESULT kErrnoDesconhecido = TQHResult(0x8004EA60);
constexpr HRESULT kTQExceptionSemCodigo = TQHResult(0x8004EA61);
constexpr HRESULT kMemoria = TQHResult(0x8004EA62);
constexpr HRESULT kOutraCException = TQHResult(0x8004EA63);
constexpr HRESULT kBadAlloc = TQHResult(0x8004EA64);
constexpr HRESULT kStdException = TQHResult(0x8004EA65);
constexpr HRESULT kDesconhecida = TQHResult(0x8004EA66);
constexpr HRESULT kArgumentoInvalido = TQHResult(0x8004EA67);
constexpr uint32_t kBaseItf = 0x80040000u;
constexpr uint32_t kBaseWin32 = 0x80070000u;

// The run-time's errno values that have an HRESULT of their own, ascending (EPERM ...
// EILSEQ, STRUNCATE): the n-th maps to 0x8004EADC + n.
constexpr int kErrnosConhecidos[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 16, 17, 18, 19, 20, 21,
                                     22, 23, 24, 25, 27, 28, 29, 30, 31, 32, 33, 34, 36, 38, 39, 40, 41, 42, 80};
constexpr uint32_t kPrimeiroErrno = 0x8004EADCu;
static_assert(std::size(kErrnosConhecidos) == 39 && kPrimeiroErrno + 38 == 0x8004EB02u);

constexpr int kMaiorErrno = 80;
constexpr auto kHResultDoErrno = [] {
    std::array<HRESULT, kMaiorErrno + 1> tabela{};
    tabela.fill(kErrnoDesconhecido);
    for (uint32_t i = 0; i < std::size(kErrnosConhecidos); ++i)
        tabela[size_t(kErrnosConhecidos[i])] = TQHResult(kPrimeiroErrno + i);
    return tabela;
}();

HRESULT DeCodigoErro(uint32_t codigoErro)
{
    return codigoErro == 0 ? kTQExceptionSemCodigo : TQHResult(codigoErro | kBaseItf);
}

HRESULT DeErroSO(LONG erro)
{
    return erro <= 0 ? HRESULT(erro) : TQHResult(kBaseWin32 | (uint32_t(erro) & 0xFFFFu));
}

// The framework convention: whoever catches the pointer releases the exception.
template <typename Excecao>
HRESULT Libera(Excecao* e, HRESULT hr)
{
    if (e)
        e->Delete();
    return hr;
}

} // namespace

HRESULT TQTranslateThrownExceptionToHresult()
{
    if (!std::current_exception())
        return kDesconhecida;
    try {
        throw;
    } catch (const CTQComError& e) {
        return e.Error();
    } catch (const CTQExceptionEx& e) {
        return e.m_hr;
    } catch (CTQException* e) {
        return Libera(e, e ? DeCodigoErro(e->m_ulCodigoErro) : kOutraCException);
    } catch (CFileException* e) {
        return Libera(e, e ? DeErroSO(e->m_lOsError) : kOutraCException);
    } catch (CMemoryException* e) {
        return Libera(e, kMemoria);
    } catch (CInvalidArgException* e) {
        return Libera(e, kArgumentoInvalido);
    } catch (CException* e) {
        return Libera(e, kOutraCException);
    } catch (int valor) {
        return HRESULT(valor);
    } catch (unsigned valor) {
        return TQHResult(valor);
#if LONG_MAX == INT_MAX
    // Where long is 32 bits, HRESULT is a long: "throw hr;" lands here.
    } catch (long valor) {
        return HRESULT(valor);
    } catch (unsigned long valor) {
        return TQHResult(uint32_t(valor));
#endif
    } catch (const std::bad_alloc&) {
        return kBadAlloc;
    } catch (const std::exception&) {
        return kStdException;
    } catch (...) {
        return kDesconhecida;
    }
}

HRESULT TQTraduzErrno(int numero)
{
    return numero >= 0 && numero <= kMaiorErrno ? kHResultDoErrno[size_t(numero)] : kErrnoDesconhecido;
}
