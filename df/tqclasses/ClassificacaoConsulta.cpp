// The read side of the chart store: accounts by position, and searches by classification,
// own code, reduced code and title.
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "df/tqclasses/Classificacao.h"
#include "df/tqlibex/Arquivo.h"
#include "df/tqlibex/StatusArquivo.h"
#include "platform/Texto.h"

namespace {

constexpr const char* kExprAbrePadrao = "VerificaAberturaArquivoPadrao()";
constexpr const char* kExprLeIndice = "ArqIndex.Le( uiTamanho, RegPonteiro )";

std::string_view SemZerosIniciais(std::string_view texto)
{
    const size_t inicio = texto.find_first_not_of('0');
    return inicio == std::string_view::npos ? std::string_view() : texto.substr(inicio);
}

// Record 0 is reserved: an entry naming it (entry 0 of every index) is never an account.
bool NomeiaConta(const REGCON_INDEX& entrada) { return IDX_INDCON(entrada.Tipo_IndCon) != 0; }

bool MesmaChave(const REGCON_INDEX& entrada, const uint8_t chave[kTamanhoEmpacotado])
{
    return std::memcmp(entrada.Classificacao, chave, kTamanhoEmpacotado) == 0;
}

// Whether the own code of a chart record (`largura` bytes at most), accents folded and in lower
// case, equals `minusculo` (a code already in lower case).
bool CodigoConfere(const uint8_t* registro, size_t largura, std::string_view minusculo)
{
    // Each byte of a stored code folded and put in lower case, by one table look-up: the scan
    // runs it on every record of the chart.
    static const std::array<char, 256> kDobradoMinusculo = [] {
        std::array<char, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[size_t(b)] = plataforma::MinusculaAnsi(DobraAcento(char(b)));
        return t;
    }();
    const char* proprio = reinterpret_cast<const char*>(registro + kOffsetCodigo);
    if (strnlen(proprio, largura) != minusculo.size())
        return false;
    for (size_t i = 0; i < minusculo.size(); ++i)
        if (kDobradoMinusculo[uint8_t(proprio[i])] != minusculo[i])
            return false;
    return true;
}

} // namespace

HRESULT CClassificacao::LeIndiceBusca(const char* funcao, const char* exprLe)
{
    CArquivo ArqIndex;
    uint32_t tamanho = 0;
    return LeIndiceInteiro(funcao, ArqIndex, 'L', m_indiceBusca, tamanho, exprLe);
}

StatusArq CClassificacao::LeRegistroBusca(uint32_t posicao)
{
    // Room for the fields the searches read even if the record size were smaller.
    const size_t tamanho = std::max<size_t>(m_TamanhoReg, kOffsetCodigo + m_TamanhoCodigo);
    if (m_registroBusca.size() < tamanho)
        m_registroBusca.resize(tamanho);
    return m_arqPadraoLeitura.Le(posicao, m_registroBusca.data());
}

HRESULT CClassificacao::Le(uint32_t Posicao, uint8_t* Dados)
{
    if (Posicao == 0 || !Dados)
        return statusclass::ArgumentoInvalido;
    if (const HRESULT hr = VerificaAberturaArquivoPadrao(); hr < 0)
        return Falha("Le", kExprAbrePadrao, hr);
    if (m_bRelerCache) {
        m_arqPadraoLeitura.InvalidaCache(true);
        m_bRelerCache = false;
    }
    const StatusArq s = m_arqPadraoLeitura.Le(Posicao, Dados);
    if (s == statusarq::FimArquivo)
        return statusclass::NaoEncontrado;
    if (s)
        return Falha("Le", "m_arqPadraoLeitura.Le(Posicao, Dados)", s.ComoHResult());
    CarregaRegistroAtual(Dados);
    return S_OK;
}

HRESULT CClassificacao::LeDados(uint32_t IndCon, uint8_t* Dados)
{
    const HRESULT hr = Le(IndCon, Dados);
    if (hr < 0)
        return Falha("LeDados", "Le( IndCon, Dados )", hr);
    return hr;
}

HRESULT CClassificacao::LeLista(const uint32_t* posicoes, uint32_t quantidade, uint8_t* Dados)
{
    if (!posicoes || quantidade == 0 || !Dados)
        return statusclass::ArgumentoInvalido;
    if (const HRESULT hr = VerificaAberturaArquivoPadrao(); hr < 0)
        return Falha("LeLista", kExprAbrePadrao, hr);
    for (uint32_t ul = 0; ul < quantidade; ++ul)
        if (StatusArq s = m_arqPadraoLeitura.Le(posicoes[ul], Dados + size_t(ul) * m_TamanhoReg))
            return Falha("LeLista", "m_arqPadraoLeitura.Le(pUlPonteiros[ul], pByteReg)",
                         s.ComoHResult());
    if (quantidade == 1)
        CarregaRegistroAtual(Dados);
    return S_OK;
}

HRESULT CClassificacao::GetQuantidadeRegistros(uint32_t* quantidade)
{
    if (!quantidade)
        return statusclass::ArgumentoInvalido;
    if (const HRESULT hr = VerificaAberturaArquivoPadrao(); hr < 0)
        return Falha("GetQuantidadeRegistros", kExprAbrePadrao, hr);
    *quantidade = uint32_t(m_arqPadraoLeitura.QuantidadeRegistros(true)) + 1;
    return S_OK;
}

HRESULT CClassificacao::ExisteClassificacao(const OLECHAR* classificacao, uint32_t* posicao)
{
    if (!posicao)
        return statusclass::ArgumentoInvalido;
    std::string texto;
    if (m_bImportacao) {
        texto = plataforma::OleParaAnsi(classificacao);
        if (!m_sUltimaClassificacao.empty() && texto == m_sUltimaClassificacao) {
            *posicao = m_ulPosicaoUltimaClassificacao;
            return S_OK;
        }
    }
    *posicao = 0;
    char cClassificacao[32] = {};
    if (TrataClassificacao(classificacao, cClassificacao, true) != 0)
        return statusclass::ClassificacaoInvalida;
    if (const HRESULT hr = LeIndiceBusca("ExisteClassificacao", kExprLeIndice))
        return hr;
    uint8_t chave[kTamanhoEmpacotado];
    EmpacotaClassificacao(cClassificacao, chave);
    if (const HRESULT hr = VerificaAberturaArquivoPadrao(); hr < 0)
        return Falha("ExisteClassificacao", kExprAbrePadrao, hr);
    for (const REGCON_INDEX& entrada : m_indiceBusca) {
        if (!NomeiaConta(entrada) || !MesmaChave(entrada, chave))
            continue;
        const uint32_t ulIndice = IDX_INDCON(entrada.Tipo_IndCon);
        if (StatusArq s = LeRegistroBusca(ulIndice))
            return Falha("ExisteClassificacao", "m_arqPadraoLeitura.Le(ulIndice, pRegistro)",
                         s.ComoHResult());
        // A stale entry of an excluded record: the chart file has the last word.
        if (m_registroBusca[kOffsetStatus] & kStatusExcluido)
            continue;
        *posicao = ulIndice;
        if (m_bImportacao) {
            m_sUltimaClassificacao = std::move(texto);
            m_ulPosicaoUltimaClassificacao = ulIndice;
        }
        return S_OK;
    }
    return statusclass::ClassificacaoInvalida;
}

HRESULT CClassificacao::ExisteCodigo(const OLECHAR* sCodigo, uint32_t* posicao, uint16_t iPrioridade)
{
    if (!posicao)
        return statusclass::ArgumentoInvalido;
    const std::string ansi = plataforma::OleParaAnsi(sCodigo);
    const std::string_view digitada = TextoDeClassificacao(ansi);
    const std::string prioridades = iPrioridade == 0 ? std::string("3") : std::to_string(iPrioridade);
    uint32_t ulPosicaoLocal = 0;
    // The own-code search, and again without leading zeros (a code 007 typed for a stored 7). A
    // chart that cannot be read is a failure, never "not found".
    // Each text is scanned for once: the passes and priorities ask again for texts already
    // answered (the folded text is the typed one unless it has accents).
    HRESULT falha = S_OK;
    struct Resposta {
        std::string texto;
        uint32_t posicao; // 0: not found
    };
    std::vector<Resposta> respostas;
    const auto procura = [&](std::string_view t) {
        for (const Resposta& r : respostas)
            if (r.texto == t) {
                if (r.posicao != 0)
                    ulPosicaoLocal = r.posicao;
                return r.posicao != 0;
            }
        uint32_t achada = 0;
        const HRESULT hr = ProcuraNoPadrao(std::string(t), &achada);
        if (TQFalhou(hr))
            falha = hr;
        if (hr == S_OK)
            ulPosicaoLocal = achada;
        respostas.push_back({std::string(t), hr == S_OK ? achada : 0});
        return hr == S_OK;
    };
    const auto procuraProprio = [&](std::string_view t) {
        if (procura(t))
            return true;
        const std::string_view semZeros = SemZerosIniciais(t);
        return !TQFalhou(falha) && !t.empty() && t[0] == '0' && !semZeros.empty() && procura(semZeros);
    };
    for (int passo = 0; passo < 2; ++passo) {
        std::string texto(digitada);
        if (passo == 1)
            DobraAcentos(texto);
        std::string_view t = texto;
        if (t.empty())
            return statusclass::NaoEncontrado;
        bool achou = procuraProprio(t);
        bool reduzido = true;
        for (size_t i = 0; i < prioridades.size() && !achou; ++i) {
            switch (prioridades[i]) {
            case '1':
                achou = procuraProprio(t);
                reduzido = false;
                break;
            case '2': {
                const std::string szMascara = ClassificacaoPelaMascara(t, m_mascaras);
                const HRESULT hr = ExisteClassificacao(plataforma::AnsiParaOle(szMascara).c_str(), &ulPosicaoLocal);
                if (hr < 0)
                    return Falha("ExisteCodigo", "ExisteClassificacao(CComBSTR(szMascara), &ulPosicaoLocal)",
                                 hr);
                achou = hr == S_OK;
                break;
            }
            case '3':
                if (reduzido) {
                    t = SemZerosIniciais(t);
                    const HRESULT hr = ProcuraReduzido(std::string(t), &ulPosicaoLocal);
                    if (hr < 0)
                        return Falha("ExisteCodigo", "ProcuraReduzido(sCodigo, &ulPosicaoLocal)", hr);
                    achou = ulPosicaoLocal != 0;
                }
                break;
            default:
                break;
            }
        }
        if (TQFalhou(falha))
            return Falha("ExisteCodigo", "ProcuraNoPadrao(sCodigo, &ulPosicaoLocal)", falha);
        if (achou) {
            *posicao = ulPosicaoLocal;
            return S_OK;
        }
    }
    return statusclass::NaoEncontrado;
}

HRESULT CClassificacao::ProcuraNoPadrao(const std::string& codigo, uint32_t* posicao)
{
    if (!posicao)
        return statusclass::ArgumentoInvalido;
    if (m_bImportacao && m_bUsaBuffer)
        return ProcuraNoBufferCodigo(codigo, posicao);
    if (codigo.size() > m_TamanhoCodigo)
        return statusclass::CodigoNaoEncontrado;
    if (const HRESULT hr = VerificaAberturaArquivoPadrao(); hr < 0)
        return Falha("ProcuraNoPadrao", kExprAbrePadrao, hr);
    const auto registros = uint32_t(std::max(m_arqPadraoLeitura.QuantidadeRegistros(true), 0));
    std::string minusculo(codigo);
    for (char& c : minusculo)
        c = plataforma::MinusculaAnsi(c);
    // The records are compared in place in the read-ahead, a block at a time: the scan runs over
    // the whole chart for every new code, so it copies nothing. A record shorter than the code
    // field ends the code.
    const size_t tamanho = m_TamanhoReg;
    const size_t largura = tamanho > kOffsetCodigo ? std::min<size_t>(m_TamanhoCodigo, tamanho - kOffsetCodigo) : 0;
    uint32_t achado = 0;
    for (uint32_t primeiro = 1; primeiro <= registros && achado == 0;) {
        const uint8_t* bloco = nullptr;
        uint32_t n = 0;
        if (StatusArq s = m_arqPadraoLeitura.LeBloco(primeiro, bloco, n))
            return Falha("ProcuraNoPadrao", "m_arqPadraoLeitura.Le(lPosicao, pByteRegistro)",
                         s.ComoHResult());
        n = std::min(n, registros + 1 - primeiro);
        for (uint32_t i = 0; i < n; ++i, bloco += tamanho) {
            const bool excluido = tamanho > kOffsetStatus && (bloco[kOffsetStatus] & kStatusExcluido);
            if (!excluido && CodigoConfere(bloco, largura, minusculo)) {
                achado = primeiro + i;
                break;
            }
        }
        primeiro += n;
    }
    if (const HRESULT hr = VerificaFechamentoArquivoPadrao(); hr < 0)
        return Falha("ProcuraNoPadrao", "VerificaFechamentoArquivoPadrao()", hr);
    if (achado == 0)
        return statusclass::CodigoNaoEncontrado;
    *posicao = achado;
    return S_OK;
}

HRESULT CClassificacao::ProcuraReduzido(const std::string& sCodigo, uint32_t* posicao)
{
    if (!posicao)
        return statusclass::ArgumentoInvalido;
    *posicao = 0;
    // A reduced code of a 24-bit record number has at most 9 digits; longer runs cannot match.
    uint64_t n = 0;
    size_t digitos = 0;
    while (digitos < sCodigo.size() && digitos <= 11 && sCodigo[digitos] >= '0' && sCodigo[digitos] <= '9')
        n = n * 10 + uint64_t(sCodigo[digitos++] - '0');
    if (digitos > 11 || n / 10 > UINT32_MAX)
        return S_OK;
    const uint32_t r = uint32_t(n / 10);
    if (TQDigitoConta(r) != sCodigo)
        return S_OK;
    uint32_t ulQuantidade = 0;
    if (const HRESULT hr = GetQuantidadeRegistros(&ulQuantidade); hr < 0)
        return Falha("ProcuraReduzido", "GetQuantidadeRegistros( &ulQuantidade )", hr);
    if (!EhCancelado(r) && r <= ulQuantidade - 1)
        *posicao = r;
    return S_OK;
}

bool CClassificacao::EhCancelado(uint32_t posicao)
{
    if (VerificaAberturaArquivoPadrao() < 0)
        return true;
    if (posicao > uint32_t(std::max(m_arqPadraoLeitura.QuantidadeRegistros(true), 0)))
        return true;
    const StatusArq s = LeRegistroBusca(posicao);
    if (s == statusarq::FimArquivo)
        return true;
    if (s) {
        Falha("EhCancelado", "m_arqPadraoLeitura.Le(ulPosicao, pReg)", s.ComoHResult());
        return true;
    }
    return (m_registroBusca[kOffsetStatus] & kStatusExcluido) != 0;
}

HRESULT CClassificacao::ExisteContaTitulo(const OLECHAR* classificacao, uint32_t* posicao)
{
    if (!posicao)
        return statusclass::ArgumentoInvalido;
    std::string texto = plataforma::OleParaAnsi(classificacao);
    if (m_bImportacao && !m_sUltimoTitulo.empty() && texto == m_sUltimoTitulo) {
        *posicao = m_ulPosicaoUltimoTitulo;
        return S_OK;
    }
    const HRESULT hr = InternalExisteConta(texto, true, posicao);
    if (hr == S_OK && m_bImportacao) {
        m_sUltimoTitulo = std::move(texto);
        m_ulPosicaoUltimoTitulo = *posicao;
    }
    return hr;
}

HRESULT CClassificacao::InternalExisteConta(const std::string& classificacao, bool titulo, uint32_t* posicao)
{
    if (!posicao)
        return statusclass::ArgumentoInvalido;
    *posicao = 0;
    const std::string_view texto = TextoDeClassificacao(classificacao);
    if (texto.empty())
        return statusclass::ClassificacaoInvalida;
    const size_t ponto = texto.rfind('.');
    if (ponto == std::string_view::npos)
        return S_OK;
    uint8_t chave[kTamanhoEmpacotado];
    uint8_t chavePai[kTamanhoEmpacotado];
    EmpacotaClassificacao(texto, chave);
    EmpacotaClassificacao(texto.substr(0, ponto), chavePai);
    if (const HRESULT hr = LeIndiceBusca("InternalExisteConta", kExprLeIndice))
        return hr;
    for (const REGCON_INDEX& entrada : m_indiceBusca) {
        if (!NomeiaConta(entrada) || (!MesmaChave(entrada, chave) && !MesmaChave(entrada, chavePai)))
            continue;
        const bool serve = titulo ? EhTitulo(entrada.Tipo_IndCon) : (entrada.Tipo_IndCon & (kTipoA | kTipoG)) != 0;
        if (serve) {
            *posicao = IDX_INDCON(entrada.Tipo_IndCon);
            return S_OK;
        }
    }
    return statusclass::SemTitulo;
}

HRESULT CClassificacao::ExisteSubordinadas(const OLECHAR* classificacao)
{
    const std::string ansi = plataforma::OleParaAnsi(classificacao);
    const std::string_view texto = TextoDeClassificacao(ansi);
    if (texto.empty())
        return statusclass::ClassificacaoInvalida;
    if (const HRESULT hr = LeIndiceBusca("ExisteSubordinadas", "ArqIndex.Le( uiTamanho, listaIndex.data() )"))
        return hr;
    uint8_t chave[kTamanhoEmpacotado];
    EmpacotaClassificacao(texto, chave);
    const auto fim = m_indiceBusca.end();
    const auto achada = std::find_if(m_indiceBusca.begin(), fim, [&](const REGCON_INDEX& entrada) {
        return NomeiaConta(entrada) && MesmaChave(entrada, chave);
    });
    if (achada == fim)
        return statusclass::ForaDoIndice;
    if (achada + 1 == fim || (achada->Tipo_IndCon & kTipoA))
        return statusclass::SemSubordinadas;
    const REGCON_INDEX& seguinte = achada[1];
    char c[kTamanhoClassificacao + 1];
    DesempacotaClassificacao(seguinte.Classificacao, c);
    const std::string_view filha(c);
    const bool prefixo = filha.substr(0, texto.size()) == texto;
    if (seguinte.Tipo_IndCon & kTipoA)
        return prefixo ? S_OK : statusclass::SemSubordinadas;
    if (seguinte.Tipo_IndCon & kTipoS)
        return S_OK;
    return prefixo && filha.size() > texto.size() ? S_OK : statusclass::SemSubordinadas;
}
