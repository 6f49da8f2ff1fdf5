// The profiler log: "log.ini", and one line of each kind (entry, exit, object creation, error)
// checked column by column against its header.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "apoio/RegistroIsolado.h"
#include "apoio/Apoio.h"
#include "df/tqlibex/GanchosTeste.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQModulos.h"
#include "df/tqlibex/TQPath.h"
#include "df/tqlibex/TQProfiler.h"
#include "df/tqlibex/TQProfilerConfig.h"
#include "platform/Arquivo.h"
#include "platform/Processo.h"
#include "platform/Tempo.h"

using namespace plataforma;

namespace {

using Colunas = std::vector<std::string>;

// The pieces of texto that each end with sep; nothing may follow the last one.
std::vector<std::string> Parte(const std::string& texto, char sep)
{
    std::vector<std::string> partes;
    size_t ini = 0;
    for (size_t fim; (fim = texto.find(sep, ini)) != std::string::npos; ini = fim + 1)
        partes.push_back(texto.substr(ini, fim - ini));
    EXPECT_EQ(ini, texto.size()) << "unterminated: " << texto.substr(ini);
    return partes;
}

// Columns de to ate (not included), as far as the line has them.
Colunas Faixa(const Colunas& c, size_t de, size_t ate)
{
    return Colunas(c.begin() + std::min(de, c.size()), c.begin() + std::min(ate, c.size()));
}

const std::string kComum = "Data\tHora\tProcesso\tUsuarioLocal\tClasseFuncao\tGuid\tEmpresa\tUsuario\tSessao\t"
                           "ThreadID\tEmpresa\tUsuario\tNumeroSessao\tUsuarioDominio\tAplicativo\tModuleName\t"
                           "ArquivoFonte\tLinhaFonte\tWTS\tFiller\tFiller\tTipo\tMemoriaDisponivel\tMemoriaTotal\t"
                           "MemoriaComponente\t";
const std::string kParametros = "\tParameter1\tParameter2\tParameter3\tParameter4\tParameter5\tParameter6\t"
                                "Parameter7\tParameter8\tParameter9";
const std::string kCabecalhoProfiler = kComum + "Duracao\tDeltaMemoria" + kParametros;
const std::string kCabecalhoErros = kComum + "VersaoKarvo\tVersaoSO\tArquivo\tLinha\tLog" + kParametros;
const size_t kColunasProfiler = 1 + std::count(kCabecalhoProfiler.begin(), kCabecalhoProfiler.end(), '\t');
const size_t kColunasErros = 1 + std::count(kCabecalhoErros.begin(), kCabecalhoErros.end(), '\t');

// Whether t has the shape of molde: '9' a decimal digit, 'x' a hex digit, any other character itself.
bool Molde(const std::string& t, std::string_view molde)
{
    return std::equal(t.begin(), t.end(), molde.begin(), molde.end(), [](char c, char m) {
        const auto u = static_cast<unsigned char>(c);
        return m == '9' ? std::isdigit(u) != 0 : m == 'x' ? std::isxdigit(u) != 0 : c == m;
    });
}
constexpr std::string_view kGuid = "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx";

// An identity whose stored record can be set.
struct Identidade : CTQProfilerEmpresa {
    using CTQProfilerEmpresa::CTQProfilerEmpresa;
    _REG_DF_INICIALIZAPS& Registro() { return m_regInicializacao; }
};

// The stored record's columns when the identity has no accepted record.
const Colunas kRegistroZerado = {"", "0", "0", "", "", "", "", "0", "0", "0", ""};

const char* const kFuncao = "T_TQUnknown<struct ITQDF_PlanoAlt,class CBasePlanoAlternativo>::BuscaPlanos";
const std::string kChaveModulo = CTQPath::CombinaChave(kChaveSuiteBarra, TQSubchaveModulo(kModuloDF));

// A module directory of the test's own, named in the registry, where "log.ini" and the logs go.
class ProfilerTeste : public teste::RegistroIsolado {
protected:
    void SetUp() override
    {
        RegistroIsolado::SetUp();
        static int contador = 0;
        m_dir = apoio::DiretorioDaExecucao() + "profiler-" + std::to_string(++contador) + kSeparador;
        ASSERT_EQ(CriaDiretorio(m_dir.c_str()), 0u);
        GravaTexto(RaizRegistro::LocalMachine, kChaveModulo, kValorPath, m_dir);
        TQInvalidaProfilerParaTestes();
    }
    void TearDown() override
    {
        apoio::RemoveArvore(m_dir);
        RegistroIsolado::TearDown();
        TQInvalidaProfilerParaTestes();
    }

    std::string Profiler() const { return m_dir + "TQProfiler.log"; }
    std::string ErrosPgms() const
    {
        const DataHoraLocal agora = AgoraLocal();
        return m_dir + "TQProfilerErros_Pgms_" + std::to_string(agora.ano * 100 + agora.mes) + ".log";
    }

    // The lines of a log after its header, which is checked whole, each split in its columns.
    std::vector<Colunas> LeLog(const std::string& arquivo, const std::string& cabecalho)
    {
        const std::vector<std::string> linhas = Parte(apoio::LeTudo(arquivo), '\n');
        std::vector<Colunas> resultado;
        EXPECT_EQ(linhas.empty() ? "" : linhas[0], cabecalho) << arquivo;
        for (size_t i = 1; i < linhas.size(); ++i)
            resultado.push_back(Parte(linhas[i], '\t'));
        return resultado;
    }

    std::string m_dir;
};

// Column positions, as the header gives them, of a line whose optional columns are all present.
enum Coluna {
    cData, cHora, cProcesso, cUsuarioLocal, cClasseFuncao, cGuid, cEmpresa, cUsuario, cSessao, cThread,
    cRegEmpresa, cRegUsuario, cRegSessao, cRegUsuarioDominio, cRegAplicativo, cRegModulo, cRegFonte, cRegLinha,
    cRegWTS, cRegFiller, cRegFillerTexto, cTipo, cMemDisponivel, cMemTotal, cMemComponente, cEspecifica
};

} // namespace

TEST(TQProfilerConfigRegras, ProcessosQueLogam)
{
    // The name is compared as it is given: lower case on both sides. Separators alone name nobody.
    const std::tuple<const char*, const char*, bool> casos[] = {
        {"nada;xtodosx", "qualquer", true}, {"a,b fiscal", "fiscal", true}, {"zazazu;contabil", "tqcontabil32", true},
        {"", "fiscal", false},              {" ;, ", "fiscal", false},      {"zazazu", "ZAZAZU", false}};
    for (const auto& [processos, nome, loga] : casos)
        EXPECT_EQ(TQProfilerConfig::ProcessoLoga(processos, nome), loga) << processos << " / " << nome;
}

// Also the header written once, with the later lines appended.
TEST_F(ProfilerTeste, EntradaSaidaECriacaoColunaPorColuna)
{
    apoio::GravaTudo(m_dir + "log.ini", "[Log]\r\nEntrada=1\r\nSaida=1\r\nCoCreateInstance=1\r\nPerformance=1\r\nMemory=1\r\n");
    TQInvalidaProfilerParaTestes();
    Identidade id("0001", 7, 42);
    // User, session, source line, filler; version, fillers; company, application, module, source file,
    // domain user; control, WTS; filler text (all 22 characters, no terminator); CRC.
    id.Registro() = {12, 3456, 99, 5, 0, {}, "0001", "CONTABIL", "TQCONTABIL", "Lancamentos.cpp", "DOMINIO\\fulano",
                     'B', 1, {}, 0};
    std::memset(id.Registro().szFiller, 'F', sizeof id.Registro().szFiller);
    const char* pares[] = {"Plano", "3", "Vazio", "", nullptr, "sem nome", "Conta", "1.1.01"};
    const DataHoraLocal antes = AgoraLocal();
    {
        CTQProfilerEscopo escopo(&id);
        escopo.Entra(kFuncao, pares, 4);
    }
    TQGravaLinhaCoCreate(nullptr, "CTQComPtr::CriaInstancia", "TQDF.Plano", "TQDF");

    const std::vector<Colunas> linhas = LeLog(Profiler(), kCabecalhoProfiler);
    ASSERT_EQ(linhas.size(), 3u);
    const Colunas& c = linhas[0];
    // Two of nine parameters: the pairs with a name and a value.
    ASSERT_EQ(c.size(), kColunasProfiler - 7);
    char data[32], thread[16];
    std::snprintf(data, sizeof data, "%02d/%02d/%04d", antes.dia, antes.mes, antes.ano);
    std::snprintf(thread, sizeof thread, "T%08d", int(IdThread()));
    EXPECT_EQ(c[cData], data);
    EXPECT_TRUE(Molde(c[cHora], "99:99:99.999")) << c[cHora];
    EXPECT_EQ(Faixa(c, cProcesso, cGuid), (Colunas{TQNomeProcesso(), NomeUsuarioSO(), kFuncao}));
    EXPECT_TRUE(Molde(c[cGuid], kGuid)) << c[cGuid];
    EXPECT_EQ(Faixa(c, cEmpresa, cMemDisponivel),
              (Colunas{"E0001", "U007", "S00000042", thread, "0001", "12", "3456", "DOMINIO\\fulano", "CONTABIL",
                       "TQCONTABIL", "Lancamentos.cpp", "99", "1", "5", std::string(22, 'F'), "ENTROU"}));
    EXPECT_GT(std::stoull(c[cMemComponente]), 0u) << "memory on: the private bytes at entry";
    EXPECT_EQ(Faixa(c, cEspecifica, c.size()), (Colunas{"0", "0", "Plano = 3", "Conta = 1.1.01"}));

    // The exit line repeats the call's columns, pairing key included, with its own measures.
    const Colunas& s = linhas[1];
    ASSERT_EQ(s.size(), c.size());
    EXPECT_EQ(Faixa(s, cProcesso, cTipo), Faixa(c, cProcesso, cTipo));
    EXPECT_EQ(s[cTipo], "SAIU");
    EXPECT_EQ(Faixa(s, cEspecifica + 2, s.size()), Faixa(c, cEspecifica + 2, c.size()));

    // The creation line: a key of its own, no identity, the class and module as parameters.
    const Colunas& o = linhas[2];
    EXPECT_EQ(o[cTipo], "COCREATE");
    EXPECT_EQ(o[cClasseFuncao], "CTQComPtr::CriaInstancia");
    EXPECT_TRUE(Molde(o[cGuid], kGuid)) << o[cGuid];
    EXPECT_NE(o[cGuid], c[cGuid]);
    EXPECT_EQ(Faixa(o, cRegEmpresa, cTipo), kRegistroZerado);
    EXPECT_EQ(Faixa(o, cEspecifica, o.size()), (Colunas{"0", "0", "ProgID = TQDF.Plano", "Modulo = TQDF"}));
}

TEST_F(ProfilerTeste, LinhaDeErro)
{
    Identidade semEmpresa("", 2, 3);
    RegistroLog r;
    r.processo = TQNomeProcesso(), r.usuarioLocal = "fulano", r.classeFuncao = "CClassificacao::Inicializa";
    r.memoriaInicio = 123456;
    const char* valores[] = {"1.18.0", "Windows 10", "Classificacao", "120", "hr = Abre() = 0x80040002"};
    for (int i = 0; i < 5; ++i)
        r.nomes[i] = "n", r.valores[i] = valores[i];
    r.nomes[5] = "Extra", r.valores[5] = "nunca";
    r.identidade = &semEmpresa;
    TQGravaLinhaLog(r, TipoLinhaLog::Erro);
    // No "log.ini": error lines do not ask for one, and never go to the profiler file.
    EXPECT_FALSE(apoio::Existe(Profiler()));
    const std::vector<Colunas> pgms = LeLog(ErrosPgms(), kCabecalhoErros);
    ASSERT_EQ(pgms.size(), 1u);
    const Colunas& c = pgms[0];
    // No pairing key, no parameters.
    ASSERT_EQ(c.size(), kColunasErros - 9 - 1);
    EXPECT_EQ(Faixa(c, cProcesso, cGuid), (Colunas{TQNomeProcesso(), "fulano", "CClassificacao::Inicializa"}));
    EXPECT_EQ(Faixa(c, cEmpresa - 1, cThread - 1), (Colunas{"E", "U002", "S00000003"}));
    EXPECT_EQ(c[cTipo - 1], "ERRO");
    EXPECT_EQ(Faixa(c, cMemComponente - 1, c.size()),
              (Colunas{"123456", "1.18.0", "Windows 10", "Classificacao", "120", "hr = Abre() = 0x80040002"}));
}
