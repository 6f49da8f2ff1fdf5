// The exports of TQGERADOR that this program calls: the suite's report builder. Only plain
// values and an abstract interface cross; the library owns the builder it creates and frees it
// itself. Texts of lines are ANSI (code page 1252), as the chart holds them.
#pragma once

#include <cstdint>

#include "platform/Tipos.h"

class ITQMontaRelatorio {
public:
    // Destroys the builder inside the library.
    virtual void Libera() = 0;
    // Binds the builder to a report: the company, user and session, the company's name for the
    // page header, module and system ("DF", "ALT"), the output path (its extension names the
    // format) and the report's name (which columns the user chose). Negative: failure.
    virtual HRESULT Inicializa(const OLECHAR* empresa, uint16_t usuario, uint32_t sessao, const OLECHAR* razaoSocial,
                               const OLECHAR* modulo, const OLECHAR* sistema, const OLECHAR* arquivo,
                               const OLECHAR* relatorio, int32_t opcoes) = 0;
    virtual void InicializaLinha() = 0;
    // The number of fields the user chose, and the code of the field at an index (0 upward).
    virtual uint16_t GetQtdeCampos() = 0;
    virtual void GetCampoEscolhido(uint16_t indice, int64_t* codigo) = 0;
    virtual void Adiciona(const char* texto, uint16_t largura) = 0;
    virtual void AdicionaDetalhe(int64_t codigo, int32_t tipo, uint16_t largura, int32_t decimais,
                                 const char* mascara, bool visivel, bool totaliza) = 0;
    virtual void FinalizaLinha() = 0;
    // 0: the report file was written whole; anything else: a failure, and no file.
    virtual HRESULT GeraRelatorio() = 0;
    virtual void Finaliza(bool descarta) = 0;

protected:
    ~ITQMontaRelatorio() = default;
};

extern "C" {
// A new, empty builder (released with its Libera), or null.
typedef ITQMontaRelatorio* (*PFN_TQCriaMontaRelatorio)();
}

constexpr const char* kExportTQCriaMontaRelatorio = "TQCriaMontaRelatorio";
constexpr const char* kBibliotecaTQGERADOR = "TQGERADOR.dll";
