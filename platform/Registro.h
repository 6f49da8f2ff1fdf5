// The registry: the real one on Windows, a .reg-syntax file on POSIX
// (path in ZAZAZU_REGISTRY). Key and value names and texts are ANSI.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Tipos.h"

namespace plataforma {

enum class RaizRegistro { LocalMachine, CurrentUser, ClassesRoot };

class ChaveRegistro {
public:
    ChaveRegistro() = default;
    ~ChaveRegistro();
    ChaveRegistro(const ChaveRegistro&) = delete;
    ChaveRegistro& operator=(const ChaveRegistro&) = delete;

    // 0 or a system error (2 when the key does not exist).
    DWORD Abre(RaizRegistro raiz, const char* subchave, bool escrita = false);
    // Opens for writing, creating the key and its parents when missing.
    DWORD Cria(RaizRegistro raiz, const char* subchave);
    void Fecha();
    bool EstaAberta() const;

    // A null or empty name is the key's default value.
    DWORD LeDword(const char* nome, DWORD& valor) const;
    DWORD LeTexto(const char* nome, std::string& valor, bool expande = false) const;
    DWORD GravaDword(const char* nome, DWORD valor);
    DWORD GravaTexto(const char* nome, const char* valor);
    DWORD ApagaValor(const char* nome);

private:
#ifdef _WIN32
    void* m_hkey = nullptr;
#else
    RaizRegistro m_raiz = RaizRegistro::LocalMachine;
    std::string m_caminho; // full key name, as opened
    bool m_aberta = false;
    bool m_escrita = false;
#endif
};

// The names of a key's direct subkeys (ANSI), in no set order; 0 or a system error.
DWORD SubchavesRegistro(RaizRegistro raiz, const char* subchave, std::vector<std::string>& nomes);

// Deletes a key with all its subkeys and values.
DWORD ApagaChaveRegistro(RaizRegistro raiz, const char* subchave);

} // namespace plataforma
