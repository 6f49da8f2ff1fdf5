// Sharing and marks against another process (the helper executable).
#include <cstdlib>
#include <string>
#include <vector>

#include "apoio/Apoio.h"
#include "df/tqlibex/CodigosMarca.h"
#include "df/tqlibex/GanchosTeste.h"
#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQArq.h"
#include "df/tqlibex/TQArqEx.h"
#include "platform/Arquivo.h"
#include "platform/Processo.h"
#include "platform/Tempo.h"

namespace {

// How long the helper holds at most when the test lets it go itself: far beyond any wait below.
constexpr const char* kAteSoltar = "60000";

class MultiProcessoTeste : public apoio::DiretorioEmpresa {
protected:
    void TearDown() override
    {
        if (!m_sinal.empty())
            apoio::GravaTudo(m_sinal + ".solta", "");
        if (m_filho.Espera(30000, &m_codigo))
            EXPECT_EQ(m_codigo, 0u) << "the helper failed";
        else
            m_filho.Termina();
        apoio::DiretorioEmpresa::TearDown();
    }
    // Starts the helper with the signal file it creates when ready as its last argument.
    void Inicia(std::vector<std::string> argumentos)
    {
        m_sinal = m_dir + "pronto";
        argumentos.push_back(m_sinal);
        ASSERT_EQ(m_filho.Inicia(apoio::CaminhoAuxiliar(), argumentos), 0u);
        ASSERT_TRUE(apoio::EsperaArquivo(m_sinal)) << "the helper did not get ready";
    }
    plataforma::ProcessoFilho m_filho;
    DWORD m_codigo = 0;
    std::string m_sinal;
};

TEST_F(MultiProcessoTeste, GravadorDeOutroProcessoRecusaGravadoresNuncaLeitores)
{
    const std::string arquivo = m_dados + "DFPLANOS.DAT";
    apoio::GravaTudo(arquivo, std::string(16, 'a'));
    Inicia({"segura", arquivo, "G", kAteSoltar});

    // The helper holds until the test ends, so a reader it kept out would give up refused.
    CTQArqEx leitor;
    EXPECT_EQ(leitor.Abre(arquivo, 'L', 8, kAbreAgora), 0u);
    char registro[8];
    EXPECT_EQ(leitor.Le(1, registro), 0u);

    const apoio::ContaOperacoesArquivo operacoes;
    CTQArqEx gravador;
    const DWORD inicio = plataforma::Ticks();
    EXPECT_EQ(gravador.Abre(arquivo, 'G', 8, kAbreAgora), statusarq::Compartilhamento);
    const DWORD decorrido = plataforma::Ticks() - inicio;
    EXPECT_EQ(operacoes[plataforma::OperacaoArquivo::Abre], 200u);
    EXPECT_GE(decorrido, 199u * 10 - apoio::kTickRelogioMs) << "200 attempts 10 ms apart";
}

TEST_F(MultiProcessoTeste, MarcaLiberadaPorOutroProcessoEhTomadaNoPassoSeguinte)
{
    EsquemaAtual();
    constexpr DWORD kSegura = 600;
    Inicia({"marca", m_dados, "8", "5", std::to_string(kSegura)});
    TQDefineEsperaMarcaParaTestes(20000);
    CTQarq marca;
    ASSERT_EQ(marca.Marca(m_dados, 8, 1), 0u);
    const DWORD tomada = plataforma::Ticks();
    // Measured from the helper's own tick, so that a slow start of this test cannot shorten it.
    const DWORD segura = DWORD(std::strtoul(apoio::LeTudo(m_sinal).c_str(), nullptr, 10));
    EXPECT_GE(tomada - segura, kSegura - apoio::kTickRelogioMs) << "the taker waited for the holder";
    ASSERT_TRUE(apoio::EsperaArquivo(m_sinal + ".liberado"));
    const DWORD liberada = DWORD(std::strtoul(apoio::LeTudo(m_sinal + ".liberado").c_str(), nullptr, 10));
    // One 10 ms step and a tick; the rest is room for a loaded machine under Wine, still below a
    // taker that looks again only after pauses of a second.
    EXPECT_LE(int32_t(tomada - liberada), 1000) << "taken at the step after the release";
}

// A process that ends holding a mark: the earlier scheme's record stays behind (the current
// scheme's lock goes with the process, as any file lock does).
TEST_F(MultiProcessoTeste, MarcaAnteriorAbandonadaDa16209EODono)
{
    Inicia({"abandona", m_dados, "4", "7"});
    ASSERT_TRUE(m_filho.Espera(10000, &m_codigo));
    EXPECT_EQ(apoio::LeTudo(m_dados + "CNCMARCA.DAT"), std::string("\x04\x07", 2));
    CTQarq marca;
    EXPECT_EQ(marca.Marca(m_dados, 8, 1), statusmarca::Deixada);
    EXPECT_EQ(marca.GetDono(), 7);
    // What an administrator clears, since nobody holds it.
    uint8_t tipo = 0;
    ASSERT_EQ(CTQarq::LiberaMarcaDeixada(m_dados, tipo), 0u);
    EXPECT_EQ(tipo, 4);
    EXPECT_EQ(marca.Marca(m_dados, 8, 1), 0u);
}

TEST_F(MultiProcessoTeste, MarcaAnteriorOcupadaDesisteDepoisDe90Avistamentos)
{
    Inicia({"marca", m_dados, "4", "263", kAteSoltar});
    CTQarq marca;
    EXPECT_EQ(marca.Marca(m_dados, 8, 1), 16250u);
    EXPECT_EQ(marca.GetDono(), 7) << "the low byte of the holder's number";
    uint8_t tipo = 9;
    EXPECT_EQ(CTQarq::LiberaMarcaDeixada(m_dados, tipo), 0u);
    EXPECT_EQ(tipo, 0) << "a mark that a live process holds is never cleared";
    EXPECT_EQ(apoio::LeTudo(m_dados + "CNCMARCA.DAT"), std::string("\x04\x07", 2));
}

} // namespace
