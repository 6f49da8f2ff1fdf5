// What the frame makes of an operation that faults, throws or passes a bad argument: a business
// class whose count operation misbehaves on demand, behind the real frame and class.
#include <cerrno>
#include <cstring>
#include <new>

#include "Cliente.h"
#include "apoio/Apoio.h"
#include "df/tqlibex/TQExcecoes.h"
#include "df/tqlibex/TQPath.h"
#include "platform/ParametroInvalido.h"
#include "platform/Processo.h"
#include "server/TQDF_PlanoAlt.h"

namespace cliente {
namespace {

enum class Defeito { Nenhum, Violacao, SemMemoria, ParametroInvalido, ErroRegistrado };
Defeito g_defeito = Defeito::Nenhum;
// Not null, so the sanitizers leave the fault to the guard.
int* volatile g_invalido = reinterpret_cast<int*>(16);

class NegocioDefeituoso : public CBasePlanoAlternativo {
public:
    HRESULT GetQuantidadeRegistros(ULONG* quantidade)
    {
        switch (g_defeito) {
        case Defeito::Violacao:
            *g_invalido = 1;
            break;
        case Defeito::SemMemoria:
            throw std::bad_alloc();
        case Defeito::ParametroInvalido:
            plataforma::CopiaTexto(nullptr, 1, "x");
            break;
        case Defeito::ErroRegistrado:
            return SetErro(TQHResult(0x80041234), 5, 1234, "conta %d", 7);
        case Defeito::Nenhum:
            break;
        }
        *quantidade = 42;
        return S_OK;
    }
};

using ObjetoDefeituoso = CComObject<CTQDF_PlanoAltT<NegocioDefeituoso>>;

std::string LogDeMensagens()
{
    const std::string log = CTQPath::GetDiretorio(plataforma::CaminhoExecutavel()) + "TQMens.log";
    return apoio::Existe(log) ? apoio::LeTudo(log) : std::string();
}

class GuardaTeste : public ClienteTeste {
protected:
    void SetUp() override
    {
        ClienteTeste::SetUp();
        g_defeito = Defeito::Nenhum;
        ASSERT_EQ(ObjetoDefeituoso::CreateInstance(&m_defeituoso), S_OK);
        m_defeituoso->AddRef();
        ASSERT_EQ(m_defeituoso->Inicializa_Padrao(Sessao("0001")), S_OK);
        m_mensagensAntes = LogDeMensagens().size();
    }
    void TearDown() override
    {
        g_defeito = Defeito::Nenhum;
        if (m_defeituoso)
            m_defeituoso->Release();
        ClienteTeste::TearDown();
    }
    // What the message library received during the test.
    std::string Mensagens() const { return LogDeMensagens().substr(m_mensagensAntes); }

    ObjetoDefeituoso* m_defeituoso = nullptr;
    size_t m_mensagensAntes = 0;
};

TEST_F(GuardaTeste, ViolacaoDeAcessoDerrubaOObjetoDeNegocio)
{
    apoio::CapturaTrace trace;
    g_defeito = Defeito::Violacao;
    ULONG n = 0;
    EXPECT_EQ(m_defeituoso->GetQuantidadeRegistros(&n), TQHResult(0x8004EAC5));
    ASSERT_EQ(trace.quantidade(), 1u);
    EXPECT_STREQ(trace.linhas()[0].funcao, "CTQDF_PlanoAlt::GetQuantidadeRegistros");
    EXPECT_NE(trace.linhas()[0].texto.find("hr = pfInSEHFuncao()"), std::string::npos);
    EXPECT_NE(Mensagens().find("0x81080BB1\t0x8004EAC5\t2147483647\t0001\tTQDF_PlanoAlt"), std::string::npos)
        << Mensagens();

    // Nothing brings it back; the other slots still answer.
    g_defeito = Defeito::Nenhum;
    EXPECT_EQ(m_defeituoso->GetQuantidadeRegistros(&n), TQHResult(0x81080A04));
    EXPECT_EQ(m_defeituoso->Inicializa_Padrao(Sessao("0001")), TQHResult(0x81080AA8));
    EXPECT_EQ(m_defeituoso->GetQuantidadeRegistros(&n), TQHResult(0x81080A04));
    LONG ok = 0;
    EXPECT_EQ(m_defeituoso->KeepAlive(&ok), S_OK);
    EXPECT_EQ(ok, 1);
}

TEST_F(GuardaTeste, FaltaDeMemoriaNaoDerrubaOObjeto)
{
    apoio::CapturaTrace trace;
    g_defeito = Defeito::SemMemoria;
    ULONG n = 0;
    EXPECT_EQ(m_defeituoso->GetQuantidadeRegistros(&n), TQHResult(0x8004EA64));
    ASSERT_EQ(trace.quantidade(), 1u);
    EXPECT_NE(trace.linhas()[0].texto.find("hr = TQTranslateThrownExceptionToHresult()"), std::string::npos);
    g_defeito = Defeito::Nenhum;
    EXPECT_EQ(m_defeituoso->GetQuantidadeRegistros(&n), S_OK);
    EXPECT_EQ(n, 42u);
}

TEST_F(GuardaTeste, ParametroInvalidoChegaComoOHResultDoErrno)
{
    apoio::CapturaTrace trace;
    g_defeito = Defeito::ParametroInvalido;
    ULONG n = 0;
    const HRESULT esperado = TQTraduzErrno(EINVAL);
    EXPECT_EQ(m_defeituoso->GetQuantidadeRegistros(&n), esperado);
    ASSERT_EQ(trace.quantidade(), 1u);
    EXPECT_NE(trace.linhas()[0].texto.find("hr = TQTranslateThrownExceptionToHresult()"), std::string::npos);
    char numeros[32];
    std::snprintf(numeros, sizeof numeros, "0x81080BB1\t0x%08X\t", unsigned(esperado));
    const std::string mensagens = Mensagens();
    EXPECT_NE(mensagens.find(numeros), std::string::npos) << mensagens;
    EXPECT_NE(mensagens.find("Expression = "), std::string::npos);
    EXPECT_NE(mensagens.find("Function = CopiaTexto"), std::string::npos) << mensagens;
    // The handler stays on the thread, and the object stays usable.
    g_defeito = Defeito::Nenhum;
    EXPECT_EQ(m_defeituoso->GetQuantidadeRegistros(&n), S_OK);
}

TEST_F(GuardaTeste, UltimoErroDoObjetoDeNegocioChegaAoCliente)
{
    g_defeito = Defeito::ErroRegistrado;
    ULONG n = 0;
    EXPECT_EQ(m_defeituoso->GetQuantidadeRegistros(&n), TQHResult(0x80041234));
    _REG_DF_ERROPS erro;
    std::memset(&erro, 0xAB, sizeof erro);
    ASSERT_EQ(m_defeituoso->GetUltimoErro(&erro), S_OK);
    EXPECT_EQ(erro.hr, TQHResult(0x80041234));
    EXPECT_EQ(erro.nCodigoErro, 5);
    EXPECT_EQ(erro.lCodigoMensagem, 1234);
    EXPECT_STREQ(erro.cMensagem, "conta 7");
    EXPECT_STREQ(erro.szEmpresa, "0001");
    EXPECT_EQ(erro.cFiller[0], 0);
    EXPECT_EQ(m_defeituoso->GetUltimoErro(nullptr), S_OK);
}

} // namespace
} // namespace cliente
