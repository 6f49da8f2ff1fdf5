// Message texts: the suite's message files and libraries.
#include <string>

#include "InstalacaoTrace.h"
#include "apoio/Apoio.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQMensagens.h"
#include "df/tqlibex/TQTrace.h"
#include "platform/Arquivo.h"
#include "platform/Processo.h"
#include "platform/Texto.h"

namespace {

class MensagensTeste : public teste::InstalacaoTrace {
protected:
    void SetUp() override
    {
        InstalacaoTrace::SetUp();
        GravaTexto(plataforma::RaizRegistro::LocalMachine, kChaveSuite, kValorMensagens, m_dir);
    }
};

TEST_F(MensagensTeste, TextoDoArquivoDeMensagensDoModulo)
{
    apoio::GravaTudo(m_dir + "TQDFMens.txt", "0000011 Outra mensagem\r\n"
                                             "0000012 Primeira linha\\nSegunda linha\\n\r\n"
                                             "13 curta\n");
    EXPECT_EQ(TQTextoArquivoMensagens(12, 1), "Primeira linha\nSegunda linha");
    EXPECT_EQ(TQTextoArquivoMensagens(11, 1), "Outra mensagem");
    EXPECT_EQ(TQTextoArquivoMensagens(14, 1), "");
    EXPECT_EQ(TQTextoArquivoMensagens(13, 1), "") << "the text starts at the ninth character";
    EXPECT_EQ(TQTextoRelatorioErro(77, 1, 0), "Erro desconhecido encontrado. C\xF3" "digo (77)");
    const std::string comSO = TQTextoRelatorioErro(12, 1, 5);
    EXPECT_EQ(comSO.rfind("Primeira linha\nSegunda linha\nErro do SO: 5 - ", 0), 0u) << comSO;
}

TEST_F(MensagensTeste, ArquivoAusenteDaTextoVazioSemBloquear)
{
    EXPECT_EQ(TQTextoArquivoMensagens(12, 1), "");
}

TEST_F(MensagensTeste, DescricaoVemDaBibliotecaDeMensagens)
{
    EXPECT_FALSE(TQDescricaoHResult(TQHResult(0x80043E95)).empty());
    EXPECT_EQ(TQDescricaoHResult(TQHResult(0x8004FFFE)), "");
    GravaTexto(plataforma::RaizRegistro::LocalMachine, teste::kChaveModuloDF, kValorPath, m_dir + "sem");
    EXPECT_EQ(TQDescricaoHResult(TQHResult(0x80043E95)), "") << "without the library there is no text";
}

TEST_F(MensagensTeste, RelatorioChegaABibliotecaComOsArgumentos)
{
    GUID g;
    plataforma::CriaGuid(g);
    const std::string marca = plataforma::GuidParaTexto(g);
    TQRelataErro(TQHResult(0x81080A04), TQHResult(0x80070005), 0x7FFFFFFF, "0001", "TQDF_PlanoAlt", 321, true, marca);
    const std::string exe = plataforma::CaminhoExecutavel();
    const std::string log = apoio::LeTudo(exe.substr(0, exe.find_last_of(plataforma::kSeparador) + 1) + "TQMens.log");
    const size_t p = log.find(marca);
    ASSERT_NE(p, std::string::npos);
    const std::string linha = log.substr(log.rfind('\n', p) + 1, p - log.rfind('\n', p) - 1);
    EXPECT_NE(linha.find("0001"), std::string::npos) << linha;
    EXPECT_NE(linha.find("TQDF_PlanoAlt"), std::string::npos) << linha;
    EXPECT_NE(linha.find("321"), std::string::npos) << linha;
}

} // namespace
