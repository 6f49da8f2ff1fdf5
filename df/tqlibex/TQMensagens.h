// How a failure reaches a person: the suite's message libraries and message text files.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Mensagem.h"
#include "platform/Tipos.h"

// The text of (message code, module) from "TQ<code of the module>Mens.txt" in the suite's
// "Mensagens" directory; empty when absent. A file that cannot be opened is reported to the person.
std::string TQTextoArquivoMensagens(uint32_t codigoMensagem, uint32_t modulo);

// The description of a value, as the message library gives it (empty when it has none).
std::string TQDescricaoHResult(HRESULT hr);

// Hands a report to TQMens.dll (loaded for the call); nothing happens when it is missing.
void TQRelataErro(HRESULT principal, HRESULT detalhe, int32_t valor, const std::string& empresa, const char* fonte,
                  int linha, bool mostra, const std::string& texto);

// The message-box report: the message file's text, or the unknown-error text with the code,
// and the system's text of a non-zero operating-system error.
std::string TQTextoRelatorioErro(uint32_t codigoMensagem, uint32_t modulo, DWORD erroSistema);
void TQMostraErro(uint32_t codigoMensagem, uint32_t modulo, DWORD erroSistema,
                  plataforma::EstiloMensagem estilo = plataforma::EstiloMensagem::Exclamacao);
