// Forms of a classification: packing byte by byte, the two orders, masks, types, codes.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PlanoTeste.h"
#include "apoio/Apoio.h"
#include "df/tqclasses/Classificacao.h"
#include "df/tqclasses/ClassificacaoCodigos.h"
#include "platform/Texto.h"

namespace {

std::string Empacotado(const std::string& texto)
{
    uint8_t b[kTamanhoEmpacotado];
    EmpacotaClassificacao(texto, b);
    return std::string(reinterpret_cast<char*>(b), kTamanhoEmpacotado);
}

std::string Trata(const std::string& texto, bool validar, uint32_t* status = nullptr)
{
    char buffer[32] = {};
    const uint32_t r = CClassificacao::TrataClassificacao(plataforma::AnsiParaOle(texto).c_str(), buffer, validar);
    if (status)
        *status = r;
    return buffer;
}

// Two characters a byte, 0xA ending the text; packed and text orders differ within a level.
TEST(Empacotamento, DoisCaracteresPorByteEAsDuasOrdens)
{
    EXPECT_EQ(Empacotado("1.1.01"), std::string("\x1E\x1E\x01", 3) + std::string(11, '\xAA'));
    EXPECT_EQ(Empacotado("1-2/3 4"), std::string("\x1D\x2F\x3A\x4A", 4) + std::string(10, '\xAA'));
    EXPECT_EQ(Empacotado("1.A"), std::string("\x1E\x1A", 2) + std::string(12, '\xAA')) << "letters do not survive";
    // Always 28 positions: a longer text is cut.
    EXPECT_EQ(Empacotado(std::string(30, '9')), std::string(14, '\x99'));

    for (const char* t : {"1.1.01", "1", "", "9.99.999.9999.99999.999999", "1-2/3"}) {
        uint8_t b[kTamanhoEmpacotado];
        EmpacotaClassificacao(t, b);
        EXPECT_EQ(DesempacotaClassificacao(b), t);
    }
    uint8_t especiais[kTamanhoEmpacotado];
    std::memset(especiais, 0xAA, sizeof especiais);
    especiais[0] = 0xBC;
    especiais[1] = 0x1A;
    especiais[2] = 0x22; // after the end: never read as text
    EXPECT_EQ(DesempacotaClassificacao(especiais), ";<1") << "a space inside ends the text";

    EXPECT_LT(Empacotado("1.10"), Empacotado("1.1")) << "packed: digits before the end";
    EXPECT_GT(ComparaTextoClassificacao("1.10", "1.1"), 0) << "text: the end first";
    EXPECT_EQ(ComparaTextoClassificacao(std::string("1.2\0x", 5), "1.2"), 0);
}

TEST(TrataClassificacao, BrancosValidacaoETamanho)
{
    uint32_t s = 1;
    EXPECT_EQ(Trata("   1.2", true, &s), "1.2");
    EXPECT_EQ(s, 0u);
    EXPECT_EQ(Trata(std::string(30, '1'), true), std::string(28, '1'));
    EXPECT_EQ(Trata("1.A", true, &s), "");
    EXPECT_EQ(s, 0x405E4u) << "a plain status, not a failure";
    EXPECT_EQ(Trata("1.A", false, &s), "1.A");
    char buffer[32] = {};
    EXPECT_EQ(CClassificacao::TrataClassificacao(nullptr, buffer, true), 0x405E4u);
}

// Type letters and index bits, the reduced code's check digit, a typed text under the masks,
// the two folding tables.
TEST(TiposDeConta, TipoCodigoReduzidoMascaraEAcentos)
{
    EXPECT_EQ(TipoDoStatus(0x0C), 'S') << "'S' before 'G'";
    EXPECT_EQ(TipoDoStatus(0x09), 'G') << "'G' before a title";
    EXPECT_EQ(TipoDoStatus(0x03), 'T');
    EXPECT_EQ(TipoDoStatus(0x02), 'A') << "the excluded bit takes no part";
    EXPECT_EQ(AplicaTipo(7, 'g'), 0x40000007u);
    EXPECT_EQ(AplicaTipo(0xF0000007u, 'T'), 0x80000007u) << "other letters clear bits 28 to 30 only";

    EXPECT_EQ(TQDigitoConta(0), "00000");
    EXPECT_EQ(TQDigitoConta(3), "30") << "11 - 1 gives 0";
    EXPECT_EQ(TQDigitoConta(8), "81") << "11 - 0 gives 1";
    EXPECT_EQ(TQDigitoConta(99999), "999995"); // 9 * (8+7+6+5+4) = 270; 11 - 270 % 11 = 5

    char mascaras[kMascaras][kTamanhoClassificacao] = {};
    std::memcpy(mascaras[1], "9.9.99.999", 10);
    EXPECT_EQ(ClassificacaoPelaMascara("1101", mascaras), "1.1.01");
    EXPECT_EQ(ClassificacaoPelaMascara("1.1", mascaras), "1.1") << "a text with '.' is its own classification";
    EXPECT_EQ(ClassificacaoPelaMascara("A1", mascaras), "A1") << "no slot for a letter";
    std::memcpy(mascaras[1], "9.99", 4);
    std::memset(mascaras[1] + 4, 0, kTamanhoClassificacao - 4);
    EXPECT_EQ(ClassificacaoPelaMascara("1011", mascaras), "1.01");
    std::memset(mascaras[1] + 4, ' ', kTamanhoClassificacao - 4);
    EXPECT_EQ(ClassificacaoPelaMascara("1011", mascaras), "1.011") << "spaces are digit places";

    std::string t = "\xC0\xC1\xC7\xE9\xF1\xFF\xD7x";
    DobraAcentos(t);
    EXPECT_EQ(t, "AACeny\xD7x") << "case stays; the multiplication sign is no letter";
    const char nome[] = "\xE9" "clair \xC0\xC4\xDC \xE3o";
    EXPECT_EQ(ChaveNomeIndice(nome, 50), "ECLAIR \xC0\xC4\xDC AO");
    const char longo[] = "abcdef";
    EXPECT_EQ(ChaveNomeIndice(longo, 4), "ABC") << "name length - 1 bytes count";
}

TEST(CodigoProprio, TamanhoAte28)
{
    CClassificacao c;
    apoio::CapturaTrace captura;
    EXPECT_EQ(c.SetTamanhoCodigo(28), S_OK);
    EXPECT_EQ(c.SetTamanhoCodigo(29), TQHResult(0x800443EC));
    EXPECT_EQ(c.GetTamanhoCodigo(), 28) << "the old length stays";
    EXPECT_EQ(teste::ExpressoesDoTrace(captura.linhas()),
              std::vector<std::string>{"SetTamanhoCodigo: MAKE_HRESULT( SEVERITY_ERROR, FACILITY_ITF, TAMANHO_SUPERIOR )"});
}

} // namespace
