// The profiler log: entry, exit, object-creation and error lines in tab-separated text files.
#pragma once

#include <cstdint>
#include <string>

#include "df/tqlibex/RegInicializa.h"
#include "df/tqlibex/TQLinhaLog.h"
#include "platform/Tempo.h"

// The identity that trace and profiler lines carry: company, user and session of an object.
class ITQDF_Profiler {
public:
    virtual std::string GetEmpresa() = 0;
    virtual uint16_t GetUsuario() = 0;
    virtual uint32_t GetNumeroSessao() = 0;

    // The record accepted at the object's initialization (all zero before).
    const _REG_DF_INICIALIZAPS& GetRegistroInicializacao() const { return m_regInicializacao; }

protected:
    ITQDF_Profiler() : m_regInicializacao{} {}
    ~ITQDF_Profiler() = default;
    _REG_DF_INICIALIZAPS m_regInicializacao;
};

// An identity with fixed values and an all-zero record.
class CTQProfilerEmpresa : public ITQDF_Profiler {
public:
    CTQProfilerEmpresa(std::string empresa = {}, uint16_t usuario = 0, uint32_t sessao = 0)
        : m_sEmpresa(std::move(empresa)), m_usUsuario(usuario), m_ulSessao(sessao)
    {
    }
    std::string GetEmpresa() override { return m_sEmpresa; }
    uint16_t GetUsuario() override { return m_usUsuario; }
    uint32_t GetNumeroSessao() override { return m_ulSessao; }

private:
    std::string m_sEmpresa;
    uint16_t m_usUsuario;
    uint32_t m_ulSessao;
};

// A profiler scope: the call frame opens one per call.
class CTQProfilerEscopo {
public:
    explicit CTQProfilerEscopo(ITQDF_Profiler* identidade);
    ~CTQProfilerEscopo(); // writes the exit line when entered and asked for
    CTQProfilerEscopo(const CTQProfilerEscopo&) = delete;
    CTQProfilerEscopo& operator=(const CTQProfilerEscopo&) = delete;

    // Up to nine name/value pairs, name first; unused ones may be null. funcao must stay
    // valid until the scope closes (the frame passes a literal): it is copied only when a
    // line may be written, so a scope with lines off allocates nothing.
    void Entra(const char* funcao, const char* const* pares = nullptr, int quantidadePares = 0);

private:
    RegistroLog m_registro;
    const char* m_funcao = nullptr;
};

// A COCREATE line, asked by the activation code with the ProgID and module texts.
void TQGravaLinhaCoCreate(ITQDF_Profiler* identidade, const char* funcao, const char* progId, const char* modulo);
