// A business object initialized for company "0001", whose data directory is the test's own.
#pragma once

#include <cstring>

#include "apoio/SuiteInstalada.h"
#include "df/planoalt/AlternativoBase.h"

namespace teste {

// The business object with its members in reach of the tests.
class ObjetoServico : public CBasePlanoAlternativo {
public:
    using CAlternativoBase::m_pClassificacao;
    using CAlternativoBase::m_sDiretorioDados;
    using CAlternativoBase::m_szArquivoIndice;
    using CAlternativoBase::m_szArquivoPlano;
    bool Excluida() const { return m_bContaExcluida; }
};

class ServicoTeste : public SuiteInstalada {
protected:
    void SetUp() override;
    // Creates plan 1 with a mask for the classifications that begin with 1, and selects it.
    void SelecionaPlano(const char* mascara = "9.9.99");

    ObjetoServico m_objeto;
};

} // namespace teste
