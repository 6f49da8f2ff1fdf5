// What the frame makes of an operation that faults, throws or passes a bad argument: a business
// class whose count operation misbehaves on demand, behind the real frame and class.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Cliente.h"
#include "apoio/Apoio.h"
#include "df/tqlibex/TQExcecoes.h"
#include "df/tqlibex/TQPath.h"
#include "platform/ParametroInvalido.h"
#include "platform/Processo.h"
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

std::string LogDeMensagens()
{
    const std::string log = CTQPath::GetDiretorio(plataforma::CaminhoExecutavel()) + "TQMens.log";
    return apoio::Existe(log) ? apoio::LeTudo(log) : "";
}

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

// An error the business object recorded reaches the client; then each misbehaviour: its code, the
// frame's one trace line, what the message library gets, and whether the business object
// survives (a fault drops it for good; the other slots still answer).
TEST_F(GuardaTeste, FalhaDaOperacaoViraCodigoComUmaLinha)
{
    // First an error the business object recorded: it reaches the client.
    g_defeito = Defeito::ErroRegistrado;
    ULONG n = 0;
    EXPECT_EQ(m_defeituoso->GetQuantidadeRegistros(&n), TQHResult(0x80041234));
    _REG_DF_ERROPS erro;
    std::memset(&erro, 0xAB, sizeof erro);
    ASSERT_EQ(m_defeituoso->GetUltimoErro(&erro), S_OK);
    EXPECT_EQ(erro.hr, TQHResult(0x80041234));
    EXPECT_EQ(erro.lCodigoMensagem, 1234);
    EXPECT_STREQ(erro.cMensagem, "conta 7");
    EXPECT_STREQ(erro.szEmpresa, "0001");
    EXPECT_EQ(m_defeituoso->GetUltimoErro(nullptr), S_OK);
    const HRESULT errno_ = TQTraduzErrno(EINVAL);
    char mensagemErrno[32];
    std::snprintf(mensagemErrno, sizeof mensagemErrno, "0x81080BB1\t0x%08X\t", unsigned(errno_));
    const struct {
        Defeito defeito;
        HRESULT esperado;
        const char* trace;
        std::vector<std::string> mensagens;
        bool sobrevive;
    } casos[] = {
        {Defeito::ParametroInvalido, errno_, "hr = TQTranslateThrownExceptionToHresult()",
         {mensagemErrno, "Expression = ", "Function = CopiaTexto"}, true},
        {Defeito::Violacao, TQHResult(0x8004EAC5), "hr = pfInSEHFuncao()",
         {"0x81080BB1\t0x8004EAC5\t2147483647\t0001\tTQDF_PlanoAlt"}, false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.trace);
        const size_t antes = LogDeMensagens().size();
        apoio::CapturaTrace trace;
        g_defeito = c.defeito;
        EXPECT_EQ(m_defeituoso->GetQuantidadeRegistros(&n), c.esperado);
        ASSERT_EQ(trace.quantidade(), 1u);
        EXPECT_STREQ(trace.linhas()[0].funcao, "CTQDF_PlanoAlt::GetQuantidadeRegistros");
        EXPECT_NE(trace.linhas()[0].texto.find(c.trace), std::string::npos);
        const std::string mensagens = LogDeMensagens().substr(antes);
        for (const auto& m : c.mensagens)
            EXPECT_NE(mensagens.find(m), std::string::npos) << mensagens;
        g_defeito = Defeito::Nenhum;
        EXPECT_EQ(m_defeituoso->GetQuantidadeRegistros(&n), c.sobrevive ? S_OK : TQHResult(0x81080A04));
    }
    // Nothing brings the dropped object back; the slots without business still answer.
    EXPECT_EQ(m_defeituoso->Inicializa_Padrao(Sessao("0001")), TQHResult(0x81080AA8));
    LONG ok = 0;
    EXPECT_EQ(m_defeituoso->KeepAlive(&ok), S_OK);
    EXPECT_EQ(ok, 1);
}

} // namespace
} // namespace cliente
