#include "Cliente.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>

#include "apoio/Apoio.h"
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
    ASSERT_EQ(plano, 1);
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

LONG ClienteTeste::Conta(const char* classificacao, char tipo, const char* codigo)
{
    return GravaConta(m_obj.get(), classificacao, tipo, codigo);
}

std::vector<REG_DADOS_PLANO_ALT_PS> ClienteTeste::Planos()
{
    ARRAY_REG_DADOS_PLANO_ALT_PS* lista = nullptr;
    EXPECT_EQ(m_obj->BuscaPlanos(&lista), S_OK);
    return TomaBloco(lista, &ARRAY_REG_DADOS_PLANO_ALT_PS::pArrayDadosPlanoAlt);
}

std::vector<REGCON_INDEX_ALT_PS> ClienteTeste::Vinculos(LONG posicao)
{
    ARRAY_REGCON_INDEX_ALT_PS* lista = nullptr;
    EXPECT_EQ(m_obj->BuscaVinculo(posicao, &lista), S_OK);
    return TomaBloco(lista, &ARRAY_REGCON_INDEX_ALT_PS::pArrayRegConIndex);
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
