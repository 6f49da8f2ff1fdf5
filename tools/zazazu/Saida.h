// What the client prints: readable tables by default, JSON with --json, and refusals with the
// HRESULT, its name and the description of the message library.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/Tipos.h"

namespace zazazu {

// Exit codes: 0 done, 1 refused by the service or by the input, 2 a usage error.
constexpr int kSaidaOk = 0;
constexpr int kSaidaRecusa = 1;
constexpr int kSaidaUso = 2;

class Saida {
public:
    explicit Saida(bool json) : m_json(json) {}
    bool Json() const { return m_json; }

    // A table: header and rows, columns as wide as their widest cell.
    void Tabela(const std::vector<std::string>& cabecalho, const std::vector<std::vector<std::string>>& linhas) const;
    void Linha(std::string_view texto) const;
    void Documento(const nlohmann::json& j) const;

    // Prints the refusal (to stderr, or as JSON on stdout) and answers kSaidaRecusa.
    int Recusa(HRESULT hr, std::string_view contexto) const;

private:
    bool m_json;
};

// "0x81080D10", the name from the tables, the description in UTF-8 (empty when none).
std::string TextoHResult(HRESULT hr);
std::string NomeHResult(HRESULT hr);
std::string DescricaoHResult(HRESULT hr);

// Code page 1252 of the records to UTF-8 of the terminal and files.
std::string Utf8(std::string_view ansi);
// A fixed field of a record (up to its first zero) in UTF-8.
template <size_t N>
std::string Campo(const char (&campo)[N])
{
    return Utf8(std::string_view(campo, strnlen(campo, N)));
}

} // namespace zazazu
