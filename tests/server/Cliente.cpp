#include "Cliente.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>

#include "apoio/Apoio.h"
#include "apoio/PlanoPrincipal.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQPath.h"
#include "df/tqlibex/TQProfiler.h"
#include "platform/Texto.h"

#ifdef _WIN32
#include "server/TQDF_PlanoAlt.h"
#else
#include "platform/Biblioteca.h"
#endif

namespace cliente {

namespace {

// The error logs in a directory by name, the whole of each.
std::map<std::string, std::string> Logs(const std::string& dir, const char* prefixo)
{
    std::map<std::string, std::string> logs;
    for (const auto& entrada : std::filesystem::directory_iterator(dir)) {
        const std::string nome = entrada.path().filename().string();
        if (nome.rfind(prefixo, 0) == 0)
            logs[nome] = apoio::LeTudo(entrada.path().string());
    }
    return logs;
}

} // namespace

#ifndef _WIN32
static const Modulo* g_modulo = nullptr;
#endif

const Modulo& Zazazu()
{
#ifdef _WIN32
    static const Modulo modulo{ZazObtemObjetoClasse, ZazPodeDescarregar, ::SysAllocString, ::SysFreeString,
                               [](BSTR b) -> uint32_t { return ::SysStringLen(b); }, ::CoTaskMemFree};
    return modulo;
#else
    if (g_modulo == nullptr)
        UsaModulo(ZAZ_MODULO_ZAZAZU);
    return *g_modulo;
#endif
}

#ifndef _WIN32
void UsaModulo(const std::string& caminho)
{
    struct Carregado {
        plataforma::Biblioteca biblioteca;
        Modulo modulo{};
    };
    static std::map<std::string, std::unique_ptr<Carregado>> carregados;
    std::unique_ptr<Carregado>& c = carregados[caminho];
    if (!c) {
        c = std::make_unique<Carregado>();
        EXPECT_TRUE(c->biblioteca.Carrega(caminho.c_str())) << caminho;
        const auto pega = [&](auto& destino, const char* nome) {
            destino = reinterpret_cast<std::remove_reference_t<decltype(destino)>>(c->biblioteca.Simbolo(nome));
            EXPECT_NE(destino, nullptr) << nome;
        };
        pega(c->modulo.DllGetClassObject, "DllGetClassObject");
        pega(c->modulo.DllCanUnloadNow, "DllCanUnloadNow");
        pega(c->modulo.SysAllocString, "SysAllocString");
        pega(c->modulo.SysFreeString, "SysFreeString");
        pega(c->modulo.SysStringLen, "SysStringLen");
        pega(c->modulo.CoTaskMemFree, "CoTaskMemFree");
    }
    g_modulo = &c->modulo;
}
#endif

uint64_t Crc64(const void* dados, size_t bytes)
{
    uint64_t crc = 0;
    const auto* p = static_cast<const uint8_t*>(dados);
    for (size_t i = 0; i < bytes; ++i) {
        crc ^= p[i];
        for (int b = 0; b < 8; ++b)
            crc = (crc & 1) ? (crc >> 1) ^ 0xC96C5795D7870F42ull : crc >> 1;
    }
    return crc;
}

_REG_DF_INICIALIZAPS Sessao(const char* empresa, uint32_t usuario)
{
    _REG_DF_INICIALIZAPS r{};
    r.ulUsuario = usuario;
    r.ulNumeroSessao = 4242;
    r.ulLinhaFonte = 99;
    r.usVersaoKarvo = 118;
    std::strcpy(r.szEmpresa, empresa);
    std::strcpy(r.szAplicativo, "cliente");
    std::strcpy(r.szModuleName, "cliente");
    std::strcpy(r.szArquivoFonte, "Cliente.cpp");
    std::strcpy(r.szNomeUsuarioDominio, "contador");
    r.cControle = 'B';
    r.uiCRC = Crc64(&r, 288);
    return r;
}

HRESULT Cria(ITQDF_PlanoAlt** pp)
{
    Ptr<IClassFactory> fabrica;
    HRESULT hr = Zazazu().DllGetClassObject(CLSID_TQDF_PlanoAlt, IID_IClassFactory, reinterpret_cast<void**>(&fabrica));
    if (TQFalhou(hr))
        return hr;
    return fabrica->CreateInstance(nullptr, IID_ITQDF_PlanoAlt, reinterpret_cast<void**>(pp));
}

void ClienteTeste::SetUp()
{
    SuiteInstalada::SetUp();
    GravaTexto(plataforma::RaizRegistro::LocalMachine, CTQPath::CombinaChave(kChaveSuiteBarra, "Empresas\\0001"), "DF",
               m_dir);
    for (const auto& [nome, texto] : Logs(teste::DiretorioSuite(), "TQProfilerErros_Pgms_"))
        m_logsSemEmpresa[nome] = texto.size();
    AntesDeCriar();
    if (HasFatalFailure())
        return;
    ASSERT_EQ(Cria(&m_obj), S_OK);
}

void ClienteTeste::TearDown()
{
    m_obj.Libera();
    SuiteInstalada::TearDown();
}

void ClienteTeste::Inicializa() { ASSERT_EQ(m_obj->Inicializa_Padrao(Sessao("0001")), S_OK); }

void ClienteTeste::SelecionaPlano(const char* mascara)
{
    REG_DADOS_PLANO_ALT_PS d{};
    std::strcpy(d.cNomePlano, "Plano");
    LONG plano = 0;
    ASSERT_EQ(m_obj->GravaPlano(0, d, &plano), S_OK);
    REG_MASCARA_ALT_PS m{};
    std::memcpy(m.Mascara[1], mascara, std::strlen(mascara));
    ASSERT_EQ(m_obj->SetMascara(plano, m), S_OK);
    ASSERT_EQ(m_obj->SetPlano(plano), S_OK);
}


LONG GravaConta(ITQDF_PlanoAlt* obj, const char* classificacao, char tipo, const char* codigo)
{
    REG_PLANO_ALT_PS r{};
    std::strcpy(r.cClassificacao, classificacao);
    std::strcpy(r.cCodigoProprio, codigo);
    std::strcpy(r.cNome, "Conta");
    r.cTipo = uint8_t(tipo);
    LONG posicao = 0;
    EXPECT_EQ(obj->Grava(0, r, &posicao), S_OK) << classificacao;
    return posicao;
}

std::vector<REG_DADOS_PLANO_ALT_PS> ClienteTeste::Planos()
{
    ARRAY_REG_DADOS_PLANO_ALT_PS* lista = nullptr;
    EXPECT_EQ(m_obj->BuscaPlanos(&lista), S_OK);
    return TomaBloco(lista, &ARRAY_REG_DADOS_PLANO_ALT_PS::pArrayDadosPlanoAlt);
}

std::string SessaoCompleta(ITQDF_PlanoAlt* o, const char* empresa, const std::string& dir)
{
    std::string t;
    const auto anota = [&t](HRESULT hr, const auto& saida) {
        t += std::to_string(hr) + ":" + std::string(reinterpret_cast<const char*>(&saida), sizeof saida) + "\n";
        return hr;
    };
    teste::GravaPlanoPrincipal(dir, {{"1", 1, "", "Ativo"}, {"1.1.05", 0, "105", "Caixa"}});
    EXPECT_EQ(anota(o->Inicializa_Padrao(Sessao(empresa)), 0), S_OK);

    // The catalogue: two appends, a rewrite in place, a deletion.
    REG_DADOS_PLANO_ALT_PS d{};
    LONG plano = 0;
    const struct {
        const char* nome;
        LONG em, posicao;
    } planos[] = {{"Gerencial", 0, 1}, {"Or\xE7" "amento", 0, 2}, {"Fiscal", 1, 1}};
    for (const auto& p : planos) {
        std::strcpy(d.cNomePlano, p.nome);
        EXPECT_EQ(anota(o->GravaPlano(p.em, d, &plano), plano), S_OK);
        EXPECT_EQ(plano, p.posicao) << p.nome;
    }
    LONG exclui[] = {2};
    EXPECT_EQ(anota(o->ExcluiPlanos(ARRAY_REG_EXCLUI_PLANO_ALT_PS{1, {}, exclui, 0}), 0), S_OK);
    ARRAY_REG_DADOS_PLANO_ALT_PS* lista = nullptr;
    EXPECT_EQ(anota(o->BuscaPlanos(&lista), 0), S_OK);
    for (const auto& p : TomaBloco(lista, &ARRAY_REG_DADOS_PLANO_ALT_PS::pArrayDadosPlanoAlt))
        anota(0, p);

    // Masks and accounts, read one, several, by code, by title, and the whole index.
    REG_MASCARA_ALT_PS m{};
    std::strcpy(m.Mascara[1], "9.9.99");
    EXPECT_EQ(anota(o->SetMascara(1, m), 0), S_OK);
    EXPECT_EQ(anota(o->SetPlano(1), 0), S_OK);
    const LONG t1 = GravaConta(o, "1", 'T', ""), t11 = GravaConta(o, "1.1", 'T', "");
    const LONG a1 = GravaConta(o, "1.1.01", 'A', "A1"), a2 = GravaConta(o, "1.1.02", 'A', "A2");
    REG_PLANO_ALT_PS lida{};
    EXPECT_EQ(anota(o->Le(a1, &lida), lida), S_OK);
    EXPECT_STREQ(lida.cCodigoProprio, "A1");
    ULONG quantidade = 0;
    EXPECT_EQ(anota(o->GetQuantidadeRegistros(&quantidade), quantidade), S_OK);
    EXPECT_EQ(quantidade, 5u) << "the position the next account gets";
    LONG posicoes[] = {a2, t1};
    REG_PLANO_ALT_PS duas[2] = {};
    EXPECT_EQ(anota(o->BuscaDados(2, posicoes, duas), duas), S_OK);
    LONG achada = 0;
    EXPECT_EQ(anota(o->Existe(Texto(u"A2"), 1, &achada, &lida), lida), S_OK);
    EXPECT_EQ(achada, a2);
    EXPECT_EQ(anota(o->ExisteContaTitulo(Texto(u"1.1"), &achada), achada), S_OK);
    EXPECT_EQ(achada, t1);
    EXPECT_EQ(anota(o->ExisteSubordinadas(Texto(u"1")), 0), S_OK);
    ARRAY_REGCON_INDEX_ALT_PS* indice = nullptr;
    EXPECT_EQ(anota(o->GetPlanoIndex(Texto(u"X"), 0, &indice), 0), S_OK);
    const auto entradas = TomaBloco(indice, &ARRAY_REGCON_INDEX_ALT_PS::pArrayRegConIndex);
    EXPECT_EQ(entradas.size(), 4u);
    for (const auto& e : entradas)
        anota(0, e);
    // A byte block in: no function is known.
    uint8_t bytes[] = {1, 2, 3};
    _REG_DF_FUNCAO_GENERICAPS* saida = nullptr;
    EXPECT_EQ(anota(o->FuncaoGenerica(0x12345678, _REG_DF_FUNCAO_GENERICAPS{3, {}, bytes, 0}, &saida), 0),
              TQHResult(0x80004001));

    // A mask change rewrites the accounts and keeps the chart as it was beside it.
    const std::string antes = apoio::LeTudo(dir + "DFPLA001.DAT");
    _MASCARA_PLANO_ALT mudanca{};
    std::strcpy(mudanca.Velha[1], "9.9.99");
    std::strcpy(mudanca.Nova[1], "99.9.999");
    EXPECT_EQ(anota(o->AlteraMascara(&mudanca), 0), S_OK);
    EXPECT_EQ(apoio::LeTudo(dir + "Plano.old"), antes);
    EXPECT_EQ(anota(o->BuscaMascara(1, &m), m), S_OK);

    // Links to the main chart; a deleted subtree takes its links, the title above it stays.
    EXPECT_EQ(anota(o->Vinculo(REG_VINCULO_ALT{0, a1, 2, 5, {}}), 0), S_OK);
    const auto vinculos = [&](LONG conta) {
        ARRAY_REGCON_INDEX_ALT_PS* bloco = nullptr;
        EXPECT_EQ(anota(o->BuscaVinculo(conta, &bloco), 0), S_OK);
        return TomaBloco(bloco, &ARRAY_REGCON_INDEX_ALT_PS::pArrayRegConIndex);
    };
    const auto ligado = vinculos(a1);
    EXPECT_EQ(ligado.size(), 1u);
    for (const auto& v : ligado)
        anota(0, v);
    const auto excluida = [&](LONG conta) {
        EXPECT_EQ(anota(o->Le(conta, &lida), lida), S_OK);
        return lida.cExcluida;
    };
    LONG subarvore[] = {t11};
    EXPECT_EQ(anota(o->ExcluiContas(1, subarvore), 0), S_OK);
    EXPECT_EQ(excluida(a1), 1);
    EXPECT_TRUE(vinculos(a1).empty());
    EXPECT_EQ(excluida(t1), 0);
    return t;
}

std::string ArquivosDiferentes(const std::string& a, const std::string& b)
{
    const auto dados = [](const std::string& dir) {
        std::map<std::string, std::string> r;
        for (const auto& e : std::filesystem::directory_iterator(dir))
            if (e.is_regular_file() && e.path().extension() != ".log")
                r[e.path().filename().string()] = apoio::LeTudo(e.path().string());
        return r;
    };
    const auto x = dados(a), y = dados(b);
    std::string diferentes;
    for (const auto& [nome, bytes] : x)
        if (y.count(nome) == 0 || y.at(nome) != bytes)
            diferentes += nome + " ";
    for (const auto& [nome, bytes] : y)
        if (x.count(nome) == 0)
            diferentes += nome + " ";
    return diferentes;
}

std::string ClienteTeste::LogDeErros() const
{
    std::string erros;
    for (const auto& [nome, texto] : Logs(m_dir, "TQProfilerErros_Base_"))
        erros += texto;
    // Lines without a company go to the installation's log, shared by every test and by the
    // other test executables running at once: only what this test added, in this process.
    const std::string processo = "\t" + TQNomeProcesso() + "\t";
    for (const auto& [nome, texto] : Logs(teste::DiretorioSuite(), "TQProfilerErros_Pgms_")) {
        const auto antes = m_logsSemEmpresa.find(nome);
        const std::string novo = antes == m_logsSemEmpresa.end() ? texto : texto.substr(antes->second);
        for (size_t p = 0; p < novo.size();) {
            const size_t fim = std::min(novo.find('\n', p), novo.size());
            const std::string linha = novo.substr(p, fim + 1 - p);
            if (linha.find(processo) != std::string::npos)
                erros += linha;
            p = fim + 1;
        }
    }
    return erros;
}

size_t ClienteTeste::LinhasDeErro(const std::string& com) const
{
    size_t n = 0;
    const std::string log = LogDeErros();
    for (size_t p = log.find("ERRO\t"); p != std::string::npos; p = log.find("ERRO\t", p + 5))
        n += com.empty() || log.substr(p, log.find('\n', p) - p).find(com) != std::string::npos;
    return n;
}

} // namespace cliente
