// Activation of other servers through CTQComPtr: the process's security from its two switches,
// the trace lines of each refusal, and the release of a held object before a new activation.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "apoio/Apoio.h"
#include "apoio/FilhoTeste.h"
#include "apoio/PlanoPrincipal.h"
#include "apoio/SuiteInstalada.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQComPtr.h"
#include "platform/Com.h"
#include "suite/comum/TQDF_Plano.h"

namespace {

const std::string kFuncaoPtr = "CTQComPtr<struct ITQDF_Plano>::CoCreateInstance";

struct LinhaEsperada {
    std::string funcao;
    int linha;
    std::string expressao;
};

// The lines written, in order, by function, source, line and failing expression.
void ConfereLinhas(const apoio::CapturaTrace& trace, const std::vector<LinhaEsperada>& esperadas)
{
    const std::vector<LinhaTrace> linhas = trace.linhas();
    ASSERT_EQ(linhas.size(), esperadas.size());
    for (size_t i = 0; i < linhas.size(); ++i) {
        EXPECT_EQ(linhas[i].funcao, esperadas[i].funcao) << i;
        EXPECT_STREQ(linhas[i].fonte, "TQComPtr") << i;
        EXPECT_EQ(linhas[i].linha, esperadas[i].linha) << i;
        EXPECT_EQ(linhas[i].texto.rfind("hr = " + esperadas[i].expressao + "\t", 0), 0u) << linhas[i].texto;
    }
}

const LinhaEsperada kLinhaAtivacao = {"TQCoCreateInstance", 87,
                                      "CoCreateInstanceEx(rclsid, pUnkOuter, dwClsCtx, &csi, 1, &mqi)"};
const LinhaEsperada kLinhaPtr = {
    kFuncaoPtr, 117, "TQCoCreateInstance(rclsid, nullptr, CLSCTX_ALL, __uuidof(T), (void**) &m_pInterface, eFlags)"};
const LinhaEsperada kLinhaNula = {kFuncaoPtr, 120, "ER_TQDF_CO_CREATE_INSTANCE_INTERFACE_NULA"};
const LinhaEsperada kLinhaUmArgumento = {
    kFuncaoPtr, 97, "CoCreateInstance(rclsid, ETQComPtrFlags::eTQCCI_LOG_FAILURE | ETQComPtrFlags::eTQCCI_RETRY)"};
// An in-process object has no proxy: its blanket is refused and the object used as it is.
const LinhaEsperada kLinhaBlanket = {"TQCoSetProxyBlanket", 36,
                                     "CoSetProxyBlanket(pProxy, g_dwAuthnSvc, g_dwAuthzSvc, nullptr, g_dwAuthnLevel, "
                                     "g_dwImpLevel, nullptr, EOAC_NONE)"};

// Both forms of the creation.
HRESULT Cria(CTQComPtr<ITQDF_Plano>& ptr, bool umArgumento)
{
    return umArgumento ? ptr.CoCreateInstance(CLSID_TQDF_Plano)
                       : ptr.CoCreateInstance(CLSID_TQDF_Plano, eTQCCI_LOG_FAILURE | eTQCCI_RETRY);
}

class TQComPtrTeste : public teste::SuiteInstalada {
protected:
    void TearDown() override
    {
        m_servidor.reset();
        SuiteInstalada::TearDown();
    }
    void Registra()
    {
        m_servidor = std::make_unique<teste::PlanoPrincipalRegistrado>();
        ASSERT_EQ(m_servidor->Registro(), S_OK);
    }

    // COM on this thread for the tests that register nothing (the registration holds its own).
    plataforma::ApartamentoCom m_com;
    std::unique_ptr<teste::PlanoPrincipalRegistrado> m_servidor;
};

} // namespace

// Run only as a child: the expected level and service, read from the switches at its start.
TEST(SegurancaFilhoLado, LeAsChaves)
{
    if (!teste::SouFilho())
        GTEST_SKIP() << "only as a child";
    const std::vector<std::string> args = teste::ArgumentosDoFilho();
    ASSERT_EQ(args.size(), 2u);
    TQLeSegurancaDCOM();
    EXPECT_EQ(g_dwAuthnLevel, DWORD(std::atoi(args[0].c_str())));
    EXPECT_EQ(g_dwAuthnSvc, DWORD(std::atoi(args[1].c_str())));
}

TEST_F(TQComPtrTeste, SegurancaDoProcessoVemDasDuasChaves)
{
    struct Caso {
        DWORD autenticacao, encriptacao;
        const char* nivel;
        const char* servico;
    };
    // Authentication off wins over encryption; the defaults encrypt.
    const Caso casos[] = {{0, 0, "6", "10"}, {1, 0, "1", "0"}, {0, 1, "0", "10"}};
    for (const Caso& c : casos) {
        GravaDword(plataforma::RaizRegistro::LocalMachine, kChaveSuite, kValorDesabilitaAutenticacaoDCOM, c.autenticacao);
        GravaDword(plataforma::RaizRegistro::LocalMachine, kChaveSuite, kValorDesabilitaEncriptacaoDCOM, c.encriptacao);
        plataforma::ProcessoFilho filho;
        ASSERT_EQ(teste::RodaFilho("SegurancaFilhoLado.LeAsChaves", {c.nivel, c.servico}, filho), 0u);
        DWORD codigo = 99;
        ASSERT_TRUE(filho.Espera(60000, &codigo));
        EXPECT_EQ(codigo, 0u) << c.autenticacao << c.encriptacao;
    }
}

// The creation with its trace lines: unregistered (the one-argument form adding its own line),
// created, and a server whose creation answers a success without an object; then a new
// activation over a held object.
TEST_F(TQComPtrTeste, CadaDesfechoComSuasLinhasERecriacao)
{
    const auto confere = [&](bool umArgumento, HRESULT esperado, const std::vector<LinhaEsperada>& linhas) {
        apoio::CapturaTrace trace;
        CTQComPtr<ITQDF_Plano> ptr;
        EXPECT_EQ(Cria(ptr, umArgumento), esperado);
        EXPECT_EQ(ptr.Get() != nullptr, esperado == S_OK);
        EXPECT_TRUE(!ptr.Get() || ptr->Reservado3() == kNaoImplementado);
        ConfereLinhas(trace, linhas);
    };
    confere(true, plataforma::kClasseNaoRegistrada, {kLinhaAtivacao, kLinhaPtr, kLinhaUmArgumento});
    Registra();
    confere(true, S_OK, {kLinhaBlanket});
    m_servidor->DefineFalha(0, S_FALSE);
    confere(false, ER_TQDF_CO_CREATE_INSTANCE_INTERFACE_NULA, {kLinhaNula});
    // Even a new activation that fails lets the old object go.
    m_servidor->DefineFalha(0, S_OK);
    CTQComPtr<ITQDF_Plano> ptr;
    ASSERT_EQ(ptr.CoCreateInstance(CLSID_TQDF_Plano), S_OK);
    ITQDF_Plano* antigo = ptr.Get();
    antigo->AddRef();
    m_servidor->DefineFalha(0, kSemMemoria);
    EXPECT_EQ(ptr.CoCreateInstance(CLSID_TQDF_Plano), kSemMemoria);
    EXPECT_NE(ptr.Get(), antigo);
    EXPECT_EQ(antigo->Release(), 0u) << "the pointer still held the old object";
}

namespace {

// The platform's activation replaced by a list of answers (the last one repeats).
struct Roteiro {
    std::vector<HRESULT> respostas;
    size_t chamadas = 0;
    bool ultimaSemSeguranca = false;
};
Roteiro g_roteiro;

HRESULT AtivacaoRoteiro(const CLSID&, IUnknown*, DWORD, const plataforma::SegurancaCom* seguranca, const IID&,
                        void**)
{
    g_roteiro.ultimaSemSeguranca = seguranca == nullptr;
    const size_t i = std::min(g_roteiro.chamadas++, g_roteiro.respostas.size() - 1);
    return g_roteiro.respostas[i];
}

TEST(TQCoCreateInstanceFalhas, OQueSegueAPrimeiraFalha)
{
    const HRESULT indisponivel = TQHResult(0x800706BA);
    const HRESULT falha = TQHResult(0x80004005);
    const LinhaEsperada semServidor = {"TQCoCreateInstance", 99,
                                       "CoCreateInstanceEx(rclsid, pUnkOuter, dwClsCtx, nullptr, 1, &mqi)"};
    const struct {
        DWORD flags;
        std::vector<HRESULT> respostas;
        HRESULT esperado;
        size_t chamadas;
        std::vector<LinhaEsperada> linhas;
    } casos[] = {
        {eTQCCI_RETRY | eTQCCI_LOG_FAILURE, {indisponivel, indisponivel, S_OK}, S_OK, 3, {kLinhaAtivacao}},
        {eTQCCI_LOG_FAILURE, {indisponivel, S_OK}, indisponivel, 1, {kLinhaAtivacao}},
        {eTQCCI_RETRY | eTQCCI_LOG_FAILURE, {indisponivel}, indisponivel, 500, {kLinhaAtivacao}},
        {eTQCCI_RETRY, {kSemInterface, S_OK}, kSemInterface, 1, {kLinhaAtivacao}},
        {0, {kParametroIncorreto, S_OK}, S_OK, 2, {kLinhaAtivacao}},
        {0, {kParametroIncorreto, falha}, falha, 2, {kLinhaAtivacao, semServidor}},
    };
    TQDefineAtivacaoParaTestes(AtivacaoRoteiro, 0);
    for (const auto& c : casos) {
        SCOPED_TRACE(c.chamadas);
        g_roteiro = {c.respostas};
        apoio::CapturaTrace trace;
        void* objeto = nullptr;
        EXPECT_EQ(TQCoCreateInstance(CLSID_TQDF_Plano, nullptr, kTQClsctxAll, IID_ITQDF_Plano, &objeto, c.flags),
                  c.esperado);
        EXPECT_EQ(g_roteiro.chamadas, c.chamadas);
        EXPECT_EQ(g_roteiro.ultimaSemSeguranca, c.respostas[0] == kParametroIncorreto);
        ConfereLinhas(trace, c.linhas);
    }
    TQDefineAtivacaoParaTestes(nullptr, 0);
}

} // namespace
