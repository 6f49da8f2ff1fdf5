// A classification rewritten under a new mask, level by level.
#pragma once

#include <string>
#include <string_view>

// Converts classificacao under mascara (segments end at '.', a space or the end of the text).
// A level that grows gets zeros (on the right for the first level, on the left for the others);
// a level that shrinks drops its leading characters. Answers false when a dropped character
// was a digit other than '0': the account would lose a digit.
bool ConverteClassificacao(std::string_view classificacao, std::string_view mascara, std::string& convertida);
