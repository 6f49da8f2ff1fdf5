// The blocks of the bulk functions built from CSV rows and read back into them.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "tools/zazazu/Csv.h"

namespace zazazu {

// A value at an offset of a block; zero past its end.
template <typename T>
T LeDoBloco(const std::vector<uint8_t>& bytes, size_t deslocamento)
{
    T valor{};
    if (deslocamento + sizeof valor <= bytes.size())
        std::memcpy(&valor, bytes.data() + deslocamento, sizeof valor);
    return valor;
}

// The import block of the rows (options of FuncoesGenericas.h).
std::vector<uint8_t> BlocoImportacao(const std::vector<LinhaCsv>& linhas, uint32_t opcoes);
// The rows of an export block, in chart order, each with its links; false when it is malformed.
bool LinhasExportadas(const std::vector<uint8_t>& bloco, std::vector<LinhaCsv>& linhas, uint32_t& vinculos);

} // namespace zazazu
