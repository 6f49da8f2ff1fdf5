#include "apoio/Apoio.h"

#include <cstdlib>
#include <mutex>
#include <set>

#include "df/tqlibex/GanchosTeste.h"
#include "platform/Arquivo.h"
#include "platform/Diretorio.h"
#include "platform/Processo.h"
#include "platform/Tempo.h"

namespace apoio {

using namespace plataforma;

namespace {

// Children of a test run inherit it, and keep their own directories inside it, so that even
// a child that ends by a fault leaves nothing behind once the run is over.
const char kVariavelExecucao[] = "ZAZAZU_TESTE_DIRETORIO";

struct Execucao {
    std::string dir;
    Execucao()
    {
        const std::string pai = VariavelAmbiente(kVariavelExecucao);
        dir = (pai.empty() ? plataforma::DiretorioTemporario() + "zazazu-" : pai + "filho-") +
              std::to_string(IdProcesso()) + "-" + std::to_string(Relogio100ns()) + kSeparador;
        if (CriaDiretorio(dir.c_str()) != 0)
            std::abort();
    }
    ~Execucao() { RemoveArvore(dir); }
};

} // namespace

const std::string& DiretorioDaExecucao()
{
    static Execucao execucao;
    return execucao.dir;
}

namespace {

// Whatever a test writes by a bare name (a log without its module directory, say) lands in the
// run's directory, and on POSIX no test reaches the user's own registry file.
class AmbienteDosTestes : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (!VariavelAmbiente(kVariavelExecucao).empty())
            return; // a child: it shares its parent's
        DefineDiretorioAtual(DiretorioDaExecucao().c_str());
        DefineVariavelAmbiente(kVariavelExecucao, DiretorioDaExecucao().c_str());
#ifndef _WIN32
        if (VariavelAmbiente("ZAZAZU_REGISTRY").empty())
            DefineVariavelAmbiente("ZAZAZU_REGISTRY", (DiretorioDaExecucao() + "registro.reg").c_str());
#endif
    }
    void TearDown() override { DefineDiretorioAtual(plataforma::DiretorioTemporario().c_str()); }
};

[[maybe_unused]] ::testing::Environment* const g_ambiente =
    ::testing::AddGlobalTestEnvironment(new AmbienteDosTestes);

} // namespace

std::string CriaDiretorioDoTeste()
{
    static int contador = 0;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string nome = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : nome)
        if (c == '/' || c == '\\')
            c = '_'; // parameterized tests
    std::string dir = DiretorioDaExecucao() + std::to_string(++contador) + "-" + nome + kSeparador;
    EXPECT_EQ(CriaDiretorio(dir.c_str()), 0u) << dir;
    return dir;
}

void DiretorioTemporario::SetUp() { m_dir = CriaDiretorioDoTeste(); }

void DiretorioTemporario::TearDown() { RemoveArvore(m_dir); }

void DiretorioEmpresa::SetUp()
{
    DiretorioTemporario::SetUp();
    m_dados = m_dir + "EMPRESA" + kSeparador;
    ASSERT_EQ(CriaDiretorio(m_dados.c_str()), 0u);
}

void DiretorioEmpresa::TearDown()
{
    TQDefineEsperaMarcaParaTestes(50000);
    DiretorioTemporario::TearDown();
}

void DiretorioEmpresa::EsquemaAtual()
{
    ASSERT_EQ(CriaDiretorio((m_dir + "DF").c_str()), 0u);
    GravaTudo(m_dir + "DF" + kSeparador + "marcanovo.dat", "");
}

void RemoveArvore(const std::string& dir)
{
    std::vector<EntradaDiretorio> entradas;
    ListaDiretorio(dir.c_str(), entradas);
    const std::string base = (!dir.empty() && dir.back() == kSeparador) ? dir : dir + kSeparador;
    for (const EntradaDiretorio& e : entradas) {
        const std::string caminho = base + e.nome;
        if (e.diretorio) {
            RemoveArvore(caminho);
        } else {
            DefineSomenteLeitura(caminho.c_str(), false);
            ApagaArquivo(caminho.c_str());
        }
    }
    RemoveDiretorio(dir.c_str());
}

std::string LeTudo(const std::string& caminho)
{
    ArquivoSO a;
    if (a.Abre(caminho.c_str(), ModoArquivo{}) != 0)
        return {};
    uint64_t tamanho = 0;
    a.Tamanho(tamanho);
    std::string conteudo(size_t(tamanho), '\0');
    DWORD lidos = 0;
    a.Le(conteudo.data(), DWORD(tamanho), lidos);
    conteudo.resize(lidos);
    return conteudo;
}

void GravaTudo(const std::string& caminho, const std::string& conteudo)
{
    ArquivoSO a;
    ASSERT_EQ(a.Abre(caminho.c_str(), ModoArquivo{true, true, true, true, Disposicao::CriaSempre}), 0u) << caminho;
    ASSERT_EQ(a.Grava(conteudo.data(), DWORD(conteudo.size())), 0u);
}

bool Existe(const std::string& caminho)
{
    bool somenteLeitura;
    return LeSomenteLeitura(caminho.c_str(), somenteLeitura) == 0;
}

struct CapturaTrace::Estado {
    mutable std::mutex trava;
    std::vector<LinhaTrace> linhas;
    // A writer may pass names that live only for the call: the lines point at copies.
    std::set<std::string> nomes;
};

CapturaTrace::CapturaTrace() : m_estado(new Estado) { TQDefineDestinoTrace(&CapturaTrace::Recebe, m_estado); }

CapturaTrace::~CapturaTrace()
{
    TQDefineDestinoTrace(nullptr, nullptr);
    delete m_estado;
}

void CapturaTrace::Recebe(const LinhaTrace& linha, void* contexto)
{
    auto* estado = static_cast<Estado*>(contexto);
    std::lock_guard<std::mutex> t(estado->trava);
    estado->linhas.push_back(linha);
    estado->linhas.back().funcao = linha.funcao ? estado->nomes.insert(linha.funcao).first->c_str() : nullptr;
    estado->linhas.back().fonte = linha.fonte ? estado->nomes.insert(linha.fonte).first->c_str() : nullptr;
}

std::vector<LinhaTrace> CapturaTrace::linhas() const
{
    std::lock_guard<std::mutex> t(m_estado->trava);
    return m_estado->linhas;
}

std::string CaminhoAuxiliar()
{
    std::string exe = CaminhoExecutavel();
    const size_t barra = exe.find_last_of(kSeparador);
#ifdef _WIN32
    return exe.substr(0, barra + 1) + "tqauxiliar.exe";
#else
    return exe.substr(0, barra + 1) + "tqauxiliar";
#endif
}

bool EsperaArquivo(const std::string& caminho, DWORD limiteMs)
{
    const DWORD inicio = Ticks();
    while (!Existe(caminho)) {
        if (Ticks() - inicio > limiteMs)
            return false;
        Dorme(2);
    }
    return true;
}

} // namespace apoio
