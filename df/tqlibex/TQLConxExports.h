// The exports of TQLConx that this program calls, exactly as the library defines them
// (C linkage, default calling convention). Only plain values, C strings, caller-owned
// buffers and abstract interfaces cross: the library owns what it creates and frees it itself.
#pragma once

#include <cstdint>

#include "df/tqlibex/RegInicializa.h"
#include "df/tqlibex/TQLDadosCR.h"
#include "platform/Tipos.h"

// The core access of a routine object: the way to the suite's central data service.
class ITQAcessoCore {
public:
    // Only reads the record; negative when it could not be handed on.
    virtual HRESULT GravaAnalytics(const ITQDadosCR_AnalyticsLeitura& registro) = 0;

protected:
    ~ITQAcessoCore() = default;
};

// A routine object of the framework, as the analytics sender uses one.
class ITQBaseParaRotinas {
public:
    // Destroys the object inside the library.
    virtual void Libera() = 0;
    virtual void SetUsaConexaoDefault(bool usa) = 0;
    virtual HRESULT Inicializa(const char* nome, uint16_t usUsuario, uint32_t ulNumeroSessao) = 0;
    // Null before a successful Inicializa; belongs to the routine object.
    virtual ITQAcessoCore* GetAcessoCore() = 0;
    // The session of a client's object from its initialization record: company szEmpresa
    // (up to the field's end when it has no terminator), user ulUsuario, session ulNumeroSessao.
    virtual HRESULT InicializaSessao(const _REG_DF_INICIALIZAPS& registro) = 0;
    // Never null; empty before a session. Belongs to the routine object.
    virtual const char* GetEmpresa() = 0;
    virtual uint16_t GetUsuario() = 0;
    virtual uint32_t GetNumeroSessao() = 0;

protected:
    ~ITQBaseParaRotinas() = default;
};

extern "C" {

// 0 on success; saida receives the data directory of the module for the company.
typedef long (*PFN_GetDiretorioDadosModulo)(long modulo, const char* empresa, char* saida, unsigned long tamanhoSaida);
// Nonzero on success; saida receives the name of the company logged in.
typedef int (*PFN_TQGetNomeEmpresaLogada)(char* saida, unsigned long tamanhoSaida);
// A new routine object (released with its Libera), or null.
typedef ITQBaseParaRotinas* (*PFN_TQCriaBaseParaRotinas)();

} // extern "C"

constexpr const char* kExportGetDiretorioDadosModulo = "GetDiretorioDadosModulo";
constexpr const char* kExportTQGetNomeEmpresaLogada = "TQGetNomeEmpresaLogada";
constexpr const char* kExportTQCriaBaseParaRotinas = "TQCriaBaseParaRotinas";
constexpr const char* kBibliotecaTQLConx = "TQLConx.dll";

// The name under which the analytics sender initializes its routine object.
constexpr const char* kRotinaAnalytics = "TQDataBase-5E2A90C4-3B7D-4F18-A6C2-91D0E47B8F35";
