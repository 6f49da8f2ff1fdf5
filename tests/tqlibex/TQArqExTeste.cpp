// The record file: layout byte by byte, positions, the control file, the cache, bad input.
#include <cstring>
#include <string>

#include "apoio/Apoio.h"
#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQArqEx.h"
#include "platform/Arquivo.h"
#include "platform/Tempo.h"

namespace {

constexpr uint32_t kTam = 8;

std::string Registro(char c) { return std::string(kTam, c); }
const std::string kZero = Registro('\0');
const std::string kFim = "erro " + std::to_string(statusarq::FimArquivo.Codigo());

// The record at pos, or the status of the refusal as "erro N".
std::string Le(CTQArqEx& arq, int32_t pos)
{
    char lido[kTam];
    const StatusArq s = arq.Le(pos, lido);
    return s.Ok() ? std::string(lido, kTam) : "erro " + std::to_string(s.Codigo());
}

// Writes a record of c at pos (0 appends): the position written, or minus the status.
int32_t Grava(CTQArqEx& arq, char c, int32_t pos = 0)
{
    const StatusArq s = arq.Grava(Registro(c).data(), pos);
    return s.Ok() ? pos : -int32_t(s.Codigo());
}

class TQArqExTeste : public apoio::DiretorioTemporario {
protected:
    // A data file that already exists with the given records (record 0 included).
    std::string Cria(const std::string& nome, const std::string& conteudo)
    {
        const std::string c = Caminho(nome);
        apoio::GravaTudo(c, conteudo);
        return c;
    }
};

// An empty file opened for writing gets its record 0, and so does a file created by a write at
// position 1; appends are numbered after it.
TEST_F(TQArqExTeste, ArquivoVazioGanhaORegistroZeroEAcrescimosNumeramDepoisDele)
{
    const std::string vazio = Cria("VAZIO.dat", ""), novo = Caminho("NOVO.dat");
    CTQArqEx g, c;
    ASSERT_EQ(g.Abre(vazio, 'G', kTam, kAbreAgora), 0u);
    EXPECT_EQ(g.QuantidadeRegistros(true), 0);
    EXPECT_EQ(Grava(g, 'a'), 1);
    EXPECT_EQ(Grava(g, 'b'), 2);
    EXPECT_EQ(Grava(g, 'c', 1), 1);
    EXPECT_EQ(g.QuantidadeRegistros(true), 2);
    EXPECT_EQ(Le(g, 1), Registro('c'));
    EXPECT_EQ(Le(g, 0), kZero);
    ASSERT_EQ(c.Abre(novo, 'C', kTam, kAbreAgora), 0u);
    EXPECT_EQ(Grava(c, 'a', 1), 1);
    g.Fecha();
    c.Fecha();
    EXPECT_EQ(apoio::LeTudo(vazio), kZero + Registro('c') + Registro('b'));
    EXPECT_EQ(apoio::LeTudo(novo), kZero + Registro('a'));
}

TEST_F(TQArqExTeste, PosicoesForaDoArquivoNaoGravamEDeixamTrace)
{
    const std::string inicial = kZero + Registro('a');
    const std::string c = Cria("P.dat", inicial);
    CTQArqEx arq;
    ASSERT_EQ(arq.Abre(c, 'G', kTam), 0u);
    {
        apoio::CapturaTrace trace;
        int32_t pos = 3; // count is 2: position 2 appends, 3 is beyond
        EXPECT_EQ(arq.Grava(Registro('x').data(), pos), statusarq::PosicaoAlemDoFim);
        EXPECT_EQ(pos, 3);
        ASSERT_EQ(trace.quantidade(), 2u);
        EXPECT_STREQ(trace.linhas()[0].funcao, "CBaseArquivo::ValidaPosicaoGravacao");
        EXPECT_EQ(trace.linhas()[0].linha, 53);
        EXPECT_NE(trace.linhas()[0].texto.find("QtdRegistros = 2\tPosi\xE7\xE3o Grava\xE7\xE3o = 3"), std::string::npos);
        EXPECT_STREQ(trace.linhas()[1].funcao, "CTQArqEx::Grava");
        EXPECT_EQ(trace.linhas()[1].linha, 384);
        EXPECT_EQ(trace.linhas()[1].texto.rfind("hr = ValidaPosicaoGravacao(*plPosicao, lTamanhoDoRegistro)\t", 0), 0u);
        EXPECT_NE(trace.linhas()[1].texto.find("0X80040A73"), std::string::npos);
    }
    {
        apoio::CapturaTrace trace;
        EXPECT_EQ(Grava(arq, 'x', -1), -int32_t(statusarq::PosicaoNegativa.Codigo()));
        ASSERT_EQ(trace.quantidade(), 2u);
        EXPECT_EQ(trace.linhas()[0].linha, 34);
    }
    EXPECT_EQ(Grava(arq, 'z', 2), 2) << "position = count appends";
    arq.Fecha();
    EXPECT_EQ(apoio::LeTudo(c), inicial + Registro('z'));
}

TEST_F(TQArqExTeste, LeituraAlemDoFimSoDeixaTraceDoisRegistrosAdiante)
{
    const std::string c = Cria("L.dat", kZero + Registro('a') + Registro('b'));
    CTQArqEx arq;
    ASSERT_EQ(arq.Abre(c, 'L', kTam), 0u);
    const uint32_t quantidade = uint32_t(apoio::LeTudo(c).size() / kTam); // 3, record 0 included
    apoio::CapturaTrace trace;
    EXPECT_EQ(Le(arq, quantidade), kFim);
    EXPECT_EQ(Le(arq, quantidade + 1), kFim);
    EXPECT_EQ(trace.quantidade(), 0u);
    EXPECT_EQ(Le(arq, quantidade + 2), kFim);
    ASSERT_EQ(trace.quantidade(), 1u);
    EXPECT_EQ(trace.linhas()[0].linha, 562);
    EXPECT_NE(trace.linhas()[0].texto.find("hr = 0x80043E95"), std::string::npos);
    EXPECT_NE(trace.linhas()[0].texto.find("Registro = 8\tGetLength = 24"), std::string::npos);
    arq.SetTraceLeituraAlemDoFim(false);
    EXPECT_EQ(Le(arq, quantidade + 9), kFim);
    EXPECT_EQ(trace.quantidade(), 1u);
    EXPECT_EQ(Le(arq, 2), Registro('b'));
}

TEST_F(TQArqExTeste, ArquivoNovoEntraNoControleENuncaMaisERecriado)
{
    const std::string c = Caminho("dfpla001.dat");
    {
        CTQArqEx arq;
        ASSERT_EQ(arq.Abre(c, 'G', kTam), 0u);
        EXPECT_EQ(arq.QuantidadeRegistros(true), 0);
    }
    // Created under its normalised name, reachable by any case of it.
    EXPECT_EQ(apoio::LeTudo(Caminho("DFPLA001.dat")), kZero);
    {
        CTQArqEx outraCaixa;
        EXPECT_EQ(outraCaixa.Abre(Caminho("dfPla001.DAT"), 'L', kTam, kAbreExistenteAgora), 0u);
        EXPECT_EQ(outraCaixa.QuantidadeRegistros(true), 0);
    }
    std::string controle(32, '\0');
    std::string entrada = "DFPLA001.dat";
    entrada.resize(32, '\0');
    EXPECT_EQ(apoio::LeTudo(Caminho("TQCTLARQ.dat")), controle + entrada);

    ASSERT_EQ(plataforma::ApagaArquivo(Caminho("DFPLA001.dat").c_str()), 0u);
    CTQArqEx arq;
    EXPECT_EQ(arq.Abre(c, 'G', kTam), statusarq::NaoEncontrado);
    EXPECT_FALSE(apoio::Existe(Caminho("DFPLA001.dat")));
    EXPECT_EQ(arq.Abre(Caminho("DFPLA002.DAT"), 'G', kTam), 0u);
    arq.Fecha();
    entrada.replace(0, 12, "DFPLA002.dat");
    EXPECT_EQ(apoio::LeTudo(Caminho("TQCTLARQ.dat")).substr(64), entrada);
}

// Bad input, a file that may not be made, a read-only file, a directory in the file's place
// (a cause answered at once: the causes that are retried end in other statuses).
TEST_F(TQArqExTeste, RecusasDeixamOsArquivosComoEstavam)
{
    const std::string c = Cria("E.dat", kZero + Registro('a'));
    const std::string ro = Cria("RO.dat", kZero);
    ASSERT_EQ(plataforma::DefineSomenteLeitura(ro.c_str(), true), 0u);
    ASSERT_EQ(plataforma::CriaDiretorio(Caminho("PASTA.dat").c_str()), 0u);
    struct Caso {
        std::string caminho;
        char modo;
        int32_t cria;
        StatusArq esperado;
    };
    const Caso casos[] = {
        {"", 'L', 1, statusarq::ArgumentoInvalido}, {c, 'g', 1, statusarq::ArgumentoInvalido},
        {Caminho("SEMEXT"), 'G', 1, statusarq::ArgumentoInvalido},
        {Caminho("X.dat"), 'L', 0, statusarq::NaoEncontrado}, {ro, 'G', 1, statusarq::SomenteLeitura},
        {ro, 'L', 1, statusarq::Ok}, // reading stays possible
        {Caminho("PASTA.dat"), 'L', 1, statusarq::ArquivoInvalido}, {Caminho("PASTA.dat"), 'G', 1, statusarq::ArquivoInvalido},
    };
    for (const Caso& k : casos) {
        CTQArqEx arq;
        EXPECT_EQ(arq.Abre(k.caminho, k.modo, kTam, {.criaSeFaltar = k.cria != 0, .abreAgora = true}), k.esperado) << k.caminho << " " << k.modo;
    }
    EXPECT_FALSE(apoio::Existe(Caminho("SEMEXT")));
    EXPECT_FALSE(apoio::Existe(Caminho("X.dat")));
    EXPECT_FALSE(apoio::Existe(Caminho("TQCTLARQ.dat")));
    CTQArqEx arq;
    ASSERT_EQ(arq.Abre(c, 'G', kTam, kAbreAgora), 0u);
    EXPECT_EQ(arq.Le(1, nullptr), statusarq::ArgumentoInvalido);
    int32_t pos = 0;
    EXPECT_EQ(arq.Grava(nullptr, pos), statusarq::ArgumentoInvalido);
    arq.Fecha();
    EXPECT_EQ(apoio::LeTudo(c), kZero + Registro('a'));
}

TEST_F(TQArqExTeste, GravacaoDeUmObjetoInvalidaCacheDoOutro)
{
    std::string conteudo(kTam, '\0');
    for (char c = 'a'; c <= 'j'; ++c)
        conteudo += Registro(c);
    const std::string c = Cria("C.dat", conteudo);
    CTQArqEx a, b;
    ASSERT_EQ(a.Abre(c, 'G', kTam), 0u);
    ASSERT_EQ(b.Abre(c, 'L', kTam), 0u);
    EXPECT_EQ(Le(b, 5), Registro('e'));
    const uint64_t antes = plataforma::LeiturasPlataforma();
    EXPECT_EQ(Le(b, 6), Registro('f'));
    EXPECT_EQ(plataforma::LeiturasPlataforma(), antes) << "the read-ahead serves the next record";
    EXPECT_EQ(Grava(a, 'Z', 5), 5);
    // Another file's load in between clears the process-wide mark: the file's own generation tells.
    CTQArqEx outro;
    ASSERT_EQ(outro.Abre(Cria("D.dat", conteudo), 'L', kTam), 0u);
    EXPECT_EQ(Le(outro, 1), Registro('a'));
    EXPECT_EQ(Le(b, 5), Registro('Z'));
    // Closed, it reopens by itself at the next read.
    EXPECT_EQ(b.Fecha(), 0u);
    EXPECT_EQ(Le(b, 1), Registro('a'));
    EXPECT_TRUE(b.EstaAberto());
}

TEST_F(TQArqExTeste, LeituraSequencialCedeSoNasLeiturasDaPlataforma)
{
    constexpr uint32_t tam = 96, n = 20000;
    std::string conteudo(size_t(tam) * (n + 1), '\0');
    for (uint32_t i = 1; i <= n; ++i)
        std::memcpy(&conteudo[size_t(i) * tam], &i, sizeof i);
    const std::string c = Cria("S.dat", conteudo);
    CTQArqEx arq;
    ASSERT_EQ(arq.Abre(c, 'L', tam), 0u);
    const uint64_t leituras = plataforma::LeiturasPlataforma(), cessoes = plataforma::Cessoes();
    char lido[tam];
    for (uint32_t i = 1; i <= n; ++i) {
        ASSERT_EQ(arq.Le(i, lido), 0u);
        uint32_t v;
        std::memcpy(&v, lido, sizeof v);
        ASSERT_EQ(v, i);
    }
    const uint64_t feitas = plataforma::LeiturasPlataforma() - leituras;
    EXPECT_EQ(plataforma::Cessoes() - cessoes, feitas) << "one yield per platform read, none per record";
    // The read-ahead of a scan doubles from 32 KiB (341 records): 20,000 records in 6 fills,
    // where 32 KiB fills would take 59.
    EXPECT_LE(feitas, 8u);
}

// A last record cut short (a write that a crash cut) is no record: it reads as past the end, and
// the next append takes its place, so the records after it stay aligned.
TEST_F(TQArqExTeste, AcrescimosAcumuladosChegamEmLotes)
{
    const std::string c = Cria("L.dat", kZero + Registro('a') + "cut");
    CTQArqEx arq, leitor;
    ASSERT_EQ(arq.Abre(c, 'G', kTam), 0u);
    EXPECT_EQ(Le(arq, 2), kFim);
    ASSERT_EQ(leitor.Abre(c, 'L', kTam), 0u);
    ASSERT_EQ(arq.AcumulaAcrescimos(true), 0u);
    constexpr int32_t n = 10000; // 80,000 bytes: one full batch of 64 KiB is written meanwhile
    std::string esperado = kZero + Registro('a');
    const uint64_t cessoes = plataforma::Cessoes();
    for (int32_t i = 0; i < n; ++i) {
        int32_t pos = 0;
        const std::string r = Registro(char('0' + i % 10));
        ASSERT_EQ(arq.Grava(r.data(), pos, kTam), 0u);
        ASSERT_EQ(pos, i + 2);
        esperado += r;
    }
    EXPECT_EQ(plataforma::Cessoes() - cessoes, 1u) << "one yield per batch written, none per record";
    EXPECT_EQ(Le(leitor, n + 1), kFim) << "the last batch is still in memory";
    // A read through the object writes what is pending first.
    EXPECT_EQ(Le(arq, n + 1), Registro(char('0' + (n - 1) % 10)));
    EXPECT_EQ(apoio::LeTudo(c), esperado);
    EXPECT_EQ(Grava(arq, 'z'), n + 2);
    ASSERT_EQ(arq.AcumulaAcrescimos(false), 0u);
    EXPECT_EQ(apoio::LeTudo(c), esperado + Registro('z'));
}

} // namespace
