// The suite's report builder: it knows which columns the user chose for a report, gathers the
// lines field by field and writes the report file in the format its extension names, as UTF-8.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <vector>

#include "df/tqlibex/TQGeradorExports.h"
#include "df/tqlibex/TQModulos.h"
#include "platform/Erros.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Texto.h"
#include "suite/TQGERADOR/CodigosGerador.h"
#include "suite/TQGERADOR/Colunas.h"
#include "suite/TQGERADOR/Formatos.h"
#include "suite/TQGERADOR/Gravacao.h"
#include "suite/comum/Exporta.h"
#include "suite/comum/LinhaLog.h"

namespace {

std::atomic<HRESULT> g_falhaInicializa{0};
std::atomic<HRESULT> g_falhaGeraRelatorio{0};

// Nothing may leave the library as an exception: only an allocation can throw here.
template <class F>
HRESULT SemExcecao(F operacao)
{
    try {
        return operacao();
    } catch (...) {
        return kSemMemoria;
    }
}

// "dd/mm/yyyy hh:mm:ss": the log's moment without its milliseconds.
std::string Momento() { return suite::MomentoLocal().substr(0, 19); }

class CMontaRelatorioSuite final : public ITQMontaRelatorio {
public:
    void Libera() override { delete this; }

    HRESULT Inicializa(const OLECHAR* empresa, uint16_t usuario, uint32_t sessao, const OLECHAR* razaoSocial,
                       const OLECHAR* modulo, const OLECHAR* sistema, const OLECHAR* arquivo,
                       const OLECHAR* relatorio, int32_t opcoes) override
    {
        return SemExcecao([&] {
            return Inicia(empresa, usuario, sessao, razaoSocial, modulo, sistema, arquivo, relatorio, opcoes);
        });
    }

    void InicializaLinha() override
    {
        m_linha.clear();
        m_bLinhaAberta = true;
    }

    uint16_t GetQtdeCampos() override { return uint16_t(m_relatorio.colunas.size()); }

    void GetCampoEscolhido(uint16_t indice, int64_t* codigo) override
    {
        if (codigo)
            *codigo = indice < m_relatorio.colunas.size() ? m_relatorio.colunas[indice].codigo : 0;
    }

    void Adiciona(const char* texto, uint16_t largura) override
    {
        SemExcecao([&] {
            // A field without InicializaLinha starts a line all the same.
            m_bLinhaAberta = true;
            m_linha.push_back({texto ? texto : "", largura});
            return S_OK;
        });
    }

    void AdicionaDetalhe(int64_t codigo, int32_t, uint16_t largura, int32_t, const char*, bool, bool) override
    {
        for (gerador::Coluna& coluna : m_relatorio.colunas)
            if (coluna.codigo == codigo)
                coluna.largura = largura;
    }

    void FinalizaLinha() override
    {
        SemExcecao([&] {
            if (m_bLinhaAberta)
                m_relatorio.linhas.push_back(std::move(m_linha));
            m_linha.clear();
            m_bLinhaAberta = false;
            return S_OK;
        });
    }

    HRESULT GeraRelatorio() override
    {
        if (const HRESULT falha = g_falhaGeraRelatorio.load())
            return falha;
        if (!m_bInicializado)
            return kGeradorNaoInicializado;
        return SemExcecao([&] {
            // The last step of the builder: the gathered report itself is completed, not a copy.
            gerador::Relatorio& relatorio = m_relatorio;
            relatorio.momento = Momento();
            LarguraDasColunas(relatorio);
            const std::string conteudo = plataforma::AnsiParaUtf8(gerador::Formata(m_formato, relatorio));
            const DWORD erro = gerador::GravaSubstituindo(m_sArquivo, conteudo);
            return erro ? plataforma::HResultDoErro(erro) : S_OK;
        });
    }

    void Finaliza(bool) override { *this = CMontaRelatorioSuite(); }

private:
    HRESULT Inicia(const OLECHAR* empresa, uint16_t usuario, uint32_t sessao, const OLECHAR* razaoSocial,
                   const OLECHAR* modulo, const OLECHAR* sistema, const OLECHAR* arquivo, const OLECHAR* relatorio,
                   int32_t opcoes)
    {
        Finaliza(true);
        if (const HRESULT falha = g_falhaInicializa.load())
            return falha;
        m_sEmpresa = plataforma::OleParaAnsi(empresa);
        m_usUsuario = usuario;
        m_ulSessao = sessao;
        m_sModulo = plataforma::OleParaAnsi(modulo);
        m_sSistema = plataforma::OleParaAnsi(sistema);
        m_sArquivo = plataforma::OleParaAnsi(arquivo);
        m_lOpcoes = opcoes;
        m_relatorio.empresa = plataforma::OleParaAnsi(razaoSocial);
        m_relatorio.titulo = plataforma::OleParaAnsi(relatorio);
        if (m_sArquivo.empty())
            return kGeradorSemArquivo;
        m_formato = gerador::FormatoDoCaminho(m_sArquivo);
        if (m_formato == gerador::Formato::Nenhum)
            return kGeradorFormatoDesconhecido;
        const std::string dados = CTQPath::GetDiretorioDadosModulo(kModuloDF, m_sEmpresa);
        if (dados.empty())
            return kGeradorEmpresaDesconhecida;
        for (int64_t codigo : gerador::CamposEscolhidos(dados, m_relatorio.titulo))
            m_relatorio.colunas.push_back({codigo, gerador::TituloDoCampo(codigo), 0});
        m_bInicializado = true;
        return S_OK;
    }

    // A column never described is as wide as its widest field, or else its heading.
    static void LarguraDasColunas(gerador::Relatorio& relatorio)
    {
        for (size_t i = 0; i < relatorio.colunas.size(); ++i) {
            gerador::Coluna& coluna = relatorio.colunas[i];
            if (coluna.largura)
                continue;
            for (const gerador::Linha& linha : relatorio.linhas)
                if (i < linha.size())
                    coluna.largura = std::max(coluna.largura, linha[i].largura);
            if (!coluna.largura)
                coluna.largura = uint16_t(coluna.titulo.size());
        }
    }

    bool m_bInicializado = false;
    std::string m_sEmpresa;
    uint16_t m_usUsuario = 0;
    uint32_t m_ulSessao = 0;
    std::string m_sModulo;
    std::string m_sSistema;
    std::string m_sArquivo;
    int32_t m_lOpcoes = 0;
    gerador::Formato m_formato = gerador::Formato::Nenhum;
    gerador::Relatorio m_relatorio;
    gerador::Linha m_linha;
    bool m_bLinhaAberta = false;
};

} // namespace

TQ_EXPORTA ITQMontaRelatorio* TQCriaMontaRelatorio()
{
    [[maybe_unused]] constexpr PFN_TQCriaMontaRelatorio kConfere = &TQCriaMontaRelatorio;
    try {
        return new CMontaRelatorioSuite();
    } catch (...) {
        return nullptr;
    }
}

TQ_EXPORTA void TQDefineFalhaParaTestes(const char* operacao, HRESULT hr)
{
    [[maybe_unused]] constexpr PFN_TQDefineFalhaParaTestes kConfere = &TQDefineFalhaParaTestes;
    if (!operacao)
        return;
    if (std::strcmp(operacao, "Inicializa") == 0)
        g_falhaInicializa = hr;
    else if (std::strcmp(operacao, "GeraRelatorio") == 0)
        g_falhaGeraRelatorio = hr;
}
