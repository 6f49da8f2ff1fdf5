// The routine object of the framework: the session of a client's object, and the analytics
// sender's way to the central data service. Its core access hands
// the analytics records to the central data service, which here is the file "TQAnalytics.log"
// in the suite's LocalKarvo directory: one line per counter, tab-separated: day, company,
// application, class, method, user, calls, total, longest, shortest, server, and the numbers
// that the names were sent under (company, application, class, method).
#include <cstdio>
#include <cstring>
#include <string>

#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQLConxExports.h"
#include "df/tqlibex/TQPath.h"
#include "df/tqlibex/TQRegistro.h"
#include "platform/Erros.h"
#include "suite/comum/Exporta.h"
#include "suite/comum/LinhaLog.h"

namespace {


HRESULT HResultDoSistema(DWORD e)
{
    return e == 0 ? S_OK : plataforma::HResultDoErro(e);
}

const char* TextoOuVazio(const ITQDadosCR_AnalyticsLeitura& registro, ListaAnalytics lista, uint32_t indice)
{
    const char* texto = registro.GetTexto(lista, indice);
    return texto ? texto : "";
}

class CAcessoCore final : public ITQAcessoCore {
public:
    void Define(std::string arquivo) { m_sArquivo = std::move(arquivo); }

    HRESULT GravaAnalytics(const ITQDadosCR_AnalyticsLeitura& registro) override
    {
        // Nothing may leave the library as an exception.
        try {
            return Grava(registro);
        } catch (...) {
            return kSemMemoria;
        }
    }

private:
    HRESULT Grava(const ITQDadosCR_AnalyticsLeitura& registro)
    {
        const uint32_t n = registro.GetQuantidadeAnalytics();
        std::string linhas;
        for (uint32_t i = 0; i < n; ++i) {
            const CTQDadosCR_Analytics* a = registro.GetAnalytics(i);
            if (!a)
                return kParametroIncorreto;
            // A number outside its list would lose the name the counter belongs to.
            if (a->GetIndexEmpresa() >= registro.GetQuantidadeTextos(ListaAnalytics::Empresas) ||
                a->GetIndexOrigem() >= registro.GetQuantidadeTextos(ListaAnalytics::Origens) ||
                a->GetIndexInterface() >= registro.GetQuantidadeTextos(ListaAnalytics::Interfaces) ||
                a->GetIndexMetodo() >= registro.GetQuantidadeTextos(ListaAnalytics::Metodos))
                return kParametroIncorreto;
            char numeros[128];
            std::snprintf(numeros, sizeof numeros, "%u\t%llu\t%llu\t%llu\t%llu\t", unsigned(a->GetPonteiroUsuario()),
                          static_cast<unsigned long long>(a->GetQtdExecucoes()),
                          static_cast<unsigned long long>(a->GetSomatorioTempoExecucoes()),
                          static_cast<unsigned long long>(a->GetMaiorTempoExecucao()),
                          static_cast<unsigned long long>(a->GetMenorTempoExecucao()));
            if (!linhas.empty())
                linhas += '\n';
            linhas.append(std::to_string(registro.GetDma())).append("\t");
            linhas.append(suite::SemQuebras(TextoOuVazio(registro, ListaAnalytics::Empresas, a->GetIndexEmpresa())))
                .append("\t");
            linhas.append(suite::SemQuebras(TextoOuVazio(registro, ListaAnalytics::Origens, a->GetIndexOrigem())))
                .append("\t");
            linhas
                .append(suite::SemQuebras(TextoOuVazio(registro, ListaAnalytics::Interfaces, a->GetIndexInterface())))
                .append("\t");
            linhas.append(suite::SemQuebras(TextoOuVazio(registro, ListaAnalytics::Metodos, a->GetIndexMetodo())))
                .append("\t");
            linhas.append(numeros).append(suite::SemQuebras(registro.GetServidor()));
            std::snprintf(numeros, sizeof numeros, "\t%u\t%u\t%u\t%u", unsigned(a->GetIndexEmpresa()),
                          unsigned(a->GetIndexOrigem()), unsigned(a->GetIndexInterface()),
                          unsigned(a->GetIndexMetodo()));
            linhas.append(numeros);
        }
        if (linhas.empty())
            return S_OK;
        // One append for the whole record: its lines stay together.
        return HResultDoSistema(suite::AcrescentaLinha(m_sArquivo, linhas));
    }

    std::string m_sArquivo;
};

class CBaseParaRotinas final : public ITQBaseParaRotinas {
public:
    void Libera() override { delete this; }
    void SetUsaConexaoDefault(bool usa) override { m_bUsaConexaoDefault = usa; }

    HRESULT Inicializa(const char* nome, uint16_t usUsuario, uint32_t ulNumeroSessao) override
    {
        m_usUsuario = usUsuario;
        m_ulNumeroSessao = ulNumeroSessao;
        try {
            return InicializaAnalytics(nome);
        } catch (...) {
            return kSemMemoria;
        }
    }

    ITQAcessoCore* GetAcessoCore() override { return m_bInicializado ? &m_core : nullptr; }

    HRESULT InicializaSessao(const _REG_DF_INICIALIZAPS& registro) override
    {
        const size_t n = strnlen(registro.szEmpresa, sizeof registro.szEmpresa);
        std::memcpy(m_szEmpresa, registro.szEmpresa, n);
        m_szEmpresa[n] = '\0';
        // The framework keeps users in 16 bits.
        m_usUsuario = uint16_t(registro.ulUsuario);
        m_ulNumeroSessao = registro.ulNumeroSessao;
        return S_OK;
    }

    const char* GetEmpresa() override { return m_szEmpresa; }
    uint16_t GetUsuario() override { return m_usUsuario; }
    uint32_t GetNumeroSessao() override { return m_ulNumeroSessao; }

private:
    HRESULT InicializaAnalytics(const char* nome)
    {
        m_bInicializado = false;
        // The only routine this stand-in serves is the analytics sender's, on its own connection.
        if (!nome || std::string(nome) != kRotinaAnalytics || m_bUsaConexaoDefault)
            return kParametroIncorreto;
        CTQRegistro suite(plataforma::RaizRegistro::LocalMachine, kChaveSuite);
        const std::string local = suite.LeTexto(kValorLocalKarvo, "");
        if (local.empty())
            return kFalha;
        m_core.Define(CTQPath::Combina(local, "TQAnalytics.log"));
        m_bInicializado = true;
        return S_OK;
    }

    bool m_bUsaConexaoDefault = true;
    bool m_bInicializado = false;
    CAcessoCore m_core;
    char m_szEmpresa[sizeof(_REG_DF_INICIALIZAPS::szEmpresa) + 1] = {};
    uint16_t m_usUsuario = 0;
    uint32_t m_ulNumeroSessao = 0;
};

} // namespace

TQ_EXPORTA ITQBaseParaRotinas* TQCriaBaseParaRotinas()
{
    [[maybe_unused]] constexpr PFN_TQCriaBaseParaRotinas kConfere = &TQCriaBaseParaRotinas;
    // Nothing may leave the library as an exception.
    try {
        return new CBaseParaRotinas;
    } catch (...) {
        return nullptr;
    }
}
