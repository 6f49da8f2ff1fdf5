// The suite's main-chart server as the report reaches it: created through CTQComPtr once
// registered, bound to a company by slot 7, reading accounts of "DFPLAEMP.DAT" by slot 8.
#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "apoio/Apoio.h"
#include "apoio/PlanoPrincipal.h"
#include "apoio/SuiteInstalada.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQComPtr.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Arquivo.h"
#include "platform/Texto.h"
#include "suite/comum/TQDF_Plano.h"

namespace {

using Conta = std::string; // the 312-byte record

const std::string kChaveClasse = "CLSID\\" + plataforma::GuidParaTexto(CLSID_TQDF_Plano);
const std::string kChaveClasses = "Software\\Classes\\" + kChaveClasse;

std::string Sessao(const std::string& empresa)
{
    std::string s(kTamanhoSessaoPlano, '\0');
    std::memcpy(s.data() + kSessaoPlanoEmpresa, empresa.data(), std::min(empresa.size(), kSessaoPlanoEmpresaTamanho));
    s[kSessaoPlanoMarca] = 'C';
    return s;
}

const uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

// The record as slot 8 must fill it: zero but for the four fields.
Conta ContaEsperada(const char* classificacao, const char* codigo, const std::string& nome, char tipo)
{
    Conta c(kTamanhoContaPlano, '\0');
    std::memcpy(c.data() + kContaPlanoClassificacao, classificacao, std::strlen(classificacao));
    std::memcpy(c.data() + kContaPlanoCodigo, codigo, std::strlen(codigo));
    std::memcpy(c.data() + kContaPlanoNome, nome.data(), nome.size());
    c[kContaPlanoTipo] = tipo;
    return c;
}

class PlanoPrincipalTeste : public teste::SuiteInstalada {
protected:
    void SetUp() override
    {
        SuiteInstalada::SetUp();
        m_dados = m_dir + "dados" + plataforma::kSeparador;
        ASSERT_EQ(plataforma::CriaDiretorio(m_dados.c_str()), 0u);
        GravaTexto(plataforma::RaizRegistro::LocalMachine,
                   CTQPath::CombinaChave(CTQPath::CombinaChave(kChaveSuite, kSubchaveEmpresas), "0001"), "DF",
                   m_dados);
        teste::GravaPlanoPrincipal(m_dados, {{"1", 0x01, "1", "ATIVO"},
                                             {"1.01.002", 0x02, "ABCDEFGHIJ", std::string(50, 'N')}});
        m_servidor = std::make_unique<teste::PlanoPrincipalRegistrado>();
        ASSERT_EQ(m_servidor->Registro(), S_OK);
        ASSERT_EQ(m_plano.CoCreateInstance(CLSID_TQDF_Plano), S_OK);
    }
    void TearDown() override
    {
        m_plano.Libera();
        m_servidor.reset();
        SuiteInstalada::TearDown();
    }

    // Slot 8 into a record that held garbage before.
    HRESULT Le(LONG posicao, Conta& conta)
    {
        conta.assign(kTamanhoContaPlano, '\xCC');
        return m_plano->LeConta(posicao, reinterpret_cast<uint8_t*>(conta.data()));
    }

    std::string m_dados;
    std::unique_ptr<teste::PlanoPrincipalRegistrado> m_servidor;
    CTQComPtr<ITQDF_Plano> m_plano;
};

} // namespace

TEST_F(PlanoPrincipalTeste, RecusasComORegistroZeradoDepoisAsContas)
{
    const HRESULT kArgumentoInvalido = TQHResult(0x80043F33), kFimArquivo = TQHResult(0x80043E95);
    Conta conta;
    struct Caso {
        const char* nome;
        std::function<HRESULT()> chamada;
        HRESULT esperado;
    };
    const Caso casos[] = {
        {"slot 8 before slot 7", [&] { return Le(1, conta); }, TQHResult(0x8000FFFF)},
        {"null session", [&] { return m_plano->Inicializa(nullptr); }, kPonteiroNulo},
        {"unknown company", [&] { return m_plano->Inicializa(Bytes(Sessao("9999"))); }, TQHResult(0x80070003)},
        {"known company", [&] { return m_plano->Inicializa(Bytes(Sessao("0001"))); }, S_OK},
        {"position 0", [&] { return Le(0, conta); }, kArgumentoInvalido},
        {"past the end", [&] { return Le(3, conta); }, kFimArquivo},
    };
    for (const Caso& c : casos) {
        conta.clear();
        EXPECT_EQ(c.chamada(), c.esperado) << c.nome;
        EXPECT_TRUE(conta.empty() || conta == Conta(kTamanhoContaPlano, '\0')) << c.nome;
    }
    // Bound to the company above: both kinds of account in their places.
    ASSERT_EQ(Le(1, conta), S_OK);
    EXPECT_EQ(conta, ContaEsperada("1", "1", "ATIVO", 'T'));
    // Fields that fill their room end at it; bit 1 of the status makes no summary account.
    ASSERT_EQ(Le(2, conta), S_OK);
    EXPECT_EQ(conta, ContaEsperada("1.01.002", "ABCDEFGHIJ", std::string(50, 'N'), 'A'));
}

TEST_F(PlanoPrincipalTeste, RegistroDesfeitoPeloProprioServidor)
{
    m_plano.Libera();
    ASSERT_EQ(m_servidor->Desregistra(), S_OK);
    plataforma::ChaveRegistro classe;
    EXPECT_EQ(classe.Abre(plataforma::RaizRegistro::CurrentUser, kChaveClasses.c_str()), 2u);
    apoio::CapturaTrace trace;
    EXPECT_EQ(m_plano.CoCreateInstance(CLSID_TQDF_Plano), plataforma::kClasseNaoRegistrada);
    EXPECT_EQ(m_servidor->Desregistra(), S_OK) << "nothing left to remove";
}
