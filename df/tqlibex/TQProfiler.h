// The profiler log: entry, exit, object-creation and error lines in tab-separated text files.
#pragma once

#include <cstdint>
#include <string>

#include "df/tqlibex/RegInicializa.h"
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

enum class TipoLinhaLog { Entrou = 0, Saiu = 1, CoCreate = 2, Erro = 3 };

// One line to be written.
struct RegistroLog {
    plataforma::DataHoraLocal momento{}; // local time when the line is built
    ITQDF_Profiler* identidade = nullptr;
    std::string classeFuncao;
    std::string guid;
    std::string processo;       // executable base name, lower case
    std::string usuarioLocal;   // operating-system user name
    std::string nomes[9];       // parameter names
    std::string valores[9];     // parameter values
    uint64_t ticksInicio = 0, ticksFim = 0;
    uint64_t memoriaInicio = 0, memoriaFim = 0;
    bool entrou = false;
};

// Writes one line (with the header first when the file is new); a line that cannot be
// written is lost without notice. For ERRO lines the five named values (VersaoKarvo,
// VersaoSO, Arquivo, Linha, Log) travel as parameter pairs 1 to 5 and the memory value
// as memoriaInicio.
void TQGravaLinhaLog(RegistroLog& registro, TipoLinhaLog tipo);

// The file a line of that type and identity goes to.
std::string TQArquivoLog(const RegistroLog& registro, TipoLinhaLog tipo);

// The executable's base name in lower case, as lines show it.
const std::string& TQNomeProcesso();

// The local user's name, read once.
const std::string& TQUsuarioLocal();

// A new GUID in registry form without the braces: the key that pairs a line with others.
std::string TQNovoGuidLog();

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
