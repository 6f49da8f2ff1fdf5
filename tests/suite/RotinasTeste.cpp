// The routine framework as a business object derives from it: the session from the
// initialization record, the order of OnInicializa, the per-thread default access, the last
// error as the client receives it, and the generic function.
#include <cstring>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "apoio/SuiteInstalada.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "suite/Rotinas/TQBaseParaRotinas.h"

namespace {

_REG_DF_INICIALIZAPS Registro(const char* empresa, uint32_t usuario = 1, uint32_t sessao = 2)
{
    _REG_DF_INICIALIZAPS r{};
    std::strncpy(r.szEmpresa, empresa, sizeof r.szEmpresa);
    r.ulUsuario = usuario;
    r.ulNumeroSessao = sessao;
    return r;
}

// A business class as the service writes one: the base first, then its own step.
class CRotina : public CTQBaseParaRotinas {
public:
    HRESULT OnInicializa() override
    {
        const HRESULT hr = CTQBaseParaRotinas::OnInicializa();
        if (TQFalhou(hr))
            return hr;
        ++m_iChamadas;
        m_sEmpresaVista = GetEmpresa();
        m_bInicializadoDurante = EstaInicializado();
        return m_hrProprio;
    }

    HRESULT m_hrProprio = S_OK;
    int m_iChamadas = 0;
    std::string m_sEmpresaVista;
    bool m_bInicializadoDurante = true;
};

// The error record as the client receives it, over bytes that held garbage.
std::string Recebido(CRotina& r)
{
    std::string bytes(480, '\xCC');
    r.GetErro().CopiarPara(reinterpret_cast<_REG_DF_ERROPS*>(bytes.data()));
    return bytes;
}

using RotinasTeste = teste::SuiteInstalada;

} // namespace

TEST_F(RotinasTeste, SessaoVemDoRegistroEOnInicializaDecide)
{
    CRotina r;
    // The user is kept in 16 bits.
    ASSERT_EQ(r.Inicializa(Registro("Empresa \xC7", 0x12345, 0xFEDCBA98)), S_OK);
    EXPECT_TRUE(r.EstaInicializado());
    EXPECT_EQ(r.GetUsuario(), 0x2345);
    // The session is there when the derived class runs; the object is initialized only after it.
    EXPECT_EQ(r.m_sEmpresaVista, "Empresa \xC7");
    EXPECT_FALSE(r.m_bInicializadoDurante);

    // A second initialization takes the new session; a company that fills its field has no terminator.
    _REG_DF_INICIALIZAPS cheio = Registro("", 7, 8);
    std::memset(cheio.szEmpresa, 'E', sizeof cheio.szEmpresa);
    ASSERT_EQ(r.Inicializa(cheio), S_OK);
    EXPECT_EQ(std::string(r.GetEmpresa()), std::string(48, 'E'));

    r.m_hrProprio = TQHResult(0x80043F59);
    EXPECT_EQ(r.Inicializa(Registro("0002")), TQHResult(0x80043F59));
    EXPECT_FALSE(r.EstaInicializado());
    // A success code of the derived class initializes and reaches the caller.
    r.m_hrProprio = S_FALSE;
    EXPECT_EQ(r.Inicializa(Registro("0003")), S_FALSE);
    EXPECT_TRUE(r.EstaInicializado());
}

TEST_F(RotinasTeste, SemATQLConxNaoInicializa)
{
    // Module 1 installed where there is no library at all.
    GravaTexto(plataforma::RaizRegistro::LocalMachine, teste::kChaveModuloDF, kValorPath, m_dir);
    CRotina r;
    EXPECT_EQ(r.Inicializa(Registro("0001")), TQHResult(0x8007007E));
    EXPECT_FALSE(r.EstaInicializado());
    EXPECT_EQ(r.m_iChamadas, 0);
    EXPECT_STREQ(r.GetEmpresa(), "");
}

TEST_F(RotinasTeste, AcessoDefaultEhDeCadaThread)
{
    CRotina a;
    EXPECT_EQ(CTQBaseParaRotinas::GetAcessoServidoresDefault(), nullptr);
    CTQBaseParaRotinas::SetAcessoDefault(&a);
    CTQBaseParaRotinas* vistoNaOutra = &a;
    std::thread([&] {
        vistoNaOutra = CTQBaseParaRotinas::GetAcessoServidoresDefault();
        CTQBaseParaRotinas::SetAcessoDefault(nullptr);
    }).join();
    EXPECT_EQ(vistoNaOutra, nullptr);
    EXPECT_EQ(CTQBaseParaRotinas::GetAcessoServidoresDefault(), &a);
    // An object that dies while it is the default does not stay behind it.
    {
        CRotina c;
        CTQBaseParaRotinas::SetAcessoDefault(&c);
    }
    EXPECT_EQ(CTQBaseParaRotinas::GetAcessoServidoresDefault(), nullptr);
}

TEST_F(RotinasTeste, UltimoErroChegaAoRegistroDoCliente)
{
    CRotina r;
    ASSERT_EQ(r.Inicializa(Registro("Empresa 1")), S_OK);
    EXPECT_EQ(r.SetErro(TQHResult(0x80043E95), 17, 4321, "conta %d em %s", 12, "DFPLA001.DAT"),
              TQHResult(0x80043E95));
    CTQDadosDF_Erro& erro = r.GetErro();
    erro.SetRegistro(-3);
    erro.SetItem(5);
    erro.SetCodigoCampo(0x01020304);
    erro.SetModuloMensagem(0xA1B2);
    erro.SetTipoErro(-2);
    erro.SetNumeroServidor(0x0C0D);
    EXPECT_EQ(r.GetNumeroServidorUltimoHR(), 0x0C0D);

    // Every byte the client gets (the contract pins the offsets): the garbage before is gone.
    _REG_DF_ERROPS esperado{TQHResult(0x80043E95), 17, 4321, -3, 5, 0x01020304, 0xA1B2, -2, 0x0C0D, {}, {}, {}};
    std::strcpy(esperado.cMensagem, "conta 12 em DFPLA001.DAT");
    std::strcpy(esperado.szEmpresa, "Empresa 1");
    EXPECT_EQ(Recebido(r), std::string(reinterpret_cast<const char*>(&esperado), sizeof esperado));

    // A message longer than its field is cut, terminated, and leaves the company alone.
    r.SetErro(1, 2, 3, "%s", std::string(400, 'm').c_str());
    const std::string cortado = Recebido(r);
    EXPECT_EQ(std::string(cortado.c_str() + 30), std::string(301, 'm'));
    EXPECT_STREQ(cortado.c_str() + 332, "Empresa 1");

    r.LimpaErro();
    EXPECT_EQ(Recebido(r), std::string(480, '\0'));
}

TEST_F(RotinasTeste, ErroCopiadoDeOutroApagadoPorNuloEFuncaoGenerica)
{
    CRotina r;
    CTQDadosDF_Erro outro;
    outro.SetHR(TQHResult(0x81080A04));
    outro.SetEmpresa("Outra");
    r.SetErro(outro);
    // A whole record keeps its own company, initialized object or not.
    EXPECT_STREQ(r.GetErro().GetEmpresa(), "Outra");
    r.OnErroRPC(TQHResult(0x800706BA));
    EXPECT_EQ(r.GetUltimoHR(), TQHResult(0x800706BA));
    EXPECT_STREQ(r.GetErro().GetEmpresa(), "");
    r.SetErro(static_cast<const CTQDadosDF_Erro*>(nullptr));
    EXPECT_EQ(r.GetUltimoHR(), S_OK);

    // A generic function that none implements leaves the output null.
    ASSERT_EQ(r.Inicializa(Registro("0001")), S_OK);
    uint8_t bytes[3] = {1, 2, 3};
    _REG_DF_FUNCAO_GENERICAPS entrada{3, {}, bytes, 0};
    _REG_DF_FUNCAO_GENERICAPS lixo{};
    _REG_DF_FUNCAO_GENERICAPS* saida = &lixo;
    EXPECT_EQ(r.FuncaoGenerica(42, entrada, &saida), TQHResult(0x80004001));
    EXPECT_EQ(saida, nullptr);
}
