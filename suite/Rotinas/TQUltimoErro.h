// The last error of a routine object: the error record of the suite's data library and the
// holder that keeps it. The record is kept in the interface's own layout, so handing it to a
// client is one copy.
#pragma once

#include <cstdint>

#include "df/tqlibex/RegErro.h"

class CTQDadosDF_Erro {
public:
    CTQDadosDF_Erro() : m_reg{} {}

    void Limpa();

    void SetHR(HRESULT hr) { m_reg.hr = hr; }
    void SetCodigoErro(int32_t v) { m_reg.nCodigoErro = v; }
    void SetCodigoMensagem(int32_t v) { m_reg.lCodigoMensagem = v; }
    void SetRegistro(int32_t v) { m_reg.iRegistro = v; }
    void SetItem(int32_t v) { m_reg.iItem = v; }
    void SetCodigoCampo(int32_t v) { m_reg.lCodigoCampo = v; }
    void SetModuloMensagem(uint16_t v) { m_reg.nModuloMensagem = v; }
    void SetTipoErro(int16_t v) { m_reg.nTipoErro = v; }
    void SetNumeroServidor(uint16_t v) { m_reg.usNumeroServidor = v; }
    // Texts are cut to their fields and always terminated; null is empty.
    void SetMensagem(const char* texto);
    void SetEmpresa(const char* texto);

    HRESULT GetHR() const { return m_reg.hr; }
    int32_t GetCodigoErro() const { return m_reg.nCodigoErro; }
    int32_t GetCodigoMensagem() const { return m_reg.lCodigoMensagem; }
    uint16_t GetNumeroServidor() const { return m_reg.usNumeroServidor; }
    const char* GetMensagem() const { return m_reg.cMensagem; }
    const char* GetEmpresa() const { return m_reg.szEmpresa; }

    // The whole record, fillers zero; a null destination is ignored.
    void CopiarPara(_REG_DF_ERROPS* destino) const;

private:
    _REG_DF_ERROPS m_reg;
};

class CTQUltimoErro {
public:
    virtual ~CTQUltimoErro() = default;

    // A failed call on another server of the suite.
    virtual void OnErroRPC(HRESULT hr) { SetErro(hr, 0, 0); }
    virtual void SetErro(const CTQDadosDF_Erro& erro) { m_erro = erro; }
    // Null clears the error.
    virtual void SetErro(const CTQDadosDF_Erro* erro);
    // These two record the error under the holder's company and answer hr, so a failing
    // operation can end with "return SetErro(...)".
    virtual HRESULT SetErro(HRESULT hr, int nCodigoErro, int32_t lCodigoMensagem, const char* formato, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 5, 6)))
#endif
        ;
    virtual HRESULT SetErro(HRESULT hr, int nCodigoErro, int32_t lCodigoMensagem);
    virtual const CTQDadosDF_Erro& GetErro() const { return m_erro; }
    virtual CTQDadosDF_Erro& GetErro() { return m_erro; }
    virtual void LimpaErro() { m_erro.Limpa(); }
    virtual HRESULT GetUltimoHR() const { return m_erro.GetHR(); }
    virtual uint16_t GetNumeroServidorUltimoHR() const { return m_erro.GetNumeroServidor(); }
    // The company that recorded errors carry; never null.
    virtual const char* GetEmpresaErroVirtual() const { return ""; }

private:
    void Registra(HRESULT hr, int nCodigoErro, int32_t lCodigoMensagem);

    CTQDadosDF_Erro m_erro;
};
