// The frame's states and codes as a client sees them through the interface.
#include <cstring>

#include "Cliente.h"
#include "apoio/Apoio.h"
#include "df/tqlibex/TQChaveSuite.h"

namespace cliente {
namespace {

constexpr HRESULT kNaoInicializado = TQHResult(0x81080A04);
constexpr HRESULT kSemPlano = TQHResult(0x800402DD);

using FrameTeste = ClienteTeste;

// Without a business object that is initialized, only the two slots that need none answer:
// the others refuse (one gate for all, so one of them stands for the rest), and the last error
// is all zero.
void SoRespondemKeepAliveEGetUltimoErro(ITQDF_PlanoAlt* o)
{
    ULONG u = 0;
    EXPECT_EQ(o->GetQuantidadeRegistros(&u), kNaoInicializado);
    LONG ok = 0;
    EXPECT_EQ(o->KeepAlive(&ok), S_OK);
    EXPECT_EQ(ok, 1);
    _REG_DF_ERROPS erro;
    std::memset(&erro, 0xAB, sizeof erro);
    EXPECT_EQ(o->GetUltimoErro(&erro), S_OK);
    const _REG_DF_ERROPS zero{};
    EXPECT_EQ(std::memcmp(&erro, &zero, sizeof erro), 0);
}

// Before it is initialized, and after an initialization that failed.
TEST_F(FrameTeste, SemNegocioTudoRespondeNaoInicializado)
{
    SoRespondemKeepAliveEGetUltimoErro(m_obj.get());
    EXPECT_EQ(LinhasDeErro(), 0u);
    EXPECT_EQ(apoio::LeTudo(m_dir + "DFPLANOS.DAT"), "");
    // A company without a data directory: the business object refuses the session.
    EXPECT_EQ(m_obj->Inicializa_Padrao(Sessao("9999")), TQHResult(0x80043F59));
    SoRespondemKeepAliveEGetUltimoErro(m_obj.get());
}

TEST_F(FrameTeste, RegistroRecusadoPelasVerificacoes)
{
    using R = _REG_DF_INICIALIZAPS;
    const struct {
        const char* nome;
        void (*estraga)(R&);
        HRESULT esperado;
        const char* expressao;
    } casos[] = {
        {"versao", [](R& r) { r.usVersaoKarvo = 117; }, TQHResult(0x81080BFD), "E_TQCR_VERSAO_INCOMPATIVEL"},
        {"crc", [](R& r) { r.uiCRC ^= 1; }, TQHResult(0x81080C17), "E_TQCR_CRC_INICIALIZACAO_INVALIDO"},
        {"aplicativo", [](R& r) { r.szAplicativo[0] = 0; }, TQHResult(0x81080C19),
         "E_TQCR_ESTRUTURA_INICIALIZACAO_INVALIDA"},
    };
    size_t linhas = 0;
    ULONG n = 0;
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        R r = Sessao("0001");
        c.estraga(r);
        if (std::strcmp(c.nome, "crc") != 0)
            r.uiCRC = Crc64(&r, 288);
        EXPECT_EQ(m_obj->Inicializa_Padrao(r), c.esperado);
        // Refused before the session is taken: still not initialized, one line more.
        EXPECT_EQ(m_obj->GetQuantidadeRegistros(&n), kNaoInicializado);
        EXPECT_EQ(LinhasDeErro(), ++linhas);
        EXPECT_NE(LogDeErros().find(c.expressao), std::string::npos);
    }
    // The object is still whole. With the control disabled the CRC and the structure go
    // unchecked, the version still is.
    GravaDword(plataforma::RaizRegistro::LocalMachine, kChaveSuite, "DesabilitaControleInicializacao", 1);
    R r = Sessao("0001");
    r.uiCRC ^= 0xFF;
    r.szAplicativo[0] = 0;
    r.usVersaoKarvo = 117;
    EXPECT_EQ(m_obj->Inicializa_Padrao(r), TQHResult(0x81080BFD));
    r.usVersaoKarvo = 118;
    EXPECT_EQ(m_obj->Inicializa_Padrao(r), S_OK);
    EXPECT_EQ(m_obj->GetQuantidadeRegistros(&n), kSemPlano);
    // No plan 5: the frame's line names the method. No function is known: a null block back.
    EXPECT_TRUE(TQFalhou(m_obj->SetPlano(5)));
    EXPECT_NE(LogDeErros().find("CTQDF_PlanoAlt::SetPlano"), std::string::npos);
    _REG_DF_FUNCAO_GENERICAPS saida{};
    _REG_DF_FUNCAO_GENERICAPS* p = &saida;
    EXPECT_EQ(m_obj->FuncaoGenerica(1, _REG_DF_FUNCAO_GENERICAPS{}, &p), TQHResult(0x80004001));
    EXPECT_EQ(p, nullptr);
}

} // namespace
} // namespace cliente
