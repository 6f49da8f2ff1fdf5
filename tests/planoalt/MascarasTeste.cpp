// Masks of a plan: stored, read, and changed end to end with the chart rewritten and swapped.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "ServicoTeste.h"
#include "df/planoalt/ArquivosPlano.h"

namespace {

REG_MASCARA_ALT_PS Mascaras(int d, const std::string& texto)
{
    REG_MASCARA_ALT_PS m{};
    std::memcpy(m.Mascara[d], texto.data(), std::min<size_t>(texto.size(), 28));
    m.Caracteristica[1] = 7;
    return m;
}

class Mascara : public teste::ServicoTeste {
protected:
    std::vector<std::string> Classificacoes(const std::string& arquivo)
    {
        const std::string c = apoio::LeTudo(m_dir + arquivo);
        std::vector<std::string> r;
        for (size_t p = kTamanhoConta; p + kTamanhoConta <= c.size(); p += kTamanhoConta)
            r.push_back(DesempacotaClassificacao(reinterpret_cast<const uint8_t*>(c.data() + p)));
        return r;
    }

    HRESULT Altera(const char* nova)
    {
        _MASCARA_PLANO_ALT m{};
        std::strcpy(m.Nova[1], nova);
        std::strcpy(m.Velha[1], "ignored");
        return m_objeto.AlteraMascara(&m);
    }
};

TEST_F(Mascara, GravaPreenchendoPlanosSemMascaraELeDeVolta)
{
    for (int i = 0; i < 5; ++i)
        NovoPlano();
    ASSERT_EQ(m_objeto.SetMascara(2, Mascaras(1, "9.9")), S_OK);
    ASSERT_EQ(m_objeto.SetMascara(5, Mascaras(9, std::string(28, '9'))), S_OK);
    const std::string c = apoio::LeTudo(m_dir + kArquivoMascaras);
    ASSERT_EQ(c.size(), 6u * 294);
    EXPECT_EQ(c.substr(3 * 294, 2 * 294), std::string(2 * 294, '\0')) << "plans 3 and 4 read as empty";
    REG_MASCARA_ALT_PS lida;
    std::memset(&lida, 0x55, sizeof lida);
    ASSERT_EQ(m_objeto.BuscaMascara(5, &lida), S_OK);
    EXPECT_EQ(std::string(lida.Mascara[9], 28), std::string(28, '9'));
    EXPECT_EQ(lida.Caracteristica[1], 7);
    EXPECT_EQ(m_objeto.BuscaMascara(7, &lida), TQHResult(0x80043E95)) << "no mask record for the plan";
}

TEST_F(Mascara, MudancaCortaBrancosEGuardaCaracteristicas)
{
    SelecionaPlano("9.9.99");
    ASSERT_EQ(m_objeto.SetMascara(1, Mascaras(1, "9.9.99")), S_OK) << "with a characteristic to keep";
    NovaConta("1.1.01", 'A', "");
    // Accounts, deleted ones and the index after a change: a whole session and the killed changes.
    ASSERT_EQ(Altera("99.9.999   "), S_OK);
    EXPECT_EQ(Classificacoes("DFPLA001.DAT"), std::vector<std::string>{"10.1.001"});
    EXPECT_FALSE(apoio::Existe(m_dir + kArquivoTrabalho));
    REG_MASCARA_ALT_PS lida;
    ASSERT_EQ(m_objeto.BuscaMascara(1, &lida), S_OK);
    EXPECT_STREQ(lida.Mascara[1], "99.9.999") << "trailing spaces cut";
    EXPECT_EQ(lida.Caracteristica[1], 7) << "the characteristics stay";
}

TEST_F(Mascara, PerdaDeDigitoNaoTrocaNada)
{
    SelecionaPlano("9.9.99");
    NovaConta("1.1.01", 'A', "");
    NovaConta("1.1.21", 'A', "");
    NovaConta("1.1.03", 'A', "");
    const std::string antes = apoio::LeTudo(m_dir + "DFPLA001.DAT");
    const std::string mascaras = apoio::LeTudo(m_dir + kArquivoMascaras);
    EXPECT_EQ(Altera("9.9.9"), 0x000405F2);
    EXPECT_EQ(apoio::LeTudo(m_dir + "DFPLA001.DAT"), antes);
    EXPECT_EQ(apoio::LeTudo(m_dir + kArquivoMascaras), mascaras);
    EXPECT_EQ(Classificacoes(kArquivoTrabalho), (std::vector<std::string>{"1.1.1", "1.1.1"}))
        << "the work file keeps the records up to the one that lost the digit";
}

} // namespace
