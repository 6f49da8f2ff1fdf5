// The routine framework as a business object derives from it: the session from the
// initialization record, the order of OnInicializa, the last error as the client receives it.
#include <cstring>
#include <string>

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

    r.LimpaErro();
    EXPECT_EQ(Recebido(r), std::string(480, '\0'));
}
