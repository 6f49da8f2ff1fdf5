// Each step of the record files that reaches the system, failing with each kind of error: the
// status the retry rules give, how many attempts they make, and the file left as it was.
#include <string>

#include "apoio/Apoio.h"
#include "df/tqlibex/Arquivo.h"
#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQArqEx.h"
#include "platform/FalhasArquivo.h"

namespace {

using plataforma::OperacaoArquivo;
using Op = OperacaoArquivo;
namespace erro = plataforma::erro;
using namespace statusarq;

constexpr uint32_t kTam = 8;
constexpr size_t kColunas = 6;
// Disk full, hardware error, lock violation, too many open files, sharing violation, and an
// error of no listed kind.
constexpr DWORD kErros[kColunas] = {erro::DiscoCheio,           erro::Crc,
                                    erro::ViolacaoBloqueio,     erro::MuitosArquivosAbertos,
                                    erro::ViolacaoCompartilhamento, erro::ParametroInvalido};

// What the fault asks for; the calls of the operation are noted in `chamadas`.
struct Injecao {
    Op operacao;
    DWORD erro;
    unsigned vezes; // 0: every call fails
    unsigned* chamadas;
};

// Arms the fault while it lives: a step declares it after its own preparation, so the fault
// ends before the file objects close for good.
class Falha {
public:
    explicit Falha(const Injecao& i) : m_i(i) { plataforma::DefineFalhaArquivoParaTestes(i.operacao, 1, i.erro, i.vezes); }
    ~Falha()
    {
        *m_i.chamadas = plataforma::ChamadasArquivoParaTestes(m_i.operacao);
        plataforma::RemoveFalhaArquivoParaTestes();
    }
    Falha(const Falha&) = delete;
    Falha& operator=(const Falha&) = delete;

private:
    Injecao m_i;
};

constexpr StatusArq kPreparoFalhou{1};
const std::string kNovo(kTam, 'n');

StatusArq ArqExAbre(const std::string& c, const Injecao& i)
{
    CTQArqEx a;
    Falha f(i);
    return a.Abre(c, 'G', kTam, kAbreExistenteAgora);
}
StatusArq ArqAbre(const std::string& c, const Injecao& i)
{
    CArquivo a;
    Falha f(i);
    return a.Abre(c, 'G');
}
StatusArq AbreSemFalha(CTQArqEx& a, const std::string& c, char modo) { return a.Abre(c, modo, kTam, kAbreExistenteAgora); }
StatusArq AbreSemFalha(CArquivo& a, const std::string& c, char) { return a.Abre(c, 'G'); }
// The steps after an open, each with its own arguments.
template <typename Objeto, char modo = 'G', typename Passo>
StatusArq Depois(const std::string& c, const Injecao& i, Passo passo)
{
    Objeto a;
    if (AbreSemFalha(a, c, modo))
        return kPreparoFalhou;
    Falha f(i);
    return passo(a);
}
StatusArq ArqExLe(const std::string& c, const Injecao& i)
{
    char r[kTam];
    return Depois<CTQArqEx, 'L'>(c, i, [&](CTQArqEx& a) { return a.Le(1, r); });
}
StatusArq ArqExGrava(const std::string& c, const Injecao& i)
{
    int32_t posicao = 1;
    return Depois<CTQArqEx>(c, i, [&](CTQArqEx& a) { return a.Grava(kNovo.data(), posicao); });
}
StatusArq ArqExFecha(const std::string& c, const Injecao& i)
{
    return Depois<CTQArqEx>(c, i, [](CTQArqEx& a) { return a.Fecha(); });
}
StatusArq ArqLe(const std::string& c, const Injecao& i)
{
    char r[kTam];
    return Depois<CArquivo>(c, i, [&](CArquivo& a) { return a.Le(kTam, r); });
}
StatusArq ArqGrava(const std::string& c, const Injecao& i)
{
    return Depois<CArquivo>(c, i, [](CArquivo& a) { return a.Grava(kNovo.data(), kTam, 'I'); });
}
StatusArq ArqPosiciona(const std::string& c, const Injecao& i)
{
    uint32_t tamanho = 0;
    return Depois<CArquivo>(c, i, [&](CArquivo& a) { return a.Posiciona('F', 0, tamanho); });
}
StatusArq ArqTrunca(const std::string& c, const Injecao& i)
{
    return Depois<CArquivo>(c, i, [](CArquivo& a) { return a.Trunca(kTam); });
}
StatusArq ArqFecha(const std::string& c, const Injecao& i)
{
    return Depois<CArquivo>(c, i, [](CArquivo& a) { return a.Fecha(); });
}

struct Caso {
    const char* nome;
    Op operacao;
    StatusArq (*passo)(const std::string&, const Injecao&);
    const StatusArq* respostas; // one per error of kErros
    unsigned tentativas;        // but a hardware error answered as such is answered at once
};

// The answers of an open, and of the later steps with and without a disk-full status of their own.
constexpr StatusArq kAbertura[kColunas] = {DiscoCheio,       TentativasEsgotadas, Bloqueio,
                                           MuitosAbertos,    Compartilhamento,    TentativasEsgotadas};
constexpr StatusArq kPasso[kColunas] = {DiscoCheio,          ErroHardware,     Bloqueio,
                                        TentativasEsgotadas, Compartilhamento, TentativasEsgotadas};
constexpr StatusArq kPassoSemDisco[kColunas] = {TentativasEsgotadas, ErroHardware,     Bloqueio,
                                                TentativasEsgotadas, Compartilhamento, TentativasEsgotadas};

// The record file retries its open with a pause, its writes without, 200 times; a read or a
// close is one step. The whole-file object tries 30 times; its seek, cut and close once.
const Caso kCasos[] = {
    {"CTQArqEx::Abre", Op::Abre, ArqExAbre, kAbertura, 200},
    {"CTQArqEx::Le, leitura", Op::Le, ArqExLe, kPasso, 1},
    {"CTQArqEx::Le, busca", Op::Posiciona, ArqExLe, kPasso, 1},
    {"CTQArqEx::Grava, escrita", Op::Grava, ArqExGrava, kPasso, 200},
    {"CTQArqEx::Grava, busca", Op::Posiciona, ArqExGrava, kPasso, 200},
    {"CTQArqEx::Fecha", Op::Fecha, ArqExFecha, kPasso, 1},
    {"CArquivo::Abre", Op::Abre, ArqAbre, kAbertura, 30},
    {"CArquivo::Le, leitura", Op::Le, ArqLe, kPassoSemDisco, 30},
    {"CArquivo::Le, busca", Op::Posiciona, ArqLe, kPassoSemDisco, 30},
    {"CArquivo::Grava, escrita", Op::Grava, ArqGrava, kPasso, 30},
    {"CArquivo::Grava, busca", Op::Posiciona, ArqGrava, kPasso, 30},
    {"CArquivo::Posiciona", Op::Posiciona, ArqPosiciona, kPassoSemDisco, 1},
    {"CArquivo::Trunca, busca", Op::Posiciona, ArqTrunca, kPassoSemDisco, 1},
    {"CArquivo::Trunca, fim", Op::DefineFim, ArqTrunca, kPassoSemDisco, 1},
    {"CArquivo::Fecha", Op::Fecha, ArqFecha, kPassoSemDisco, 1},
};

class FalhasArquivoTeste : public apoio::DiretorioTemporario {};

TEST_F(FalhasArquivoTeste, CadaPassoCadaErro)
{
    const std::string c = Caminho("F.dat");
    const std::string inicial = std::string(kTam, '\0') + std::string(kTam, 'a') + std::string(kTam, 'b');
    for (const Caso& caso : kCasos) {
        for (size_t e = 0; e < kColunas; ++e) {
            SCOPED_TRACE(std::string(caso.nome) + ", erro " + std::to_string(kErros[e]));
            const StatusArq status = caso.respostas[e];
            const unsigned tentativas = status == ErroHardware ? 1u : caso.tentativas;
            apoio::GravaTudo(c, inicial);
            unsigned chamadas = 0;
            // Always failing: the rules' answer, after their attempts, the file as it was.
            EXPECT_EQ(caso.passo(c, {caso.operacao, kErros[e], 0, &chamadas}), status);
            EXPECT_EQ(chamadas, tentativas);
            EXPECT_EQ(apoio::LeTudo(c), inicial);
            // Failing once: a step that retries gets through at its second attempt.
            const bool retenta = tentativas > 1;
            EXPECT_EQ(caso.passo(c, {caso.operacao, kErros[e], 1, &chamadas}), retenta ? Ok : status);
            EXPECT_EQ(chamadas, retenta ? 2u : 1u);
        }
    }
}

} // namespace
