// Masks of a plan: stored, read, and changed end to end with the chart rewritten and swapped.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "apoio/Apoio.h"
#include "ServicoTeste.h"
#include "df/planoalt/AlternativoBase.h"
#include "df/planoalt/ArquivosPlano.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Texto.h"

namespace {

REG_MASCARA_ALT_PS Mascaras(const std::vector<std::pair<int, std::string>>& mascaras)
{
    REG_MASCARA_ALT_PS m{};
    for (const auto& [d, texto] : mascaras)
        std::memcpy(m.Mascara[d], texto.data(), std::min<size_t>(texto.size(), 28));
    m.Caracteristica[1] = 7;
    return m;
}

class Mascara : public teste::ServicoTeste {
protected:
    void NovosPlanos(int quantos)
    {
        for (int i = 0; i < quantos; ++i) {
            REG_DADOS_PLANO_ALT_PS d{};
            std::strcpy(d.cNomePlano, "Plano");
            LONG saida = 0;
            ASSERT_EQ(m_objeto.GravaPlano(0, d, &saida), S_OK);
        }
    }

    uint32_t Conta(const char* classificacao, uint8_t status, const char* codigo)
    {
        RegContaPlano r{};
        EmpacotaClassificacao(classificacao, r.cClassificacao);
        r.bStatus = status;
        std::memcpy(r.cCodigo, codigo, std::strlen(codigo));
        std::memcpy(r.cNome, "Conta", 5);
        uint32_t posicao = 0;
        EXPECT_EQ(m_objeto.m_pClassificacao->GravaDados(reinterpret_cast<const uint8_t*>(&r), &posicao), S_OK);
        return posicao;
    }

    std::vector<std::string> Classificacoes(const std::string& arquivo)
    {
        const std::string c = apoio::LeTudo(m_dir + arquivo);
        std::vector<std::string> r;
        for (size_t p = sizeof(RegContaPlano); p + sizeof(RegContaPlano) <= c.size(); p += sizeof(RegContaPlano))
            r.push_back(DesempacotaClassificacao(reinterpret_cast<const uint8_t*>(c.data() + p)));
        return r;
    }

    static _MASCARA_PLANO_ALT Mudanca(const std::string& nova)
    {
        _MASCARA_PLANO_ALT m{};
        std::memcpy(m.Nova[1], nova.data(), nova.size());
        std::memcpy(m.Velha[1], "ignored", 7);
        return m;
    }

};

TEST_F(Mascara, GravaPreenchendoPlanosSemMascaraELeDeVolta)
{
    NovosPlanos(5);
    ASSERT_EQ(m_objeto.SetMascara(2, Mascaras({{1, "9.9"}})), S_OK);
    EXPECT_EQ(apoio::LeTudo(m_dir + kArquivoMascaras).size(), 3u * 294);
    ASSERT_EQ(m_objeto.SetMascara(5, Mascaras({{1, "9.99"}, {9, std::string(28, '9')}})), S_OK);
    const std::string c = apoio::LeTudo(m_dir + kArquivoMascaras);
    ASSERT_EQ(c.size(), 6u * 294);
    EXPECT_EQ(c.substr(3 * 294, 2 * 294), std::string(2 * 294, '\0')) << "plans 3 and 4 read as empty";
    EXPECT_EQ(c.substr(5 * 294 + 28, 5), std::string("9.99\0", 5));
    REG_MASCARA_ALT_PS lida;
    std::memset(&lida, 0x55, sizeof lida);
    ASSERT_EQ(m_objeto.BuscaMascara(5, &lida), S_OK);
    EXPECT_EQ(std::string(lida.Mascara[9], 28), std::string(28, '9'));
    EXPECT_EQ(lida.Caracteristica[1], 7);
    EXPECT_EQ(lida.cFiller[0], 0);
    ASSERT_EQ(m_objeto.BuscaMascara(0, &lida), S_OK);
    EXPECT_EQ(lida.Mascara[1][0], 0);
    EXPECT_EQ(m_objeto.SetMascara(0, Mascaras({})), S_OK);
    EXPECT_EQ(m_objeto.BuscaMascara(7, &lida), TQHResult(0x80043E95)) << "no mask record for the plan";
}

TEST_F(Mascara, MudancaReescreveAsContasETrocaOsArquivos)
{
    SelecionaPlano("9.9.99");
    ASSERT_EQ(m_objeto.SetMascara(1, Mascaras({{1, "9.9.99"}})), S_OK) << "with a characteristic to keep";
    Conta("1", kStatusTitulo, "T1");
    Conta("1.1", kStatusTitulo, "T11");
    Conta("1.1.01", 0, "A1");
    const uint32_t excluida = Conta("1.1.02", 0, "A2");
    ASSERT_EQ(m_objeto.m_pClassificacao->Exclui(excluida), S_OK);
    const std::string antes = apoio::LeTudo(m_dir + "DFPLA001.DAT");

    const _MASCARA_PLANO_ALT m = Mudanca("99.9.999   ");
    ASSERT_EQ(m_objeto.AlteraMascara(&m), S_OK);
    EXPECT_EQ(Classificacoes("DFPLA001.DAT"), (std::vector<std::string>{"10", "10.1", "10.1.001", "1.1.02"}))
        << "a deleted account keeps its classification";
    EXPECT_EQ(apoio::LeTudo(m_dir + kArquivoTrabalhoAntigo), antes);
    EXPECT_FALSE(apoio::Existe(m_dir + kArquivoTrabalho));
    const std::string indice = apoio::LeTudo(m_dir + "DFIND001.DAT");
    ASSERT_EQ(indice.size(), 4u * 18) << "rebuilt: entry 0 and the three live accounts";
    EXPECT_EQ(DesempacotaClassificacao(reinterpret_cast<const uint8_t*>(indice.data() + 3 * 18 + 4)), "10.1.001");
    REG_MASCARA_ALT_PS lida;
    ASSERT_EQ(m_objeto.BuscaMascara(1, &lida), S_OK);
    EXPECT_STREQ(lida.Mascara[1], "99.9.999") << "trailing spaces cut";
    EXPECT_EQ(lida.Caracteristica[1], 7) << "the characteristics stay";
    // Selected again, the store finds the accounts under their new classifications.
    ASSERT_EQ(m_objeto.SetPlano(1), S_OK);
    uint32_t posicao = 0;
    EXPECT_EQ(m_objeto.m_pClassificacao->ExisteClassificacao(plataforma::AnsiParaOle("10.1.001").c_str(), &posicao),
              S_OK);
    EXPECT_EQ(posicao, 3u);
}

TEST_F(Mascara, PerdaDeDigitoNaoTrocaNada)
{
    SelecionaPlano("9.9.99");
    Conta("1.1.01", 0, "A1");
    Conta("1.1.21", 0, "A2");
    Conta("1.1.03", 0, "A3");
    const std::string antes = apoio::LeTudo(m_dir + "DFPLA001.DAT");
    const _MASCARA_PLANO_ALT m = Mudanca("9.9.9");
    EXPECT_EQ(m_objeto.AlteraMascara(&m), 0x000405F2);
    EXPECT_EQ(apoio::LeTudo(m_dir + "DFPLA001.DAT"), antes);
    EXPECT_EQ(Classificacoes(kArquivoTrabalho), (std::vector<std::string>{"1.1.1", "1.1.1"}))
        << "the work file keeps the records up to the one that lost the digit";
    REG_MASCARA_ALT_PS lida;
    ASSERT_EQ(m_objeto.BuscaMascara(1, &lida), S_OK);
    EXPECT_STREQ(lida.Mascara[1], "9.9.99");
}

TEST_F(Mascara, MudancaSemPlanoSelecionado)
{
    const _MASCARA_PLANO_ALT m = Mudanca("9");
    EXPECT_EQ(m_objeto.AlteraMascara(&m), TQHResult(0x800402DD));
}

} // namespace
