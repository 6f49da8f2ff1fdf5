// The profiler log: "log.ini", entry and exit lines, object-creation and error lines, their
// layout against the header, the files they go to, and writers in several threads.
#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstring>
#include <set>
#include <string>
#include <thread>
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

// A column of digits only, as its number.
uint64_t Numero(const std::string& t)
{
    EXPECT_TRUE(!t.empty() && t.find_first_not_of("0123456789") == std::string::npos) << '"' << t << '"';
    return std::strtoull(t.c_str(), nullptr, 10);
}

// The switches on, one letter each, '-' for one off: Entrada, Saida, CoCreateInstance, Performance,
// Memory, and whether this process Loga.
std::string Letras(const ValoresProfiler& v)
{
    const bool ligados[] = {v.entrada, v.saida, v.coCreate, v.performance, v.memory, v.processoLoga};
    std::string letras = "ESCPML";
    for (size_t i = 0; i < letras.size(); ++i)
        letras[i] = ligados[i] ? letras[i] : '-';
    return letras;
}

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

    void LogIni(const std::string& secaoLog)
    {
        apoio::GravaTudo(m_dir + "log.ini", "[Log]\r\n" + secaoLog);
        TQInvalidaProfilerParaTestes();
    }
    std::string Profiler() const { return m_dir + "TQProfiler.log"; }
    static std::string AnoMes()
    {
        const DataHoraLocal agora = AgoraLocal();
        return std::to_string(agora.ano * 100 + agora.mes);
    }
    std::string ErrosPgms() const { return m_dir + "TQProfilerErros_Pgms_" + AnoMes() + ".log"; }

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

    // An entered scope, closed on return.
    static void Chamada(ITQDF_Profiler* identidade, const char* const* pares = nullptr, int quantos = 0)
    {
        CTQProfilerEscopo escopo(identidade);
        escopo.Entra(kFuncao, pares, quantos);
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

TEST(TQProfilerConfigRegras, InterpretaLogIni)
{
    std::string processos;
    unsigned timeout = 0;
    const auto interpreta = [&](const std::string& conteudo) {
        return Letras(TQProfilerConfig::Interpreta(conteudo, "zazazu", processos, timeout));
    };
    EXPECT_EQ(interpreta(""), "-----L");
    EXPECT_EQ(processos, "todos");
    EXPECT_EQ(timeout, 600u);
    // Names in any case; a switch is on only when its number is exactly 1.
    EXPECT_EQ(interpreta("[log]\nENTRADA=1\nSaida=2\nCoCreateInstance=1\nPerformance=01\nMemory=1x\n"
                         "TimeoutConfig=30\nProcessos=Contabil;ZAZAZU\n"),
              "E-CPML");
    EXPECT_EQ(timeout, 30u);
    EXPECT_EQ(processos, "contabil;zazazu");
    EXPECT_EQ(interpreta("[Log]\nProcessos=" + std::string(300, 'x') + "\n"), "------");
    EXPECT_EQ(processos.size(), 260u);
    // Present but empty: no process logs.
    EXPECT_EQ(interpreta("[Log]\nProcessos=\n"), "------");
}

// A call and an object creation under each "log.ini".
TEST_F(ProfilerTeste, QueLinhasCadaLogIniPede)
{
    const auto escreve = [] {
        Chamada(nullptr);
        TQGravaLinhaCoCreate(nullptr, "CTQComPtr::CriaInstancia", "TQDF.Plano", "TQDF");
    };
    escreve(); // no "log.ini" at all
    EXPECT_FALSE(apoio::Existe(Profiler()));
    // The type of the one line written, "" for none.
    const std::pair<std::string, std::string> casos[] = {
        {"Entrada=1\r\n", "ENTROU"}, {"Saida=1\r\n", "SAIU"}, {"Performance=1\r\nMemory=1\r\n", ""},
        {"CoCreateInstance=1\r\n", "COCREATE"},
        {"Entrada=1\r\nSaida=1\r\nCoCreateInstance=1\r\nProcessos=outro\r\n", ""}};
    for (const auto& [ini, tipo] : casos) {
        SCOPED_TRACE(ini);
        LogIni(ini);
        escreve();
        if (tipo.empty()) {
            EXPECT_FALSE(apoio::Existe(Profiler()));
            continue;
        }
        const std::vector<Colunas> linhas = LeLog(Profiler(), kCabecalhoProfiler);
        ASSERT_EQ(linhas.size(), 1u);
        const Colunas& c = linhas[0];
        EXPECT_EQ(c[cTipo], tipo);
        if (tipo == "COCREATE") {
            EXPECT_EQ(c[cClasseFuncao], "CTQComPtr::CriaInstancia");
            EXPECT_TRUE(Molde(c[cGuid], kGuid)) << c[cGuid];
            EXPECT_EQ(Faixa(c, cMemComponente, c.size()),
                      (Colunas{"0", "0", "0", "ProgID = TQDF.Plano", "Modulo = TQDF"}));
        } else {
            // Without both kinds of line there is nothing to pair: the key is a blank.
            EXPECT_EQ(c[cGuid], " ");
        }
        ASSERT_EQ(ApagaArquivo(Profiler().c_str()), 0u);
    }
    // A scope that was never entered writes nothing either, with exit lines asked for.
    LogIni("Entrada=1\r\nSaida=1\r\n");
    { CTQProfilerEscopo escopo(nullptr); }
    EXPECT_FALSE(apoio::Existe(Profiler()));
    // A file that someone else began gets no header.
    apoio::GravaTudo(Profiler(), "anterior\n");
    Chamada(nullptr);
    const std::vector<std::string> linhas = Parte(apoio::LeTudo(Profiler()), '\n');
    ASSERT_EQ(linhas.size(), 3u);
    EXPECT_EQ(linhas[0], "anterior");
    EXPECT_EQ(Parte(linhas[1], '\t')[cTipo], "ENTROU");
}

// Also the header written once, with the later lines appended.
TEST_F(ProfilerTeste, EntradaESaidaColunaPorColuna)
{
    LogIni("Entrada=1\r\nSaida=1\r\nPerformance=1\r\nMemory=1\r\n");
    Identidade id("0001", 7, 42), outra("0002", 1, 2);
    // User, session, source line, filler; version, fillers; company, application, module, source file,
    // domain user; control, WTS; filler text (all 22 characters, no terminator); CRC.
    id.Registro() = {12, 3456, 99, 5, 0, {}, "0001", "CONTABIL", "TQCONTABIL", "Lancamentos.cpp", "DOMINIO\\fulano",
                     'B', 1, {}, 0};
    std::memset(id.Registro().szFiller, 'F', sizeof id.Registro().szFiller);
    outra.Registro() = id.Registro();
    outra.Registro().cControle = 'A'; // a record the object did not accept
    const char* pares[] = {"Plano", "3", "Vazio", "", nullptr, "sem nome", "Conta", "1.1.01"};
    const DataHoraLocal antes = AgoraLocal();
    Chamada(&id, pares, 4);
    Chamada(&outra);

    const std::vector<Colunas> linhas = LeLog(Profiler(), kCabecalhoProfiler);
    ASSERT_EQ(linhas.size(), 4u);
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
    EXPECT_GT(Numero(c[cMemTotal]), 0u);
    EXPECT_LE(Numero(c[cMemDisponivel]), Numero(c[cMemTotal]));
    EXPECT_GT(Numero(c[cMemComponente]), 0u) << "memory on: the private bytes at entry";
    EXPECT_EQ(Faixa(c, cEspecifica, c.size()), (Colunas{"0", "0", "Plano = 3", "Conta = 1.1.01"}));

    // The exit line repeats the call's columns, pairing key included, with its own measures.
    const Colunas& s = linhas[1];
    ASSERT_EQ(s.size(), c.size());
    EXPECT_EQ(Faixa(s, cProcesso, cTipo), Faixa(c, cProcesso, cTipo));
    EXPECT_EQ(s[cTipo], "SAIU");
    for (size_t i : {size_t(cMemComponente), size_t(cEspecifica), size_t(cEspecifica + 1)})
        Numero(s[i]);
    EXPECT_EQ(Faixa(s, cEspecifica + 2, s.size()), Faixa(c, cEspecifica + 2, c.size()));

    // Each call has a pairing key of its own; a record not accepted shows as zeros.
    EXPECT_EQ(linhas[2][cGuid], linhas[3][cGuid]);
    EXPECT_NE(linhas[2][cGuid], c[cGuid]);
    EXPECT_EQ(Faixa(linhas[2], cEmpresa, cRegEmpresa), (Colunas{"E0002", "U001", "S00000002", thread}));
    EXPECT_EQ(Faixa(linhas[2], cRegEmpresa, cTipo), kRegistroZerado);
}

TEST_F(ProfilerTeste, SemIdentidadeEDiferencasNaoPositivas)
{
    RegistroLog r; // no identity, process, user, function or pairing key: those columns vanish
    r.ticksInicio = 1000, r.ticksFim = 1250, r.memoriaInicio = 5000, r.memoriaFim = 8000;
    TQGravaLinhaLog(r, TipoLinhaLog::Saiu);
    r.ticksInicio = 2000, r.ticksFim = 1999, r.memoriaInicio = 9000, r.memoriaFim = 4000;
    TQGravaLinhaLog(r, TipoLinhaLog::Saiu);
    const std::vector<Colunas> linhas = LeLog(Profiler(), kCabecalhoProfiler);
    ASSERT_EQ(linhas.size(), 2u);
    const Colunas& v = linhas[0];
    ASSERT_EQ(v.size(), kColunasProfiler - 9 - 4);
    EXPECT_EQ(Faixa(v, cEmpresa - 4, cThread - 4), (Colunas{"E", "U000", "S00000000"}));
    EXPECT_EQ(Faixa(v, cRegEmpresa - 4, cTipo - 4), kRegistroZerado);
    EXPECT_EQ(Faixa(v, cMemComponente - 4, v.size()), (Colunas{"8000", "250", "3000"}));
    // A difference that is not positive shows as 0.
    EXPECT_EQ(Faixa(linhas[1], cMemComponente - 4, linhas[1].size()), (Colunas{"4000", "0", "0"}));
}

TEST_F(ProfilerTeste, LinhasDeErroEArquivoPorEmpresa)
{
    const std::string dados = m_dir + "EMP0001" + kSeparador;
    ASSERT_EQ(CriaDiretorio(dados.c_str()), 0u);
    GravaTexto(RaizRegistro::LocalMachine,
               CTQPath::CombinaChave(CTQPath::CombinaChave(kChaveSuite, kSubchaveEmpresas), "0001"),
               TQCodigoModulo(kModuloDF).c_str(), dados);
    Identidade comDados("0001", 1, 1), semDados("0002", 1, 1), semEmpresa("", 2, 3);
    RegistroLog r;
    r.processo = TQNomeProcesso(), r.usuarioLocal = "fulano", r.classeFuncao = "CClassificacao::Inicializa";
    r.memoriaInicio = 123456;
    const char* valores[] = {"1.18.0", "Windows 10", "Classificacao", "120", "hr = Abre() = 0x80040002"};
    for (int i = 0; i < 5; ++i)
        r.nomes[i] = "n", r.valores[i] = valores[i];
    r.nomes[5] = "Extra", r.valores[5] = "nunca";
    for (Identidade* id : {&comDados, &semDados, &semEmpresa}) {
        r.identidade = id;
        TQGravaLinhaLog(r, TipoLinhaLog::Erro);
    }
    // No "log.ini": error lines do not ask for one, and never go to the profiler file.
    EXPECT_FALSE(apoio::Existe(Profiler()));
    const std::vector<Colunas> base = LeLog(dados + "TQProfilerErros_Base_" + AnoMes() + ".log", kCabecalhoErros);
    const std::vector<Colunas> pgms = LeLog(ErrosPgms(), kCabecalhoErros);
    ASSERT_EQ(base.size(), 1u);
    ASSERT_EQ(pgms.size(), 2u);
    EXPECT_EQ(base[0][cEmpresa - 1], "E0001");
    EXPECT_EQ(pgms[0][cEmpresa - 1], "E0002");
    const Colunas& c = pgms[1];
    // No pairing key, no parameters.
    ASSERT_EQ(c.size(), kColunasErros - 9 - 1);
    EXPECT_EQ(Faixa(c, cProcesso, cGuid), (Colunas{TQNomeProcesso(), "fulano", "CClassificacao::Inicializa"}));
    EXPECT_EQ(c[cTipo - 1], "ERRO");
    EXPECT_EQ(Faixa(c, cMemComponente - 1, c.size()),
              (Colunas{"123456", "1.18.0", "Windows 10", "Classificacao", "120", "hr = Abre() = 0x80040002"}));
}

TEST_F(ProfilerTeste, NomesDosArquivos)
{
    RegistroLog r;
    const auto nome = [&](int ano, int mes, TipoLinhaLog tipo) {
        r.momento.ano = ano, r.momento.mes = mes;
        return TQArquivoLog(r, tipo);
    };
    EXPECT_EQ(nome(1700, 0, TipoLinhaLog::Erro), m_dir + "TQProfilerErros_Pgms_184800.log");
    EXPECT_EQ(nome(2020, 5, TipoLinhaLog::CoCreate), Profiler());
    // The profiler file's name stays for the life of the process, the module directory does not.
    const std::string outro = m_dir + "outro";
    GravaTexto(RaizRegistro::LocalMachine, kChaveModulo, kValorPath, outro);
    EXPECT_EQ(nome(2020, 5, TipoLinhaLog::Entrou), Profiler());
    EXPECT_EQ(nome(2020, 5, TipoLinhaLog::Erro), CTQPath::Combina(outro, "TQProfilerErros_Pgms_202005.log"));
    // That directory does not exist: the line is lost, nothing fails, nothing is made.
    TQGravaLinhaLog(r, TipoLinhaLog::Erro);
    EXPECT_FALSE(apoio::Existe(outro));
    // Without a module directory the names are bare.
    GravaTexto(RaizRegistro::LocalMachine, kChaveModulo, kValorPath, "");
    TQInvalidaProfilerParaTestes();
    EXPECT_EQ(nome(2020, 5, TipoLinhaLog::Erro), "TQProfilerErros_Pgms_202005.log");
    EXPECT_EQ(nome(2020, 5, TipoLinhaLog::Entrou), "TQProfiler.log");
}

TEST_F(ProfilerTeste, ValidadeDaLeitura)
{
    LogIni("Entrada=1\r\nTimeoutConfig=1\r\n");
    EXPECT_EQ(Letras(TQProfilerConfig::Atual()), "E----L");
    EXPECT_EQ(TQProfilerConfig::ValidadeMs(), 1000u);
    apoio::GravaTudo(m_dir + "log.ini", "[Log]\r\nSaida=1\r\nProcessos=Outro\r\n");
    // Still valid: the values in hand serve.
    EXPECT_EQ(Letras(TQProfilerConfig::Atual()), "E----L");
    EXPECT_EQ(TQProfilerConfig::Processos(), "todos");
    Dorme(1100);
    EXPECT_EQ(Letras(TQProfilerConfig::Atual()), "-S----");
    EXPECT_EQ(TQProfilerConfig::Processos(), "outro");
    EXPECT_EQ(TQProfilerConfig::ValidadeMs(), 600000u);
    // Guardados never re-reads.
    apoio::GravaTudo(m_dir + "log.ini", "[Log]\r\nEntrada=1\r\n");
    TQProfilerConfig::Invalida();
    EXPECT_EQ(Letras(TQProfilerConfig::Guardados()), "-S----");
    EXPECT_EQ(Letras(TQProfilerConfig::Atual()), "E----L");
}

TEST_F(ProfilerTeste, OitoThreadsDeErros)
{
    constexpr int kThreads = 8, kLinhas = 150;
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([t] {
                for (int i = 0; i < kLinhas; ++i) {
                    RegistroLog r;
                    r.classeFuncao = "CTeste::Thread";
                    r.valores[4] = "t" + std::to_string(t) + "-" + std::to_string(i) + "-" + std::string(200, 'x');
                    TQGravaLinhaLog(r, TipoLinhaLog::Erro);
                }
            });
    }
    const std::vector<Colunas> linhas = LeLog(ErrosPgms(), kCabecalhoErros);
    ASSERT_EQ(linhas.size(), size_t(kThreads * kLinhas));
    std::set<std::string> vistas;
    for (const Colunas& c : linhas) {
        // Without process, user and pairing key.
        ASSERT_EQ(c.size(), kColunasErros - 9 - 3);
        ASSERT_EQ(c[cTipo - 3], "ERRO");
        vistas.insert(c.back());
    }
    EXPECT_EQ(vistas.size(), size_t(kThreads * kLinhas));
}

TEST_F(ProfilerTeste, ReleituraEnquantoOutrasThreadsDecidem)
{
    LogIni("Entrada=1\r\nSaida=0\r\nCoCreateInstance=1\r\nMemory=1\r\nProcessos=nenhum\r\n");
    std::atomic<bool> fim{false};
    std::atomic<int> divergentes{0};
    {
        std::vector<std::jthread> leitores;
        for (int t = 0; t < 4; ++t)
            leitores.emplace_back([&] {
                while (!fim.load()) {
                    if (Letras(TQProfilerConfig::Atual()) != "E-C-M-")
                        ++divergentes;
                    Chamada(nullptr);
                }
            });
        for (int i = 0; i < 200; ++i) {
            TQInvalidaProfilerParaTestes();
            Cede();
        }
        fim = true;
    }
    EXPECT_EQ(divergentes.load(), 0);
    EXPECT_FALSE(apoio::Existe(Profiler()));
}
