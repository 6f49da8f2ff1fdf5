// The analytics records that go to the suite's central data service. The sender fills them;
// the core access of TQLConx reads them through ITQDadosCR_AnalyticsLeitura, which hands out
// only plain values and C strings, so nothing of this program's heap or containers is touched
// by the other library.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "df/tqlibex/TQDma.h"

// One text of the analytics lists.
class CTQDadosDF_Texto {
public:
    void SetTexto(const std::string& texto) { m_sTexto = texto; }
    const std::string& GetTexto() const { return m_sTexto; }

private:
    std::string m_sTexto;
};

// The counters of one user's calls of one method; the four numbers index the record's lists.
class CTQDadosCR_Analytics {
public:
    void SetQtdExecucoes(uint64_t v) { m_uiQtdExecucoes = v; }
    void SetSomatorioTempoExecucoes(uint64_t v) { m_uiSomatorioTempo = v; }
    void SetMaiorTempoExecucao(uint64_t v) { m_uiMaiorTempo = v; }
    void SetMenorTempoExecucao(uint64_t v) { m_uiMenorTempo = v; }
    void SetPonteiroUsuario(uint32_t v) { m_ulUsuario = v; }
    void SetIndexEmpresa(uint32_t v) { m_ulIndexEmpresa = v; }
    void SetIndexOrigem(uint32_t v) { m_ulIndexOrigem = v; }
    void SetIndexInterface(uint32_t v) { m_ulIndexInterface = v; }
    void SetIndexMetodo(uint32_t v) { m_ulIndexMetodo = v; }

    uint64_t GetQtdExecucoes() const { return m_uiQtdExecucoes; }
    uint64_t GetSomatorioTempoExecucoes() const { return m_uiSomatorioTempo; }
    uint64_t GetMaiorTempoExecucao() const { return m_uiMaiorTempo; }
    uint64_t GetMenorTempoExecucao() const { return m_uiMenorTempo; }
    uint32_t GetPonteiroUsuario() const { return m_ulUsuario; }
    uint32_t GetIndexEmpresa() const { return m_ulIndexEmpresa; }
    uint32_t GetIndexOrigem() const { return m_ulIndexOrigem; }
    uint32_t GetIndexInterface() const { return m_ulIndexInterface; }
    uint32_t GetIndexMetodo() const { return m_ulIndexMetodo; }

private:
    uint64_t m_uiQtdExecucoes = 0;
    uint64_t m_uiSomatorioTempo = 0;
    uint64_t m_uiMaiorTempo = 0;
    uint64_t m_uiMenorTempo = 0;
    uint32_t m_ulUsuario = 0;
    uint32_t m_ulIndexEmpresa = 0;
    uint32_t m_ulIndexOrigem = 0;
    uint32_t m_ulIndexInterface = 0;
    uint32_t m_ulIndexMetodo = 0;
};

// Crosses the library boundary by address as plain bytes.
static_assert(std::is_standard_layout_v<CTQDadosCR_Analytics> && std::is_trivially_copyable_v<CTQDadosCR_Analytics>);

// The four text lists of a record: companies, applications (origins), classes (interfaces), methods.
enum class ListaAnalytics : uint32_t { Empresas = 0, Origens = 1, Interfaces = 2, Metodos = 3 };

// What the core access reads of a record.
class ITQDadosCR_AnalyticsLeitura {
public:
    virtual REG_TQDMA GetDma() const = 0;
    virtual const char* GetServidor() const = 0;
    virtual uint32_t GetQuantidadeAnalytics() const = 0;
    // Null past the end.
    virtual const CTQDadosCR_Analytics* GetAnalytics(uint32_t indice) const = 0;
    virtual uint32_t GetQuantidadeTextos(ListaAnalytics lista) const = 0;
    // Null past the end.
    virtual const char* GetTexto(ListaAnalytics lista, uint32_t indice) const = 0;

protected:
    ~ITQDadosCR_AnalyticsLeitura() = default;
};

// One send: the day, the server, the counters and the names their numbers stand for.
class CTQDadosCR_AnalyticsGravacao final : public ITQDadosCR_AnalyticsLeitura {
public:
    void SetDma(REG_TQDMA dma) { m_dma = dma; }
    void SetServidor(const std::string& servidor) { m_sServidor = servidor; }
    void AdicionaDadosAnalytics(const CTQDadosCR_Analytics& dados) { m_dados.push_back(dados); }
    std::vector<CTQDadosDF_Texto>& Lista(ListaAnalytics lista) { return m_listas[uint32_t(lista)]; }

    REG_TQDMA GetDma() const override { return m_dma; }
    const char* GetServidor() const override { return m_sServidor.c_str(); }
    uint32_t GetQuantidadeAnalytics() const override { return uint32_t(m_dados.size()); }
    const CTQDadosCR_Analytics* GetAnalytics(uint32_t indice) const override
    {
        return indice < m_dados.size() ? &m_dados[indice] : nullptr;
    }
    uint32_t GetQuantidadeTextos(ListaAnalytics lista) const override
    {
        return uint32_t(lista) < 4 ? uint32_t(m_listas[uint32_t(lista)].size()) : 0;
    }
    const char* GetTexto(ListaAnalytics lista, uint32_t indice) const override
    {
        if (indice >= GetQuantidadeTextos(lista))
            return nullptr;
        return m_listas[uint32_t(lista)][indice].GetTexto().c_str();
    }

private:
    REG_TQDMA m_dma = 0;
    std::string m_sServidor;
    std::vector<CTQDadosCR_Analytics> m_dados;
    std::vector<CTQDadosDF_Texto> m_listas[4];
};
