// Reading of ".ini" text the way the Windows profile functions read it: sections and keys
// found without regard to case, the first of each kind winning, values trimmed and unquoted.
#pragma once

#include <string>
#include <string_view>

// The value of chave in secao; false when the section or the key is missing.
bool TQIniLeTexto(std::string_view conteudo, std::string_view secao, std::string_view chave, std::string& valor);

// The leading number of the value (blanks and a sign allowed before the digits); a missing key
// or an empty value gives padrao, a value without digits 0, a negative value 0.
unsigned TQIniLeNumero(std::string_view conteudo, std::string_view secao, std::string_view chave, unsigned padrao);

// The whole file as it stands; empty when it cannot be read.
std::string TQIniLeArquivo(const std::string& caminho);
