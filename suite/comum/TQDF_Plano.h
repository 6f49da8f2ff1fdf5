// The suite's main-chart server as the report reaches it: interface ITQDF_Plano of class
// TQDF.Plano, an in-process server. Only slots 7 and 8 are used here.
#pragma once

#include <cstddef>
#include <cstdint>

#include <unknwn.h>

#include "df/tqlibex/TQComPtr.h"
#include "platform/Tipos.h"

// {A7975E90-693B-11D4-B05B-00A0C99213AC}
inline constexpr CLSID CLSID_TQDF_Plano = {0xA7975E90, 0x693B, 0x11D4, {0xB0, 0x5B, 0x00, 0xA0, 0xC9, 0x92, 0x13, 0xAC}};
// {A7975E8F-693B-11D4-B05B-00A0C99213AC}
inline constexpr IID IID_ITQDF_Plano = {0xA7975E8F, 0x693B, 0x11D4, {0xB0, 0x5B, 0x00, 0xA0, 0xC9, 0x92, 0x13, 0xAC}};

// The session record of slot 7: a session value of the routine framework at 0 (32-bit), the
// user at 4 (16-bit), the company at 6 (24 bytes, zero-padded), 'C' at 30, zero at 31.
inline constexpr size_t kTamanhoSessaoPlano = 32;
inline constexpr size_t kSessaoPlanoUsuario = 4;
inline constexpr size_t kSessaoPlanoEmpresa = 6;
inline constexpr size_t kSessaoPlanoEmpresaTamanho = 24;
inline constexpr size_t kSessaoPlanoMarca = 30;

// The main-chart account record of slot 8: zero-terminated texts of the classification at 24,
// the code at 88, the name at 100, and the type character ('T' summary, 'A' analytic) at 182.
inline constexpr size_t kTamanhoContaPlano = 312;
inline constexpr size_t kContaPlanoClassificacao = 24;
inline constexpr size_t kContaPlanoCodigo = 88;
inline constexpr size_t kContaPlanoNome = 100;
inline constexpr size_t kContaPlanoTipo = 182;

struct ITQDF_Plano : public IUnknown {
    // Slots 3 to 6: not used by this program.
    virtual HRESULT STDMETHODCALLTYPE Reservado3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reservado4() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reservado5() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reservado6() = 0;
    // Slot 7: binds the object to the session's company (kTamanhoSessaoPlano bytes).
    virtual HRESULT STDMETHODCALLTYPE Inicializa(const uint8_t* sessao) = 0;
    // Slot 8: the main-chart account at a position, into kTamanhoContaPlano bytes.
    virtual HRESULT STDMETHODCALLTYPE LeConta(LONG posicao, uint8_t* conta) = 0;
};

// What CTQComPtr<ITQDF_Plano> asks for.
template <>
struct TQIdDaInterface<ITQDF_Plano> {
    static constexpr const IID& kId = IID_ITQDF_Plano;
    static constexpr const char* kNome = "ITQDF_Plano";
};
