// A business object initialized for company "0001", whose data directory is the test's own.
#pragma once

#include <cstring>
#include <string>

#include "apoio/Apoio.h"
#include "apoio/SuiteInstalada.h"
#include "df/planoalt/AlternativoBase.h"
#include "platform/Texto.h"

namespace teste {

// The business object with its members in reach of the tests.
class ObjetoServico : public CBasePlanoAlternativo {
public:
    using CAlternativoBase::m_lPlanoAtual;
    using CAlternativoBase::m_pClassificacao;
    using CAlternativoBase::m_sDiretorioDados;
    using CAlternativoBase::m_szArquivoIndice;
    using CAlternativoBase::m_szArquivoPlano;
    bool Excluida() const { return m_bContaExcluida; }
};

class ServicoTeste : public SuiteInstalada {
protected:
    void SetUp() override;
    // Appends a plan to the catalogue and answers its number.
    LONG NovoPlano(const char* nome = "Plano");
    // Creates plan 1 with a mask for the classifications that begin with 1, and selects it.
    void SelecionaPlano(const char* mascara = "9.9.99");
    // Writes a new account of the selected plan through the service; answers its position.
    LONG NovaConta(const char* classificacao, char tipo, const char* codigo);

    // Record n of a data file as it lies on disk (zeros past the end).
    template <typename T>
    T Registro(const std::string& arquivo, size_t n)
    {
        const std::string c = apoio::LeTudo(m_dir + arquivo);
        T r{};
        if (c.size() >= (n + 1) * sizeof r)
            std::memcpy(&r, c.data() + n * sizeof r, sizeof r);
        return r;
    }

    static std::basic_string<OLECHAR> Texto(const char* texto) { return plataforma::AnsiParaOle(texto); }

    ObjetoServico m_objeto;
};

} // namespace teste
