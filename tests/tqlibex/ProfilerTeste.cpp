// The profiler log: "log.ini", entry and exit lines, object-creation and error lines, their
// layout against the header, the files they go to, and writers in several threads.
#include <atomic>
#include <cstring>
#include <set>
#include <string>
#include <thread>
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

Colunas Separa(const std::string& linha)
{
    Colunas colunas;
    size_t ini = 0;
    for (size_t tab; (tab = linha.find('\t', ini)) != std::string::npos; ini = tab + 1)
        colunas.push_back(linha.substr(ini, tab - ini));
    if (ini < linha.size())
        colunas.push_back(linha.substr(ini)); // the header's last column has no tab
    return colunas;
}

std::vector<std::string> Linhas(const std::string& conteudo)
{
    std::vector<std::string> linhas;
    size_t ini = 0;
    for (size_t fim; (fim = conteudo.find('\n', ini)) != std::string::npos; ini = fim + 1)
        linhas.push_back(conteudo.substr(ini, fim - ini));
    EXPECT_EQ(ini, conteudo.size()) << "the last line has no line feed";
    return linhas;
}

const char* const kCabecalhoComum[] = {
    "Data", "Hora", "Processo", "UsuarioLocal", "ClasseFuncao", "Guid", "Empresa", "Usuario", "Sessao",
    "ThreadID", "Empresa", "Usuario", "NumeroSessao", "UsuarioDominio", "Aplicativo", "ModuleName",
    "ArquivoFonte", "LinhaFonte", "WTS", "Filler", "Filler", "Tipo", "MemoriaDisponivel", "MemoriaTotal",
    "MemoriaComponente"};

Colunas Cabecalho(std::initializer_list<const char*> especificas)
{
    Colunas c(std::begin(kCabecalhoComum), std::end(kCabecalhoComum));
    c.insert(c.end(), especificas.begin(), especificas.end());
    for (int i = 1; i <= 9; ++i)
        c.push_back("Parameter" + std::to_string(i));
    return c;
}

const Colunas kCabecalhoProfiler = Cabecalho({"Duracao", "DeltaMemoria"});
const Colunas kCabecalhoErros = Cabecalho({"VersaoKarvo", "VersaoSO", "Arquivo", "Linha", "Log"});

bool EhGuid(const std::string& t)
{
    if (t.size() != 36)
        return false;
    for (size_t i = 0; i < t.size(); ++i) {
        const bool hifen = i == 8 || i == 13 || i == 18 || i == 23;
        if (hifen ? t[i] != '-' : !std::isxdigit(static_cast<unsigned char>(t[i])))
            return false;
    }
    return true;
}

bool SoDigitos(const std::string& t)
{
    return !t.empty() && t.find_first_not_of("0123456789") == std::string::npos;
}

// An identity whose stored record can be set.
class Identidade : public ITQDF_Profiler {
public:
    Identidade(std::string empresa, uint16_t usuario, uint32_t sessao)
        : m_empresa(std::move(empresa)), m_usuario(usuario), m_sessao(sessao)
    {
    }
    std::string GetEmpresa() override { return m_empresa; }
    uint16_t GetUsuario() override { return m_usuario; }
    uint32_t GetNumeroSessao() override { return m_sessao; }
    _REG_DF_INICIALIZAPS& Registro() { return m_regInicializacao; }

private:
    std::string m_empresa;
    uint16_t m_usuario;
    uint32_t m_sessao;
};

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
        char texto[16];
        std::snprintf(texto, sizeof texto, "%04d%02d", agora.ano, agora.mes);
        return texto;
    }
    std::string ErrosPgms() const { return m_dir + "TQProfilerErros_Pgms_" + AnoMes() + ".log"; }

    // The lines of a log after its header, each split in columns; the header is checked.
    std::vector<Colunas> LeLog(const std::string& arquivo, const Colunas& cabecalho)
    {
        std::vector<Colunas> resultado;
        const std::vector<std::string> linhas = Linhas(apoio::LeTudo(arquivo));
        EXPECT_FALSE(linhas.empty()) << arquivo;
        if (linhas.empty())
            return resultado;
        EXPECT_EQ(Separa(linhas[0]), cabecalho);
        for (size_t i = 1; i < linhas.size(); ++i)
            resultado.push_back(Separa(linhas[i]));
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

TEST(TQProfilerConfigRegras, LinhasAtivas)
{
    const auto ativas = [](bool e, bool s, bool c, bool p, bool m) {
        ValoresProfiler v;
        v.entrada = e, v.saida = s, v.coCreate = c, v.performance = p, v.memory = m;
        return v.LinhasAtivas();
    };
    EXPECT_FALSE(ativas(false, false, false, false, false));
    EXPECT_TRUE(ativas(true, false, false, false, false));
    EXPECT_TRUE(ativas(false, true, false, false, false));
    EXPECT_TRUE(ativas(false, false, true, false, false));
    EXPECT_TRUE(ativas(true, false, false, true, true));
    // Measuring without entry or exit lines is a contradiction: nothing at all.
    EXPECT_FALSE(ativas(false, false, false, true, true));
    EXPECT_FALSE(ativas(false, false, true, true, false));
    EXPECT_FALSE(ativas(false, false, true, false, true));
}

TEST(TQProfilerConfigRegras, ProcessosQueLogam)
{
    EXPECT_TRUE(TQProfilerConfig::ProcessoLoga("todos", "qualquer"));
    EXPECT_TRUE(TQProfilerConfig::ProcessoLoga("nada;xtodosx", "qualquer"));
    EXPECT_TRUE(TQProfilerConfig::ProcessoLoga("zazazu;contabil", "zazazu"));
    EXPECT_TRUE(TQProfilerConfig::ProcessoLoga("zazazu;contabil", "tqcontabil32"));
    EXPECT_TRUE(TQProfilerConfig::ProcessoLoga("a,b fiscal", "fiscal"));
    EXPECT_FALSE(TQProfilerConfig::ProcessoLoga("zazazu;contabil", "fiscal"));
    EXPECT_FALSE(TQProfilerConfig::ProcessoLoga("", "fiscal"));
    EXPECT_FALSE(TQProfilerConfig::ProcessoLoga(" ;, ", "fiscal"));
    // The name is compared as it is given: lower case on both sides.
    EXPECT_FALSE(TQProfilerConfig::ProcessoLoga("zazazu", "ZAZAZU"));
}

TEST(TQProfilerConfigRegras, InterpretaLogIni)
{
    std::string processos;
    unsigned timeout = 0;
    ValoresProfiler v = TQProfilerConfig::Interpreta("", "zazazu", processos, timeout);
    EXPECT_FALSE(v.entrada || v.saida || v.coCreate || v.performance || v.memory);
    EXPECT_TRUE(v.processoLoga);
    EXPECT_EQ(processos, "todos");
    EXPECT_EQ(timeout, 600u);

    v = TQProfilerConfig::Interpreta("[log]\nENTRADA=1\nSaida=2\nCoCreateInstance=1\nPerformance=01\nMemory=1x\n"
                                     "TimeoutConfig=30\nProcessos=Contabil;ZAZAZU\n",
                                     "zazazu", processos, timeout);
    EXPECT_TRUE(v.entrada);
    EXPECT_FALSE(v.saida); // on only when exactly 1
    EXPECT_TRUE(v.coCreate);
    EXPECT_TRUE(v.performance);
    EXPECT_TRUE(v.memory);
    EXPECT_EQ(timeout, 30u);
    EXPECT_EQ(processos, "contabil;zazazu");
    EXPECT_TRUE(v.processoLoga);

    v = TQProfilerConfig::Interpreta("[Log]\nProcessos=" + std::string(300, 'x') + "\n", "zazazu", processos, timeout);
    EXPECT_EQ(processos.size(), 260u);
    EXPECT_FALSE(v.processoLoga);
}

TEST_F(ProfilerTeste, EntradaESaidaPareadasPeloGuid)
{
    LogIni("Entrada=1\r\nSaida=1\r\n");
    Identidade id("0001", 7, 42);
    Chamada(&id);
    const std::vector<Colunas> linhas = LeLog(Profiler(), kCabecalhoProfiler);
    ASSERT_EQ(linhas.size(), 2u);
    EXPECT_EQ(linhas[0][cTipo], "ENTROU");
    EXPECT_EQ(linhas[1][cTipo], "SAIU");
    EXPECT_TRUE(EhGuid(linhas[0][cGuid])) << linhas[0][cGuid];
    EXPECT_EQ(linhas[0][cGuid], linhas[1][cGuid]);
    // Each call has a pairing key of its own.
    Chamada(&id);
    const std::vector<Colunas> depois = LeLog(Profiler(), kCabecalhoProfiler);
    ASSERT_EQ(depois.size(), 4u);
    EXPECT_EQ(depois[2][cGuid], depois[3][cGuid]);
    EXPECT_NE(depois[2][cGuid], depois[0][cGuid]);
}

TEST_F(ProfilerTeste, SoEntradaOuSoSaida)
{
    LogIni("Entrada=1\r\n");
    Chamada(nullptr);
    std::vector<Colunas> linhas = LeLog(Profiler(), kCabecalhoProfiler);
    ASSERT_EQ(linhas.size(), 1u);
    EXPECT_EQ(linhas[0][cTipo], "ENTROU");
    EXPECT_EQ(linhas[0][cGuid], " ");

    ASSERT_EQ(ApagaArquivo(Profiler().c_str()), 0u);
    LogIni("Saida=1\r\n");
    Chamada(nullptr);
    linhas = LeLog(Profiler(), kCabecalhoProfiler);
    ASSERT_EQ(linhas.size(), 1u);
    EXPECT_EQ(linhas[0][cTipo], "SAIU");
    EXPECT_EQ(linhas[0][cGuid], " ");
}

TEST_F(ProfilerTeste, NadaEscritoSemLinhasAtivas)
{
    for (const char* ini : {"Performance=1\r\nMemory=1\r\n", "Entrada=0\r\nSaida=2\r\n", "CoCreateInstance=1\r\n"}) {
        LogIni(ini);
        Chamada(nullptr);
        EXPECT_FALSE(apoio::Existe(Profiler())) << ini;
    }
    // A scope that was never entered writes nothing either.
    LogIni("Entrada=1\r\nSaida=1\r\n");
    { CTQProfilerEscopo escopo(nullptr); }
    EXPECT_FALSE(apoio::Existe(Profiler()));
}

TEST_F(ProfilerTeste, SemLogIniNadaAlemDosErros)
{
    Chamada(nullptr);
    TQGravaLinhaCoCreate(nullptr, kFuncao, "TQ.Plano", "TQDF");
    EXPECT_FALSE(apoio::Existe(Profiler()));
    RegistroLog erro;
    TQGravaLinhaLog(erro, TipoLinhaLog::Erro);
    EXPECT_EQ(LeLog(ErrosPgms(), kCabecalhoErros).size(), 1u);
}

TEST_F(ProfilerTeste, ProcessosEscolhemQuemLoga)
{
    const std::string nome = TQNomeProcesso();
    ASSERT_FALSE(nome.empty());
    // The process's own name in capitals, cut to a part of it, after another name.
    std::string parte = nome.substr(nome.size() / 2);
    for (char& c : parte)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    struct Caso {
        std::string processos;
        bool loga;
    };
    const Caso casos[] = {{"nenhum;" + parte, true}, {"nenhum," + parte, true}, {"nenhum " + parte, true},
                          {"nenhum;outro", false},   {"nenhum TODOS", true},    {"", false}};
    for (const Caso& caso : casos) {
        LogIni("Entrada=1\r\nProcessos=" + caso.processos + "\r\n");
        Chamada(nullptr);
        EXPECT_EQ(apoio::Existe(Profiler()), caso.loga) << caso.processos;
        ApagaArquivo(Profiler().c_str());
    }
}

TEST_F(ProfilerTeste, CabecalhoUmaVezDepoisAcrescimo)
{
    LogIni("Entrada=1\r\nSaida=1\r\n");
    for (int i = 0; i < 3; ++i)
        Chamada(nullptr);
    const std::string conteudo = apoio::LeTudo(Profiler());
    EXPECT_EQ(conteudo.find("Data\tHora"), 0u);
    EXPECT_EQ(conteudo.find("Data\tHora", 1), std::string::npos);
    EXPECT_EQ(LeLog(Profiler(), kCabecalhoProfiler).size(), 6u);
    // A file that someone else began keeps its lines and gets no header.
    ASSERT_EQ(ApagaArquivo(Profiler().c_str()), 0u);
    apoio::GravaTudo(Profiler(), "anterior\n");
    Chamada(nullptr);
    const std::vector<std::string> linhas = Linhas(apoio::LeTudo(Profiler()));
    ASSERT_EQ(linhas.size(), 3u);
    EXPECT_EQ(linhas[0], "anterior");
    EXPECT_EQ(Separa(linhas[1])[cTipo], "ENTROU");
}

TEST_F(ProfilerTeste, LinhaDeEntradaColunaPorColuna)
{
    LogIni("Entrada=1\r\nSaida=1\r\nPerformance=1\r\nMemory=1\r\n");
    Identidade id("0001", 7, 42);
    _REG_DF_INICIALIZAPS& reg = id.Registro();
    reg.ulUsuario = 12;
    reg.ulNumeroSessao = 3456;
    std::strcpy(reg.szEmpresa, "0001");
    std::strcpy(reg.szNomeUsuarioDominio, "DOMINIO\\fulano");
    std::strcpy(reg.szAplicativo, "CONTABIL");
    std::strcpy(reg.szModuleName, "TQCONTABIL");
    std::strcpy(reg.szArquivoFonte, "Lancamentos.cpp");
    reg.ulLinhaFonte = 99;
    reg.cWTS = 1;
    reg.ulFiller = 5;
    std::memset(reg.szFiller, 'F', sizeof reg.szFiller); // no terminator: 22 characters shown
    reg.cControle = 'B';
    const char* pares[] = {"Plano", "3", "Vazio", "", nullptr, "sem nome", "Conta", "1.1.01"};
    const DataHoraLocal antes = AgoraLocal();
    Chamada(&id, pares, 4);

    const std::vector<Colunas> linhas = LeLog(Profiler(), kCabecalhoProfiler);
    ASSERT_EQ(linhas.size(), 2u);
    const Colunas& c = linhas[0];
    // Two of nine parameters: the pairs with a name and a value.
    ASSERT_EQ(c.size(), kCabecalhoProfiler.size() - 7);
    char data[32];
    std::snprintf(data, sizeof data, "%02d/%02d/%04d", antes.dia, antes.mes, antes.ano);
    EXPECT_EQ(c[cData], data);
    ASSERT_EQ(c[cHora].size(), 12u);
    EXPECT_EQ(c[cHora][2], ':');
    EXPECT_EQ(c[cHora][5], ':');
    EXPECT_EQ(c[cHora][8], '.');
    EXPECT_EQ(c[cProcesso], TQNomeProcesso());
    EXPECT_EQ(c[cUsuarioLocal], NomeUsuarioSO());
    EXPECT_EQ(c[cClasseFuncao], kFuncao);
    EXPECT_TRUE(EhGuid(c[cGuid]));
    EXPECT_EQ(c[cEmpresa], "E0001");
    EXPECT_EQ(c[cUsuario], "U007");
    EXPECT_EQ(c[cSessao], "S00000042");
    char thread[16];
    std::snprintf(thread, sizeof thread, "T%08d", int(IdThread()));
    EXPECT_EQ(c[cThread], thread);
    EXPECT_EQ(c[cRegEmpresa], "0001");
    EXPECT_EQ(c[cRegUsuario], "12");
    EXPECT_EQ(c[cRegSessao], "3456");
    EXPECT_EQ(c[cRegUsuarioDominio], "DOMINIO\\fulano");
    EXPECT_EQ(c[cRegAplicativo], "CONTABIL");
    EXPECT_EQ(c[cRegModulo], "TQCONTABIL");
    EXPECT_EQ(c[cRegFonte], "Lancamentos.cpp");
    EXPECT_EQ(c[cRegLinha], "99");
    EXPECT_EQ(c[cRegWTS], "1");
    EXPECT_EQ(c[cRegFiller], "5");
    EXPECT_EQ(c[cRegFillerTexto], std::string(22, 'F'));
    EXPECT_EQ(c[cTipo], "ENTROU");
    EXPECT_TRUE(SoDigitos(c[cMemDisponivel]));
    EXPECT_TRUE(SoDigitos(c[cMemTotal]));
    EXPECT_GE(std::stoull(c[cMemTotal]), std::stoull(c[cMemDisponivel]));
    EXPECT_GT(std::stoull(c[cMemTotal]), 0u);
    // Memory on: the private bytes at entry.
    EXPECT_TRUE(SoDigitos(c[cMemComponente]));
    EXPECT_GT(std::stoull(c[cMemComponente]), 0u);
    EXPECT_EQ(c[cEspecifica], "0");
    EXPECT_EQ(c[cEspecifica + 1], "0");
    EXPECT_EQ(c[cEspecifica + 2], "Plano = 3");
    EXPECT_EQ(c[cEspecifica + 3], "Conta = 1.1.01");

    // The exit line repeats the call's columns, with its own measures.
    const Colunas& s = linhas[1];
    ASSERT_EQ(s.size(), c.size());
    EXPECT_EQ(s[cTipo], "SAIU");
    EXPECT_EQ(s[cGuid], c[cGuid]);
    EXPECT_EQ(s[cClasseFuncao], kFuncao);
    EXPECT_EQ(s[cRegFillerTexto], c[cRegFillerTexto]);
    EXPECT_TRUE(SoDigitos(s[cEspecifica]));
    EXPECT_TRUE(SoDigitos(s[cEspecifica + 1]));
    EXPECT_EQ(s[cEspecifica + 2], "Plano = 3");
}

TEST_F(ProfilerTeste, RegistroSoComControleB)
{
    LogIni("Entrada=1\r\n");
    Identidade id("0002", 1, 2);
    std::strcpy(id.Registro().szAplicativo, "CONTABIL");
    id.Registro().ulUsuario = 12;
    id.Registro().cControle = 'A';
    Chamada(&id);
    // Without an identity the identity columns are empty and zero.
    Chamada(nullptr);
    const std::vector<Colunas> linhas = LeLog(Profiler(), kCabecalhoProfiler);
    ASSERT_EQ(linhas.size(), 2u);
    const Colunas zerado = {"", "0", "0", "", "", "", "", "0", "0", "0", ""};
    for (const Colunas& c : linhas)
        EXPECT_EQ(Colunas(c.begin() + cRegEmpresa, c.begin() + cTipo), zerado);
    EXPECT_EQ(Colunas(linhas[1].begin() + cEmpresa, linhas[1].begin() + cThread),
              (Colunas{"E", "U000", "S00000000"}));
}

TEST_F(ProfilerTeste, ColunasOpcionaisVaziasSomem)
{
    RegistroLog r; // no process, user, function or pairing key
    r.memoriaInicio = 77;
    TQGravaLinhaLog(r, TipoLinhaLog::Entrou);
    const std::vector<Colunas> linhas = LeLog(Profiler(), kCabecalhoProfiler);
    ASSERT_EQ(linhas.size(), 1u);
    const Colunas& c = linhas[0];
    ASSERT_EQ(c.size(), kCabecalhoProfiler.size() - 9 - 4);
    EXPECT_EQ(c[cEmpresa - 4], "E");
    EXPECT_EQ(c[cTipo - 4], "ENTROU");
    EXPECT_EQ(c[cMemComponente - 4], "77");
}

TEST_F(ProfilerTeste, SaidaComMemoriaMenorDaDeltaZero)
{
    RegistroLog r;
    r.processo = "p", r.usuarioLocal = "u", r.classeFuncao = "f", r.guid = " ";
    r.ticksInicio = 1000, r.ticksFim = 1250;
    r.memoriaInicio = 5000, r.memoriaFim = 8000;
    TQGravaLinhaLog(r, TipoLinhaLog::Saiu);
    r.ticksInicio = 2000, r.ticksFim = 1999;
    r.memoriaInicio = 9000, r.memoriaFim = 4000;
    TQGravaLinhaLog(r, TipoLinhaLog::Saiu);
    const std::vector<Colunas> linhas = LeLog(Profiler(), kCabecalhoProfiler);
    ASSERT_EQ(linhas.size(), 2u);
    EXPECT_EQ(Colunas(linhas[0].begin() + cMemComponente, linhas[0].end()), (Colunas{"8000", "250", "3000"}));
    EXPECT_EQ(Colunas(linhas[1].begin() + cMemComponente, linhas[1].end()), (Colunas{"4000", "0", "0"}));
}

TEST_F(ProfilerTeste, LinhaDeCriacao)
{
    Identidade id("0001", 3, 4);
    TQGravaLinhaCoCreate(&id, "CTQComPtr::CriaInstancia", "TQDF.Plano", "TQDF");
    EXPECT_FALSE(apoio::Existe(Profiler()));
    LogIni("CoCreateInstance=1\r\n");
    TQGravaLinhaCoCreate(&id, "CTQComPtr::CriaInstancia", "TQDF.Plano", "TQDF");
    LogIni("CoCreateInstance=1\r\nProcessos=outro\r\n");
    TQGravaLinhaCoCreate(&id, "CTQComPtr::CriaInstancia", "TQDF.Plano", "TQDF");
    const std::vector<Colunas> linhas = LeLog(Profiler(), kCabecalhoProfiler);
    ASSERT_EQ(linhas.size(), 1u);
    const Colunas& c = linhas[0];
    EXPECT_EQ(c[cClasseFuncao], "CTQComPtr::CriaInstancia");
    EXPECT_TRUE(EhGuid(c[cGuid]));
    EXPECT_EQ(c[cTipo], "COCREATE");
    EXPECT_EQ(Colunas(c.begin() + cMemComponente, c.end()),
              (Colunas{"0", "0", "0", "ProgID = TQDF.Plano", "Modulo = TQDF"}));
}

TEST_F(ProfilerTeste, ErroColunaPorColuna)
{
    Identidade id("", 2, 3);
    RegistroLog r;
    r.identidade = &id;
    r.processo = TQNomeProcesso();
    r.usuarioLocal = "fulano";
    r.classeFuncao = "CClassificacao::Inicializa";
    r.memoriaInicio = 123456;
    const char* valores[] = {"1.18.0", "Windows 10", "Classificacao", "120", "hr = Abre() = 0x80040002"};
    for (int i = 0; i < 5; ++i)
        r.nomes[i] = "n", r.valores[i] = valores[i];
    r.nomes[5] = "Extra", r.valores[5] = "nunca";
    TQGravaLinhaLog(r, TipoLinhaLog::Erro);
    EXPECT_FALSE(apoio::Existe(Profiler()));
    const std::vector<Colunas> linhas = LeLog(ErrosPgms(), kCabecalhoErros);
    ASSERT_EQ(linhas.size(), 1u);
    const Colunas& c = linhas[0];
    // No pairing key, no parameters.
    ASSERT_EQ(c.size(), kCabecalhoErros.size() - 9 - 1);
    EXPECT_EQ(c[cClasseFuncao], "CClassificacao::Inicializa");
    EXPECT_EQ(c[cEmpresa - 1], "E");
    EXPECT_EQ(c[cTipo - 1], "ERRO");
    EXPECT_EQ(Colunas(c.begin() + cMemComponente - 1, c.end()),
              (Colunas{"123456", "1.18.0", "Windows 10", "Classificacao", "120", "hr = Abre() = 0x80040002"}));
}

TEST_F(ProfilerTeste, ArquivoDeErrosPorEmpresa)
{
    const std::string dados = m_dir + "EMP0001" + kSeparador;
    ASSERT_EQ(CriaDiretorio(dados.c_str()), 0u);
    GravaTexto(RaizRegistro::LocalMachine,
               CTQPath::CombinaChave(CTQPath::CombinaChave(kChaveSuite, kSubchaveEmpresas), "0001"),
               TQCodigoModulo(kModuloDF).c_str(), dados);
    Identidade comDados("0001", 1, 1), semDados("0002", 1, 1), semEmpresa("", 1, 1);
    for (Identidade* id : {&comDados, &semDados, &semEmpresa}) {
        RegistroLog r;
        r.identidade = id;
        r.valores[4] = id->GetEmpresa();
        TQGravaLinhaLog(r, TipoLinhaLog::Erro);
    }
    const std::vector<Colunas> base = LeLog(dados + "TQProfilerErros_Base_" + AnoMes() + ".log", kCabecalhoErros);
    ASSERT_EQ(base.size(), 1u);
    EXPECT_EQ(base[0].back(), "0001");
    const std::vector<Colunas> pgms = LeLog(ErrosPgms(), kCabecalhoErros);
    ASSERT_EQ(pgms.size(), 2u);
    EXPECT_EQ(pgms[0].back(), "0002");
    EXPECT_EQ(pgms[1].back(), "");
}

TEST_F(ProfilerTeste, NomesDosArquivos)
{
    RegistroLog r;
    r.momento.ano = 2020, r.momento.mes = 5;
    EXPECT_EQ(TQArquivoLog(r, TipoLinhaLog::Erro), m_dir + "TQProfilerErros_Pgms_202005.log");
    r.momento.ano = 1700, r.momento.mes = 0;
    EXPECT_EQ(TQArquivoLog(r, TipoLinhaLog::Erro), m_dir + "TQProfilerErros_Pgms_184800.log");
    r.momento.ano = 9999, r.momento.mes = 123;
    EXPECT_EQ(TQArquivoLog(r, TipoLinhaLog::Erro), m_dir + "TQProfilerErros_Pgms_471799.log");
    for (TipoLinhaLog tipo : {TipoLinhaLog::Entrou, TipoLinhaLog::Saiu, TipoLinhaLog::CoCreate})
        EXPECT_EQ(TQArquivoLog(r, tipo), Profiler());
    // The profiler file's name stays for the life of the process, the module directory does not.
    GravaTexto(RaizRegistro::LocalMachine, kChaveModulo, kValorPath, m_dir + "outro");
    EXPECT_EQ(TQArquivoLog(r, TipoLinhaLog::Entrou), Profiler());
    EXPECT_NE(TQArquivoLog(r, TipoLinhaLog::Erro), m_dir + "TQProfilerErros_Pgms_471799.log");
}

TEST_F(ProfilerTeste, SemDiretorioDoModuloNomeNu)
{
    GravaTexto(RaizRegistro::LocalMachine, kChaveModulo, kValorPath, "");
    TQInvalidaProfilerParaTestes();
    RegistroLog r;
    r.momento.ano = 2020, r.momento.mes = 5;
    EXPECT_EQ(TQArquivoLog(r, TipoLinhaLog::Erro), "TQProfilerErros_Pgms_202005.log");
    EXPECT_EQ(TQArquivoLog(r, TipoLinhaLog::Entrou), "TQProfiler.log");
}

TEST_F(ProfilerTeste, LinhaPerdidaSemAviso)
{
    // The module directory does not exist: nothing is written, nothing fails.
    GravaTexto(RaizRegistro::LocalMachine, kChaveModulo, kValorPath, m_dir + "nao-existe");
    TQInvalidaProfilerParaTestes();
    RegistroLog r;
    TQGravaLinhaLog(r, TipoLinhaLog::Erro);
    EXPECT_FALSE(apoio::Existe(m_dir + "nao-existe"));
}

TEST_F(ProfilerTeste, ValidadeDaLeitura)
{
    LogIni("Entrada=1\r\nTimeoutConfig=1\r\n");
    EXPECT_TRUE(TQProfilerConfig::Atual().entrada);
    EXPECT_EQ(TQProfilerConfig::ValidadeMs(), 1000u);
    apoio::GravaTudo(m_dir + "log.ini", "[Log]\r\nSaida=1\r\nProcessos=Outro\r\n");
    // Still valid: the values in hand serve.
    EXPECT_TRUE(TQProfilerConfig::Atual().entrada);
    EXPECT_EQ(TQProfilerConfig::Processos(), "todos");
    Dorme(1100);
    const ValoresProfiler depois = TQProfilerConfig::Atual();
    EXPECT_FALSE(depois.entrada);
    EXPECT_TRUE(depois.saida);
    EXPECT_FALSE(depois.processoLoga);
    EXPECT_EQ(TQProfilerConfig::Processos(), "outro");
    EXPECT_EQ(TQProfilerConfig::ValidadeMs(), 600000u);
    // Guardados never re-reads.
    apoio::GravaTudo(m_dir + "log.ini", "[Log]\r\nEntrada=1\r\n");
    TQProfilerConfig::Invalida();
    EXPECT_FALSE(TQProfilerConfig::Guardados().entrada);
    EXPECT_TRUE(TQProfilerConfig::Atual().entrada);
}

TEST_F(ProfilerTeste, OitoThreadsDeErros)
{
    constexpr int kThreads = 8, kLinhas = 150;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kLinhas; ++i) {
                RegistroLog r;
                r.classeFuncao = "CTeste::Thread";
                r.valores[4] = "t" + std::to_string(t) + "-" + std::to_string(i) + "-" + std::string(200, 'x');
                TQGravaLinhaLog(r, TipoLinhaLog::Erro);
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    const std::vector<Colunas> linhas = LeLog(ErrosPgms(), kCabecalhoErros);
    ASSERT_EQ(linhas.size(), size_t(kThreads * kLinhas));
    std::set<std::string> vistas;
    for (const Colunas& c : linhas) {
        // Without process, user and pairing key.
        ASSERT_EQ(c.size(), kCabecalhoErros.size() - 9 - 3);
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
    std::vector<std::thread> leitores;
    for (int t = 0; t < 4; ++t) {
        leitores.emplace_back([&] {
            while (!fim.load()) {
                const ValoresProfiler v = TQProfilerConfig::Atual();
                if (!v.entrada || v.saida || !v.coCreate || v.performance || !v.memory || v.processoLoga)
                    ++divergentes;
                CTQProfilerEscopo escopo(nullptr);
                escopo.Entra(kFuncao);
            }
        });
    }
    for (int i = 0; i < 200; ++i) {
        TQInvalidaProfilerParaTestes();
        Cede();
    }
    fim = true;
    for (std::thread& t : leitores)
        t.join();
    EXPECT_EQ(divergentes.load(), 0);
    EXPECT_FALSE(apoio::Existe(Profiler()));
}
