// The two exports of TQLConx that the path library calls, exactly as the library
// defines them (C linkage, default calling convention).
#pragma once

extern "C" {

// 0 on success; saida receives the data directory of the module for the company.
typedef long (*PFN_GetDiretorioDadosModulo)(long modulo, const char* empresa, char* saida, unsigned long tamanhoSaida);
// Nonzero on success; saida receives the name of the company logged in.
typedef int (*PFN_TQGetNomeEmpresaLogada)(char* saida, unsigned long tamanhoSaida);

} // extern "C"

constexpr const char* kExportGetDiretorioDadosModulo = "GetDiretorioDadosModulo";
constexpr const char* kExportTQGetNomeEmpresaLogada = "TQGetNomeEmpresaLogada";
constexpr const char* kBibliotecaTQLConx = "TQLConx.dll";
