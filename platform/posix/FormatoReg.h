// Internal to the POSIX backend: the registry as a text in Windows .reg export syntax.
// Names and texts here are UTF-8, as in the file; key paths are full
// ("HKEY_LOCAL_MACHINE\SOFTWARE\..."), components separated by a backslash.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Tipos.h"

namespace plataforma::posix {

// Value types, numbered as Windows numbers them.
constexpr DWORD kRegSz = 1;
constexpr DWORD kRegExpandSz = 2;
constexpr DWORD kRegBinario = 3;
constexpr DWORD kRegDword = 4;

struct ValorReg {
    std::string nome; // empty: the key's default value
    DWORD tipo = kRegSz;
    std::string texto;           // kRegSz, kRegExpandSz
    DWORD dword = 0;             // kRegDword
    std::vector<uint8_t> bruto;  // any other type, kept as read
};

struct ChaveReg {
    std::string nome; // full path, with the case it was created with
    std::vector<ValorReg> valores;

    const ValorReg* Valor(std::string_view nome) const;
    // Finds or appends the value; the caller fills in type and data.
    ValorReg& DefineValor(std::string_view nome);
    bool ApagaValor(std::string_view nome);
};

class BaseReg {
public:
    // Exact key, compared without regard to case; null when missing.
    const ChaveReg* Chave(std::string_view caminho) const;
    ChaveReg* Chave(std::string_view caminho);
    // A root alone always exists.
    bool Existe(std::string_view caminho) const;
    // Creates the key and its missing parents; existing ones keep their case.
    // Null for an empty path.
    ChaveReg* Cria(std::string_view caminho);
    // Removes the key and everything below it; false when it did not exist.
    bool Apaga(std::string_view caminho);

    // In hierarchical order (parents before children).
    const std::map<std::string, ChaveReg>& Chaves() const { return m_chaves; }

private:
    std::map<std::string, ChaveReg> m_chaves; // by folded components
};

// Splits a key path at backslashes, dropping empty components.
std::vector<std::string> ComponentesChave(std::string_view caminho);

// Tolerant: lines it does not understand are skipped. Accepts LF and CRLF.
BaseReg LeFormatoReg(std::string_view texto);
std::string EscreveFormatoReg(const BaseReg& base);

} // namespace plataforma::posix
