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
    return a.Abre(c, 'G', kTam, 0, true);
}
StatusArq ArqAbre(const std::string& c, const Injecao& i)
{
    CArquivo a;
    Falha f(i);
    return a.Abre(c, 'G');
}
StatusArq AbreSemFalha(CTQArqEx& a, const std::string& c, char modo) { return a.Abre(c, modo, kTam, 0, true); }
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

struct Resposta {
    StatusArq status;
    unsigned tentativas;
};
struct Caso {
    const char* nome;
    Op operacao;
    StatusArq (*passo)(const std::string&, const Injecao&);
    const Resposta* respostas; // one per error of kErros
};

// The record file retries its open with a pause, its writes without, 200 times; a read or a
// close is one step. The whole-file object tries 30 times; its seek, cut and close once.
constexpr Resposta kAbreArqEx[kColunas] = {{DiscoCheio, 200},    {TentativasEsgotadas, 200}, {Bloqueio, 200},
                                   {MuitosAbertos, 200}, {Compartilhamento, 200},    {TentativasEsgotadas, 200}};
constexpr Resposta kUmPasso[kColunas] = {{DiscoCheio, 1},          {ErroHardware, 1},     {Bloqueio, 1},
                                 {TentativasEsgotadas, 1}, {Compartilhamento, 1}, {TentativasEsgotadas, 1}};
constexpr Resposta kGravaArqEx[kColunas] = {{DiscoCheio, 200},          {ErroHardware, 1},        {Bloqueio, 200},
                                    {TentativasEsgotadas, 200}, {Compartilhamento, 200}, {TentativasEsgotadas, 200}};
constexpr Resposta kAbreArq[kColunas] = {{DiscoCheio, 30},    {TentativasEsgotadas, 30}, {Bloqueio, 30},
                                 {MuitosAbertos, 30}, {Compartilhamento, 30},    {TentativasEsgotadas, 30}};
constexpr Resposta kLeArq[kColunas] = {{TentativasEsgotadas, 30}, {ErroHardware, 1},       {Bloqueio, 30},
                               {TentativasEsgotadas, 30}, {Compartilhamento, 30}, {TentativasEsgotadas, 30}};
constexpr Resposta kGravaArq[kColunas] = {{DiscoCheio, 30},          {ErroHardware, 1},       {Bloqueio, 30},
                                  {TentativasEsgotadas, 30}, {Compartilhamento, 30}, {TentativasEsgotadas, 30}};
constexpr Resposta kUmaVezArq[kColunas] = {{TentativasEsgotadas, 1}, {ErroHardware, 1},     {Bloqueio, 1},
                                   {TentativasEsgotadas, 1}, {Compartilhamento, 1}, {TentativasEsgotadas, 1}};

const Caso kCasos[] = {
    {"CTQArqEx::Abre", Op::Abre, ArqExAbre, kAbreArqEx},
    {"CTQArqEx::Le, leitura", Op::Le, ArqExLe, kUmPasso},
    {"CTQArqEx::Le, busca", Op::Posiciona, ArqExLe, kUmPasso},
    {"CTQArqEx::Grava, escrita", Op::Grava, ArqExGrava, kGravaArqEx},
    {"CTQArqEx::Grava, busca", Op::Posiciona, ArqExGrava, kGravaArqEx},
    {"CTQArqEx::Fecha", Op::Fecha, ArqExFecha, kUmPasso},
    {"CArquivo::Abre", Op::Abre, ArqAbre, kAbreArq},
    {"CArquivo::Le, leitura", Op::Le, ArqLe, kLeArq},
    {"CArquivo::Le, busca", Op::Posiciona, ArqLe, kLeArq},
    {"CArquivo::Grava, escrita", Op::Grava, ArqGrava, kGravaArq},
    {"CArquivo::Grava, busca", Op::Posiciona, ArqGrava, kGravaArq},
    {"CArquivo::Posiciona", Op::Posiciona, ArqPosiciona, kUmaVezArq},
    {"CArquivo::Trunca, busca", Op::Posiciona, ArqTrunca, kUmaVezArq},
    {"CArquivo::Trunca, fim", Op::DefineFim, ArqTrunca, kUmaVezArq},
    {"CArquivo::Fecha", Op::Fecha, ArqFecha, kUmaVezArq},
};

class FalhasArquivoTeste : public apoio::DiretorioTemporario {};

TEST_F(FalhasArquivoTeste, CadaPassoCadaErro)
{
    const std::string c = Caminho("F.dat");
    const std::string inicial = std::string(kTam, '\0') + std::string(kTam, 'a') + std::string(kTam, 'b');
    for (const Caso& caso : kCasos) {
        for (size_t e = 0; e < kColunas; ++e) {
            SCOPED_TRACE(std::string(caso.nome) + ", erro " + std::to_string(kErros[e]));
            const Resposta esperada = caso.respostas[e];
            apoio::GravaTudo(c, inicial);
            unsigned chamadas = 0;
            // Always failing: the rules' answer, after their attempts, the file as it was.
            EXPECT_EQ(caso.passo(c, {caso.operacao, kErros[e], 0, &chamadas}), esperada.status);
            EXPECT_EQ(chamadas, esperada.tentativas);
            EXPECT_EQ(apoio::LeTudo(c), inicial);
            // Failing once: a step that retries gets through at its second attempt.
            const bool retenta = esperada.tentativas > 1;
            EXPECT_EQ(caso.passo(c, {caso.operacao, kErros[e], 1, &chamadas}), retenta ? Ok : esperada.status);
            EXPECT_EQ(chamadas, retenta ? 2u : 1u);
        }
    }
}

} // namespace
