// The exceptions the suite's code throws, and their translation into HRESULTs at the
// call frame (nothing throws across the interface).
#pragma once

#include <cstdint>
#include <string>

#include "platform/Tipos.h"

// The framework's exception base: thrown as a pointer, released with Delete() by the
// handler that catches it.
class CException {
public:
    virtual ~CException() = default;
    void Delete() { delete this; }
};

class CFileException : public CException {
public:
    explicit CFileException(int causa = 0, LONG erroSO = -1) : m_cause(causa), m_lOsError(erroSO) {}
    int m_cause;      // the framework's cause of the failure
    LONG m_lOsError;  // the operating system's error number
};

class CMemoryException : public CException {};

class CInvalidArgException : public CException {};

// An HRESULT thrown by value, as the compiler's COM support throws it. Not named
// _com_error: mingw's comdef.h declares that name in the global namespace.
class CTQComError {
public:
    explicit CTQComError(HRESULT hr) : m_hr(hr) {}
    HRESULT Error() const { return m_hr; }

private:
    HRESULT m_hr;
};

// The suite's exception with a message-file code: thrown as a pointer.
class CTQException : public CException {
public:
    CTQException(uint32_t codigoMensagem, uint32_t modulo, uint32_t codigoErro)
        : m_ulCodigoMensagem(codigoMensagem), m_ulModulo(modulo), m_ulCodigoErro(codigoErro)
    {
    }
    CTQException(std::string mensagem, uint32_t modulo, uint32_t codigoErro)
        : m_ulCodigoMensagem(0), m_ulModulo(modulo), m_ulCodigoErro(codigoErro), m_sMensagem(std::move(mensagem))
    {
    }

    // The text given, or else the message file's text for (message code, module), kept.
    const std::string& Mensagem();

    uint32_t m_ulCodigoMensagem;
    uint32_t m_ulModulo;
    uint32_t m_ulCodigoErro;
    std::string m_sMensagem;
};

// The suite's exception with an HRESULT and where it arose: thrown by value.
class CTQExceptionEx {
public:
    explicit CTQExceptionEx(HRESULT hr, uint32_t parametro1 = 0, uint32_t parametro2 = 0, std::string mensagem = {},
                            std::string detalhe = {}, std::string arquivo = {}, int linha = 0,
                            std::string funcao = {})
        : m_hr(hr), m_ulParametro1(parametro1), m_ulParametro2(parametro2), m_sMensagem(std::move(mensagem)),
          m_sDetalhe(std::move(detalhe)), m_sArquivo(std::move(arquivo)), m_iLinha(linha), m_sFuncao(std::move(funcao))
    {
    }

    HRESULT m_hr;
    uint32_t m_ulParametro1;
    uint32_t m_ulParametro2;
    std::string m_sMensagem;
    std::string m_sDetalhe;
    std::string m_sArquivo;
    int m_iLinha;
    std::string m_sFuncao;
};

// Called inside a catch(...) handler: the HRESULT of the exception being handled. A
// caught CException pointer is deleted. Outside a handler: the "unknown exception" value.
HRESULT TQTranslateThrownExceptionToHresult();

// The HRESULT of a run-time library errno value (the Windows run-time's numbering:
// 22 EINVAL, 80 STRUNCATE), as reported by its invalid-parameter handler.
HRESULT TQTraduzErrno(int numero);
