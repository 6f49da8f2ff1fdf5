// Windows system error numbers (the POSIX backend maps errno to these)
// and the file error kinds derived from them.
#pragma once

#include "platform/Tipos.h"

namespace plataforma {

namespace erro {
constexpr DWORD Nenhum = 0;
constexpr DWORD ArquivoNaoEncontrado = 2;
constexpr DWORD CaminhoNaoEncontrado = 3;
constexpr DWORD MuitosArquivosAbertos = 4;
constexpr DWORD AcessoNegado = 5;
constexpr DWORD HandleInvalido = 6;
constexpr DWORD SemMemoria = 8;
constexpr DWORD DiretorioAtual = 16;
constexpr DWORD SemMaisArquivos = 18;
constexpr DWORD DispositivoNaoPronto = 21;
constexpr DWORD Crc = 23;
constexpr DWORD Busca = 25;
constexpr DWORD FalhaEscrita = 29;
constexpr DWORD FalhaLeitura = 30;
constexpr DWORD GeralFalha = 31;
constexpr DWORD ViolacaoCompartilhamento = 32;
constexpr DWORD ViolacaoBloqueio = 33;
constexpr DWORD FimArquivo = 38;
constexpr DWORD DiscoCheioHandle = 39;
constexpr DWORD NaoSuportado = 50;
constexpr DWORD CaminhoRedeInvalido = 53;
constexpr DWORD TipoDispositivoInvalido = 66; // the path names a directory or a device, not a file
constexpr DWORD ArquivoExiste = 80;
constexpr DWORD ParametroInvalido = 87;
constexpr DWORD DiscoCheio = 112;
constexpr DWORD NomeInvalido = 123;
constexpr DWORD BuscaNegativa = 131;
constexpr DWORD DiretorioNaoVazio = 145;
constexpr DWORD CaminhoInvalido = 161;
constexpr DWORD JaExiste = 183;
constexpr DWORD NomeMuitoLongo = 206;
constexpr DWORD NaoEhDiretorio = 267;
constexpr DWORD MaisDados = 234;
constexpr DWORD SemMaisItens = 259;
constexpr DWORD OperacaoAbortada = 995;
constexpr DWORD ChaveRegistroInvalida = 1010;
constexpr DWORD ArquivoRegistroCorrompido = 1015;
constexpr DWORD TempoEsgotado = 1460;
} // namespace erro

// File error kinds of the record files (the causes of a file exception).
enum class TipoErroArquivo : int {
    Nenhum = 0,
    Generico = 1,
    ArquivoNaoEncontrado = 2,
    CaminhoInvalido = 3,
    MuitosArquivosAbertos = 4,
    AcessoNegado = 5,
    ArquivoInvalido = 6,
    RemoveDiretorioAtual = 7,
    DiretorioCheio = 8,
    BuscaInvalida = 9,
    ErroHardware = 10,
    ViolacaoCompartilhamento = 11,
    ViolacaoBloqueio = 12,
    DiscoCheio = 13,
    FimArquivo = 14,
};

// A system error number as an HRESULT (FACILITY_WIN32), as HRESULT_FROM_WIN32 makes it.
constexpr HRESULT HResultDoErro(DWORD erroSistema) { return TQHResult(0x80070000u | (erroSistema & 0xFFFF)); }

// Classifies a system error number into a file error kind.
TipoErroArquivo ClassificaErroArquivo(DWORD erroSistema);

} // namespace plataforma
