// Forms of a classification, account types, masks and the reduced code of an account.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

constexpr size_t kTamanhoClassificacao = 28;  // characters of a classification text
constexpr size_t kTamanhoEmpacotado = 14;     // bytes of its packed form
constexpr size_t kMascaras = 10;              // one mask per first digit

// Type bits of an index entry's Tipo_IndCon.
constexpr uint32_t kTipoA = 0x10000000;
constexpr uint32_t kTipoS = 0x20000000;
constexpr uint32_t kTipoG = 0x40000000;
constexpr uint32_t kBitsTipo = 0x70000000;
constexpr uint32_t kBitInativo = 0x80000000;
constexpr uint32_t kMascaraPosicao = 0x00FFFFFF;

// Offsets in a chart record: the status byte, then the own code.
constexpr size_t kOffsetStatus = 14;
constexpr size_t kOffsetCodigo = 16;

// Status byte of a chart record.
constexpr uint8_t kStatusTitulo = 0x01;
constexpr uint8_t kStatusExcluido = 0x02;
constexpr uint8_t kStatusS = 0x04;
constexpr uint8_t kStatusG = 0x08;

// Packs 28 positions of texto (ending at its first zero or at 28 characters) into 14 bytes.
void EmpacotaClassificacao(std::string_view texto, uint8_t empacotado[kTamanhoEmpacotado]);
// Unpacks 14 bytes into a zero-terminated text (texto holds at least 29 bytes).
void DesempacotaClassificacao(const uint8_t empacotado[kTamanhoEmpacotado], char texto[kTamanhoClassificacao + 1]);
std::string DesempacotaClassificacao(const uint8_t empacotado[kTamanhoEmpacotado]);

// A typed classification or code as the store takes it: no leading white space, at most 28
// characters.
std::string_view TextoDeClassificacao(std::string_view texto);

// Text order: byte-wise on the unpacked texts. Packed order: byte-wise on the 14 bytes.
int ComparaTextoClassificacao(std::string_view a, std::string_view b);
int ComparaEmpacotado(const uint8_t a[kTamanhoEmpacotado], const uint8_t b[kTamanhoEmpacotado]);

// The level of a classification: the number of '.' in it.
int NivelClassificacao(std::string_view texto);

// The type letter of a status byte ('S', 'G', 'T' or 'A').
char TipoDoStatus(uint8_t status);
// Puts a type letter into a Tipo_IndCon value (other letters clear bits 28 to 30).
uint32_t AplicaTipo(uint32_t tipoIndCon, char letra);
inline bool EhTitulo(uint32_t tipoIndCon) { return (tipoIndCon & kBitsTipo) == 0; }
inline uint32_t IDX_INDCON(uint32_t tipoIndCon) { return tipoIndCon & kMascaraPosicao; }

// The reduced code of record n: its digits and a modulo-11 check digit ("00000" for 0).
std::string TQDigitoConta(uint32_t n);

// Byte-wise up to the first zero, ASCII letters without regard to case (as _stricmp).
int ComparaSemCaixa(const char* a, const char* b);

// Accent folding of the lookups (code page 1252; case kept).
char DobraAcento(char c);
void DobraAcentos(std::string& texto);
// The name key of index generation: upper case and its own, smaller set of folded letters.
std::string ChaveNomeIndice(const char* nome, size_t tamanho);
// The same into saida (room for kMaxChaveNome bytes); answers its length.
constexpr size_t kMaxChaveNome = 119;
size_t ChaveNomeIndice(const char* nome, size_t tamanho, char* saida);

// The classification that a typed text and the masks give (a text with '.', or shorter
// than 2, is its own classification). mascaras: 10 slots of 28 bytes.
std::string ClassificacaoPelaMascara(std::string_view texto, const char mascaras[kMascaras][kTamanhoClassificacao]);
