#include "df/tqlibex/TQProfiler.h"

#include "df/tqlibex/TQPath.h"
#include "df/tqlibex/TQProfilerConfig.h"
#include "platform/Bstr.h"
#include "platform/Processo.h"
#include "platform/Texto.h"

namespace {

void GuardaPares(RegistroLog& registro, const char* const* pares, int quantidade)
{
    if (!pares)
        return;
    for (int i = 0; i < quantidade && i < 9; ++i) {
        registro.nomes[i] = pares[2 * i] ? pares[2 * i] : "";
        registro.valores[i] = pares[2 * i + 1] ? pares[2 * i + 1] : "";
    }
}

} // namespace

CTQProfilerEscopo::CTQProfilerEscopo(ITQDF_Profiler* identidade) { m_registro.identidade = identidade; }

void CTQProfilerEscopo::Entra(const char* funcao, const char* const* pares, int quantidadePares)
{
    try {
        m_registro.entrou = true;
        m_funcao = funcao;
        GuardaPares(m_registro, pares, quantidadePares);
        const ValoresProfiler config = TQProfilerConfig::Atual();
        if (!config.LinhasAtivas())
            return;
        m_registro.classeFuncao = funcao ? funcao : "";
        const DWORD ticks = plataforma::Ticks();
        m_registro.processo = TQNomeProcesso();
        if (!config.processoLoga)
            return;
        m_registro.usuarioLocal = TQUsuarioLocal();
        m_registro.guid = config.entrada && config.saida ? TQNovoGuidLog() : " ";
        if (config.performance)
            m_registro.ticksInicio = ticks;
        if (config.memory)
            m_registro.memoriaInicio = plataforma::BytesPrivados();
        if (config.entrada)
            TQGravaLinhaLog(m_registro, TipoLinhaLog::Entrou);
    } catch (...) {
        // A diagnostic line never fails the call it describes.
    }
}

CTQProfilerEscopo::~CTQProfilerEscopo()
{
    if (!m_registro.entrou)
        return;
    m_registro.entrou = false;
    const ValoresProfiler config = TQProfilerConfig::Guardados();
    if (!config.LinhasAtivas() || !config.saida || !config.processoLoga)
        return;
    try {
        // The configuration may have come on since the entry.
        if (m_registro.classeFuncao.empty() && m_funcao)
            m_registro.classeFuncao = m_funcao;
        if (config.performance)
            m_registro.ticksFim = plataforma::Ticks();
        if (config.memory)
            m_registro.memoriaFim = plataforma::BytesPrivados();
        TQGravaLinhaLog(m_registro, TipoLinhaLog::Saiu);
    } catch (...) {
    }
}

void TQGravaLinhaCoCreate(ITQDF_Profiler* identidade, const char* funcao, const char* progId, const char* modulo)
{
    try {
        const ValoresProfiler config = TQProfilerConfig::Atual();
        if (!config.coCreate)
            return;
        RegistroLog registro;
        registro.identidade = identidade;
        registro.processo = TQNomeProcesso();
        if (!config.processoLoga)
            return;
        registro.nomes[0] = "ProgID";
        registro.valores[0] = progId ? progId : "";
        registro.nomes[1] = "Modulo";
        registro.valores[1] = modulo ? modulo : "";
        registro.classeFuncao = funcao ? funcao : "";
        registro.usuarioLocal = TQUsuarioLocal();
        registro.guid = TQNovoGuidLog();
        TQGravaLinhaLog(registro, TipoLinhaLog::CoCreate);
    } catch (...) {
    }
}
