// Texts of the suite's message files "TQ<module>Mens.txt" in the "Mensagens" directory.
#pragma once

#include <cstdint>
#include <string>

// The text of a message code in the module's message file; empty when the file has none
// (a file that cannot be opened is also reported to the person at the machine).
std::string TQTextoArquivoMensagens(uint32_t codigoMensagem, uint32_t modulo);
