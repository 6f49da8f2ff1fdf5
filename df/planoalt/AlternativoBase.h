// The business object behind every alternative-chart object: the session of the routine
// framework, the company's data directory, and the chart store bound to the selected plan.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "df/planoalt/RegPlanoAlt.h"
#include "df/tqclasses/Classificacao.h"
#include "df/tqlibex/TQArq.h"
#include "suite/Rotinas/TQBaseParaRotinas.h"

class CAlternativoBase : public CTQBaseParaRotinas {
public:
    CAlternativoBase() = default;
    ~CAlternativoBase() override;

    // Binds the chart store to m_szArquivoPlano (the index named after it); always S_OK: a store
    // that could not open its files answers the later account operations itself.
    HRESULT InicializaPlano();
    // A chart record at a position as the interface shows it.
    HRESULT CarregaEstrutura(uint32_t posicao, const uint8_t* registro, REG_PLANO_ALT_PS* saida);

protected:
    // The identity of this object's trace lines: its session.
    CTQProfilerEmpresa Identidade() const;

    bool m_bContaExcluida = false;
    std::unique_ptr<CClassificacao> m_pClassificacao;
    std::string m_sDiretorioDados;
    CTQarq m_arqMarca;
    uint32_t m_lPlanoAtual = 0;
    char m_szArquivoPlano[16] = {};
    char m_szArquivoIndice[16] = {};
};

class CBasePlanoAlternativo : public CAlternativoBase {
public:
    // The framework's own initialization, then the company's data directory.
    HRESULT OnInicializa() override;
};

// The reduced code of an account in a field of 10 or 32 bytes.
void TQDigitoConta(uint32_t numero, char* campo, size_t tamanho);
