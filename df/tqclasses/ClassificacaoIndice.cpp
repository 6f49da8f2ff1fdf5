// Binding a store to a chart, its read handle, and the index generated from the chart file.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "df/tqclasses/Classificacao.h"
#include "df/tqclasses/OrdenacaoParalela.h"
#include "df/tqlibex/CodigosMarca.h"
#include "df/tqlibex/Arquivo.h"
#include "df/tqlibex/PassoCritico.h"
#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQArqMarca.h"
#include "df/tqlibex/TQModulos.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Texto.h"

namespace {

constexpr uint16_t kCodigoInicial = 10;

// An account on its way into the index. `ordem` is the classification padded with zeros (so a
// byte comparison is the text order, the end lowest) and one more byte, 0 for a title and 1
// otherwise, so that one comparison puts the title first among equal classifications.
struct EntradaGeracao {
    uint32_t tipoIndCon; // record number and inactive bit; type bits come from `tipo`
    char tipo;
    char ordem[kTamanhoClassificacao + 1];
    uint8_t tamanhoChave;
    char chave[kMaxChaveNome]; // name key
};

// Sorted through pointers: moving a pointer is cheaper than moving an entry with its name.
bool Antes(const EntradaGeracao* a, const EntradaGeracao* b)
{
    if (const int c = std::memcmp(a->ordem, b->ordem, sizeof a->ordem))
        return c < 0;
    if (a->ordem[kTamanhoClassificacao] == 0)
        return false; // two titles are equivalent
    const int c = std::memcmp(a->chave, b->chave, std::min(a->tamanhoChave, b->tamanhoChave));
    return c != 0 ? c < 0 : a->tamanhoChave < b->tamanhoChave;
}

} // namespace

HRESULT CClassificacao::Inicializa(const OLECHAR* empresa, uint16_t usuario, const OLECHAR* modulo,
                                   const OLECHAR* arquivoPlano, uint16_t tamanhoRegistro,
                                   const OLECHAR* arquivoIndex, uint16_t tamanhoNome)
{
    m_sEmpresa = plataforma::OleParaAnsi(empresa);
    m_iUsuario = usuario;
    m_bImportacao = false;
    m_bUsaBuffer = false;
    m_TamanhoReg = tamanhoRegistro;
    m_TamanhoNome = tamanhoNome;

    const long numero = TQNumeroModuloPorCodigo(plataforma::OleParaAnsi(modulo));
    if (numero < 0)
        return Falha("Inicializa", "E_INVALIDARG", kParametroIncorreto);
    const std::string dir = CTQPath::GetDiretorioDadosModulo(numero, m_sEmpresa);
    if (dir.empty())
        return Falha("Inicializa", "MAKE_HRESULT( SEVERITY_ERROR, FACILITY_ITF, PROBLEMAS_NO_REGISTRY )",
                     kProblemasNoRegistry);
    m_sArquivoPlano = CTQPath::Combina(dir, plataforma::OleParaAnsi(arquivoPlano));
    m_sArquivoIndex = CTQPath::Combina(dir, plataforma::OleParaAnsi(arquivoIndex));

    m_nome.reset(new char[size_t(m_TamanhoNome) + 2]());
    if (!m_codigo)
        m_codigo.reset(new char[kCodigoInicial + 2]());
    if (m_arqPadraoLeitura.EstaAberto())
        if (StatusArq s = m_arqPadraoLeitura.Fecha())
            return Falha("Inicializa", "m_arqPadraoLeitura.Fecha()", s.ComoHResult());

    {
        CArquivo ArqIndex;
        const StatusArq s = ArqIndex.Abre(m_sArquivoIndex, 'L');
        if (s == statusarq::NaoEncontrado) {
            if (const HRESULT hr = GeraClassificacao(); hr < 0)
                return Falha("Inicializa", "GeraClassificacao()", hr);
        } else if (!s) {
            ArqIndex.Fecha();
        }
    }
    m_ulChaveBuffer = ChaveBufferCodigo(m_sEmpresa);
    return S_OK;
}

HRESULT CClassificacao::VerificaAberturaArquivoPadrao()
{
    // An import's appends still in memory must be in the file the reads see.
    if (StatusArq s = m_arqGravacao.DescarregaAcrescimos())
        return Falha("VerificaAberturaArquivoPadrao", "arqPadrao.Grava( Dados, &lposicao, m_TamanhoReg )",
                     s.ComoHResult());
    if (m_arqPadraoLeitura.EstaAberto())
        return S_OK;
    if (m_sArquivoPlano.empty())
        return Falha("VerificaAberturaArquivoPadrao", "MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 2504)",
                     kSemArquivoPlano);
    const StatusArq s = m_arqPadraoLeitura.Abre(m_sArquivoPlano, 'L', m_TamanhoReg, kAbreAgora);
    if (s)
        return Falha("VerificaAberturaArquivoPadrao",
                     "m_arqPadraoLeitura.Abre(m_sArquivoPlano, 'L', m_TamanhoReg)", s.ComoHResult());
    m_bTemIdLeitura = m_arqPadraoLeitura.EstaAberto() && m_arqPadraoLeitura.Identidade(m_idLeitura);
    return S_OK;
}

bool CClassificacao::ArquivoTrocado()
{
    // A read handle open since the look cannot be swapped away: it does not let others delete
    // the chart, and a swap must. The path is looked at only once the handle was let go.
    if (!m_bTemIdLeitura || m_arqPadraoLeitura.EstaAberto())
        return false;
    plataforma::IdentidadeArquivo atual;
    if (plataforma::IdentidadeDoCaminho(m_sArquivoPlano.c_str(), atual) == 0 && atual == m_idLeitura)
        return false;
    m_bTemIdLeitura = false;
    VerificaFechamentoArquivoPadrao();
    CTQArqEx::InvalidaCachesDoArquivo(m_sArquivoPlano);
    m_arqPadraoLeitura.InvalidaCache(true);
    return true;
}

HRESULT CClassificacao::VerificaIndice()
{
    if (m_bImportacao)
        return S_OK;
    if (const HRESULT hr = VerificaAberturaArquivoPadrao(); hr < 0)
        return Falha("VerificaIndice", "VerificaAberturaArquivoPadrao()", hr);
    uint32_t comprimento = 0;
    {
        CArquivo ArqIndex;
        StatusArq s = ArqIndex.Abre(m_sArquivoIndex, 'L');
        if (!s)
            s = ArqIndex.TravaConteudo(false);
        if (!s)
            s = ArqIndex.Posiciona('F', 0, comprimento);
        if (s && s != statusarq::NaoEncontrado)
            return Falha("VerificaIndice", "ArqIndex.Posiciona( 'F', 0L, &uiTamanho )", s.ComoHResult());
    }
    const int32_t n = m_arqPadraoLeitura.QuantidadeRegistros(true);
    uint32_t vivas = 0;
    std::vector<uint8_t> registro(m_TamanhoReg);
    for (int32_t r = 1; r <= n; ++r) {
        if (StatusArq s = m_arqPadraoLeitura.Le(uint32_t(r), registro.data()))
            return Falha("VerificaIndice", "m_arqPadraoLeitura.Le(iPonteiroLeitura, pbRegAtual)",
                         s.ComoHResult());
        if (!(registro[kOffsetStatus] & kStatusExcluido))
            ++vivas;
    }
    if (comprimento % sizeof(REGCON_INDEX) == 0 && comprimento / sizeof(REGCON_INDEX) == uint64_t(vivas) + 1)
        return S_OK;
    if (const HRESULT hr = GeraClassificacao(); hr < 0)
        return Falha("VerificaIndice", "GeraClassificacao()", hr);
    return S_OK;
}

HRESULT CClassificacao::VerificaFechamentoArquivoPadrao()
{
    if (!m_arqPadraoLeitura.EstaAberto())
        return S_OK;
    if (StatusArq s = m_arqPadraoLeitura.Fecha())
        return Falha("VerificaFechamentoArquivoPadrao", "m_arqPadraoLeitura.Fecha()", s.ComoHResult());
    return S_OK;
}

HRESULT CClassificacao::GeraClassificacao()
{
    if (m_bImportacao)
        return S_OK;
    if (const HRESULT hr = VerificaAberturaArquivoPadrao(); hr < 0)
        return Falha("GeraClassificacao", "VerificaAberturaArquivoPadrao()", hr);
    // Writers of the chart wait while the index is made from it, or an account they add meanwhile
    // would miss the new index. A read-only chart has no writers to keep out, and a write session
    // keeps them out already.
    CTQArqEx semEscritores;
    if (const StatusArq s = m_arqGravacao.EstaAberto()
                                ? statusarq::Ok
                                : semEscritores.Abre(m_sArquivoPlano, 'G', m_TamanhoReg, kAbreExistenteAgora);
        s && s != statusarq::SomenteLeitura)
        return Falha("GeraClassificacao", "arqPadrao.Abre( m_sArquivoPlano, 'G', m_TamanhoReg )",
                     s.ComoHResult());
    // What another process wrote before the lock must be seen.
    m_arqPadraoLeitura.InvalidaCache(true);
    std::vector<REGCON_INDEX> aRegIdx;
    if (const HRESULT hr = MontaIndice("GeraClassificacao", aRegIdx); hr < 0)
        return hr;

    CTQArqMarca marca;
    if (uint32_t s = marca.Marca(CTQPath::GetParentPath(m_sArquivoIndex), ITQArqMarcaEnum::GeracaoDeIDX, m_iUsuario))
        return Falha("GeraClassificacao",
                     "marca.Marca(CTQPath::GetParentPath(m_sArquivoIndex), ITQArqMarcaEnum::GeracaoDeIDX, m_iUsuario)",
                     HResultDaMarca(s));
    // An existing index is rewritten in place under the lock that readers take, never truncated
    // first: a listing meanwhile sees the old index or the new one.
    CArquivo ArqIndex;
    StatusArq s = ArqIndex.Abre(m_sArquivoIndex, 'G');
    if (s == statusarq::NaoEncontrado)
        s = ArqIndex.Abre(m_sArquivoIndex, 'C');
    if (s)
        return Falha("GeraClassificacao", "ArqIndex.Abre( m_sArquivoIndex, 'C' )", s.ComoHResult());
    if ((s = ArqIndex.TravaConteudo(true)))
        return Falha("GeraClassificacao", "ArqIndex.Trava()", s.ComoHResult());
    if ((s = ArqIndex.Grava(aRegIdx.data(), uint32_t(aRegIdx.size() * sizeof(REGCON_INDEX)), 'I')))
        return Falha("GeraClassificacao",
                     "ArqIndex.Grava(aRegIdx.GetData(), aRegIdx.GetCount() * sizeof(REGCON_INDEX), 'I')",
                     s.ComoHResult());
    TQPassoCritico();
    // An older, longer index is cut where the new one ends.
    if ((s = ArqIndex.Trunca(uint32_t(aRegIdx.size() * sizeof(REGCON_INDEX)))))
        return Falha("GeraClassificacao", "ArqIndex.DefineFim()", s.ComoHResult());
    if ((s = ArqIndex.Fecha()))
        return Falha("GeraClassificacao", "ArqIndex.Fecha()", s.ComoHResult());
    marca.Desmarca();
    return S_OK;
}

HRESULT CClassificacao::MontaIndice(const char* funcao, std::vector<REGCON_INDEX>& aRegIdx)
{
    // Record numbers above 24 bits have no place in an entry.
    const auto n = uint32_t(std::min<int64_t>(std::max(m_arqPadraoLeitura.QuantidadeRegistros(true), 0),
                                              kMascaraPosicao));

    // Room for the fields read even when the record size is smaller than they need.
    const size_t offsetNome = kOffsetCodigo + m_TamanhoCodigo;
    std::vector<uint8_t> registro(std::max<size_t>(m_TamanhoReg, offsetNome + m_TamanhoNome), 0);
    std::vector<EntradaGeracao> trabalho;
    trabalho.reserve(n);
    for (uint32_t r = 1; r <= n; ++r) {
        if (StatusArq s = m_arqPadraoLeitura.Le(r, registro.data()))
            return Falha(funcao, "m_arqPadraoLeitura.Le(iPonteiroLeitura, pbRegAtual)", s.ComoHResult());
        const uint8_t status = registro[kOffsetStatus];
        if (status & kStatusExcluido)
            continue;
        EntradaGeracao& e = trabalho.emplace_back();
        e.tipoIndCon = r | (RegistroEhInativo(registro.data()) ? kBitInativo : 0);
        e.tipo = TipoDoStatus(status);
        char texto[kTamanhoClassificacao + 1];
        DesempacotaClassificacao(registro.data(), texto);
        const size_t tamanho = strnlen(texto, kTamanhoClassificacao);
        std::memcpy(e.ordem, texto, tamanho);
        std::memset(e.ordem + tamanho, 0, kTamanhoClassificacao - tamanho);
        e.ordem[kTamanhoClassificacao] = e.tipo == 'T' ? 0 : 1;
        e.tamanhoChave =
            uint8_t(ChaveNomeIndice(reinterpret_cast<const char*>(&registro[offsetNome]), m_TamanhoNome, e.chave));
    }
    std::vector<const EntradaGeracao*> ordem(trabalho.size());
    for (size_t i = 0; i < trabalho.size(); ++i)
        ordem[i] = &trabalho[i];
    OrdenaParalelo(ordem.begin(), ordem.end(), Antes);

    aRegIdx.assign(trabalho.size() + 1, REGCON_INDEX{});
    for (size_t i = 0; i < ordem.size(); ++i) {
        const EntradaGeracao& e = *ordem[i];
        aRegIdx[i + 1].Tipo_IndCon = AplicaTipo(e.tipoIndCon, e.tipo);
        EmpacotaClassificacao(std::string_view(e.ordem, kTamanhoClassificacao), aRegIdx[i + 1].Classificacao);
    }
    return S_OK;
}
