// Status codes of the record files (0 = success). As an HRESULT: 0x80040000 | code.
#pragma once

#include <cstdint>

namespace statusarq {
constexpr uint32_t Ok = 0;
constexpr uint32_t BuscaFalhou = 16012;
constexpr uint32_t FimArquivo = 16021;
constexpr uint32_t ErroHardware = 16039;
constexpr uint32_t NaoEncontrado = 16055;
constexpr uint32_t CaminhoInvalido = 16063;
constexpr uint32_t MuitosAbertos = 16071;
constexpr uint32_t AcessoNegado = 16080;
constexpr uint32_t SomenteLeitura = 16081;
constexpr uint32_t ArquivoInvalido = 16098;
constexpr uint32_t DiretorioCheio = 16101;
constexpr uint32_t Compartilhamento = 16110;
constexpr uint32_t Bloqueio = 16128;
constexpr uint32_t DiscoCheio = 16136;
constexpr uint32_t TentativasEsgotadas = 16144;
constexpr uint32_t ArgumentoInvalido = 16179;
constexpr uint32_t PosicaoAlemDoFim = 2675;
constexpr uint32_t PosicaoNegativa = 2676;

// Marks.
constexpr uint32_t MarcaDeixada = 16209;
constexpr uint32_t MarcaOcupada = 17396;
} // namespace statusarq

constexpr int32_t TQHResultDoStatus(uint32_t status) { return int32_t(0x80040000u | status); }
