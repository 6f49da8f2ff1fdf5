// What the frame makes of an operation that faults, throws or passes a bad argument: a business
// class whose count operation misbehaves on demand, behind the real frame and class.
#include <cerrno>
#include <cstring>
#include <string>

#include "Cliente.h"
#include "apoio/Apoio.h"
#include "df/tqlibex/TQExcecoes.h"
#include "platform/ParametroInvalido.h"
#include "server/TQDF_PlanoAlt.h"

namespace cliente {
namespace {

enum class Defeito { Nenhum, Violacao, ParametroInvalido, ErroRegistrado };
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

class GuardaTeste : public ClienteTeste {
protected:
    void SetUp() override
    {
        ClienteTeste::SetUp();
        ASSERT_EQ(ObjetoDefeituoso::CreateInstance(&m_defeituoso), S_OK);
        m_defeituoso->AddRef();
        ASSERT_EQ(m_defeituoso->Inicializa_Padrao(Sessao("0001")), S_OK);
    }
    void TearDown() override
    {
        g_defeito = Defeito::Nenhum;
        if (m_defeituoso)
            m_defeituoso->Release();
        ClienteTeste::TearDown();
    }
    ObjetoDefeituoso* m_defeituoso = nullptr;
};

// An error the business object recorded reaches the client; then each kind of misbehaviour: its
// code, the frame's one trace line, and whether the business object survives (a fault drops it
// for good).
TEST_F(GuardaTeste, FalhaDaOperacaoViraCodigoComUmaLinha)
{
    g_defeito = Defeito::ErroRegistrado;
    ULONG n = 0;
    EXPECT_EQ(m_defeituoso->GetQuantidadeRegistros(&n), TQHResult(0x80041234));
    _REG_DF_ERROPS erro;
    std::memset(&erro, 0xAB, sizeof erro);
    ASSERT_EQ(m_defeituoso->GetUltimoErro(&erro), S_OK);
    EXPECT_EQ(erro.hr, TQHResult(0x80041234));
    EXPECT_EQ(erro.lCodigoMensagem, 1234);
    const struct {
        Defeito defeito;
        HRESULT esperado;
        const char* trace;
        bool sobrevive;
    } casos[] = {
        {Defeito::ParametroInvalido, TQTraduzErrno(EINVAL), "hr = TQTranslateThrownExceptionToHresult()", true},
        {Defeito::Violacao, TQHResult(0x8004EAC5), "hr = pfInSEHFuncao()", false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.trace);
        apoio::CapturaTrace trace;
        g_defeito = c.defeito;
        EXPECT_EQ(m_defeituoso->GetQuantidadeRegistros(&n), c.esperado);
        ASSERT_EQ(trace.quantidade(), 1u);
        EXPECT_STREQ(trace.linhas()[0].funcao, "CTQDF_PlanoAlt::GetQuantidadeRegistros");
        EXPECT_NE(trace.linhas()[0].texto.find(c.trace), std::string::npos);
        g_defeito = Defeito::Nenhum;
        EXPECT_EQ(m_defeituoso->GetQuantidadeRegistros(&n), c.sobrevive ? S_OK : TQHResult(0x81080A04));
    }
    // Nothing brings the dropped object back.
    EXPECT_EQ(m_defeituoso->Inicializa_Padrao(Sessao("0001")), TQHResult(0x81080AA8));
}

} // namespace
} // namespace cliente
