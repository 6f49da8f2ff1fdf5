// The registry reader that every setting goes through: a missing key or value,
// or any read error, gives the caller's default.
#pragma once

#include <string>

#include "platform/Registro.h"

// The access rights asked for: reading, and writing when wanted.
constexpr DWORD kAcessoLeituraRegistro = 0x20019;
constexpr DWORD kAcessoEscritaRegistro = 0x20006;

class CTQRegistro {
public:
    // The key is opened here and closed on destruction; EstaAberta says whether it opened.
    CTQRegistro(plataforma::RaizRegistro raiz, const std::string& chave, bool escrita = false);
    CTQRegistro(const CTQRegistro&) = delete;
    CTQRegistro& operator=(const CTQRegistro&) = delete;

    bool EstaAberta() const { return m_chave.EstaAberta(); }

    DWORD LeDword(const char* nome, DWORD padrao) const;
    // Environment references are expanded only for an expandable value, and only when asked.
    std::string LeTexto(const char* nome, const std::string& padrao, bool expande = false) const;

    // Only on a key opened for writing; false when the write failed.
    bool GravaDword(const char* nome, DWORD valor);
    bool GravaTexto(const char* nome, const std::string& valor);

private:
    plataforma::ChaveRegistro m_chave;
};
