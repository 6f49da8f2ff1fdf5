// Names of the parts of an HRESULT, and the message text of a value.
#pragma once

#include <string>

#include "platform/Tipos.h"

inline int TQSeveridade(HRESULT hr) { return int(uint32_t(hr) >> 31); }
inline int TQFacilidade(HRESULT hr) { return int((uint32_t(hr) >> 16) & 0x1FFF); }
inline int TQCodigo(HRESULT hr) { return int(uint32_t(hr) & 0xFFFF); }

// "SEVERITY_SUCCESS" or "SEVERITY_ERROR".
const char* TQNomeSeveridade(HRESULT hr);
// The facility's name, or "Desconhecido ou novo código de FACILITY" (in code page 1252).
const char* TQNomeFacilidade(HRESULT hr);
// The ERROR_ name of the code when the facility is not 4; empty otherwise or when unknown.
const char* TQNomeCodigo(HRESULT hr);
// The platform's symbolic name of the whole value (E_ACCESSDENIED ...), or empty.
const char* TQNomeHResult(HRESULT hr);
// For FACILITY_ITF, the fixed table of the suite's other servers; else, and outside that
// table, the description from the message-text library. Empty when none.
std::string TQTextoMensagem(HRESULT hr);
// The fixed FACILITY_ITF table alone (null outside it).
const char* TQMensagemFixaItf(HRESULT hr);
