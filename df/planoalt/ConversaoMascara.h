// A classification rewritten under a new mask, level by level.
#pragma once

#include <string>
#include <string_view>

// Converts classificacao under mascara (segments end at '.', a space or the end of the text).
// A level that grows gets zeros (on the right for the first level, on the left for the others);
// a level that shrinks drops its leading characters. Answers false when a dropped character
// was a digit other than '0': the account would lose a digit.
bool ConverteClassificacao(std::string_view classificacao, std::string_view mascara, std::string& convertida);

// Whether a classification fits a mask: a digit under each position of the mask but its '.',
// a '.' under each '.', and the text ends where one of the mask's levels ends.
bool CabeNaMascara(std::string_view classificacao, std::string_view mascara);
// The same under the mask of the classification's first digit, of ten of 28 bytes each.
bool CabeNasMascaras(std::string_view classificacao, const char mascaras[10][28]);
// The classification of the title right above (the text before its last '.'); empty at the
// first level.
std::string_view ClassificacaoDoTitulo(std::string_view classificacao);
