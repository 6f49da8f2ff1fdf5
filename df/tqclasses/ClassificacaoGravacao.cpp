// Writes of the chart store: insert, alter and delete an account, keeping the index in step.
#include <bit>
#include <cstring>

#include "df/tqclasses/Classificacao.h"
#include "df/tqlibex/Arquivo.h"
#include "df/tqlibex/StatusArquivo.h"

namespace {

// A packed classification as two big-endian words, bytes 0 to 7 and 6 to 13: comparing the
// pairs is comparing the 14 bytes (packed order), without a call per entry of the walk.
struct ChaveEmpacotada {
    uint64_t alta, baixa;
    explicit ChaveEmpacotada(const uint8_t* p) : alta(Palavra(p)), baixa(Palavra(p + 6)) {}
    static uint64_t Palavra(const uint8_t* p)
    {
        uint64_t v;
        std::memcpy(&v, p, sizeof v);
        if constexpr (std::endian::native == std::endian::little)
            v = __builtin_bswap64(v);
        return v;
    }
    int Compara(const ChaveEmpacotada& o) const
    {
        if (alta != o.alta)
            return alta < o.alta ? -1 : 1;
        return baixa < o.baixa ? -1 : baixa > o.baixa ? 1 : 0;
    }
};
static_assert(kTamanhoEmpacotado == 14);

// Whether an alteration that keeps classification and name must rewrite the entry's type bits.
bool TipoMuda(char novo, uint8_t statusGravado)
{
    switch (novo) {
    case 'A': case 'a': return statusGravado & kStatusTitulo;
    case 'G': case 'g': return true;
    case 'S': case 's': return !(statusGravado & kStatusS);
    case 'T': case 't': return !(statusGravado & kStatusTitulo);
    default: return false;
    }
}

} // namespace

HRESULT CClassificacao::GravaDados(const uint8_t* Dados, uint32_t* pulPosicao)
{
    if (!Dados || !pulPosicao)
        return statusclass::ArgumentoInvalido;
    HRESULT hr = VerificaFechamentoArquivoPadrao();
    if (TQFalhou(hr))
        return Falha("GravaDados", "VerificaFechamentoArquivoPadrao()", hr);
    CarregaRegistroAtual(Dados);
    if (!m_codigo || m_codigo[0] == '\0')
        return Falha("GravaDados", "E_TQDF_GRAVANDO_REGISTRO_SEM_CODIGO",
                     E_TQDF_GRAVANDO_REGISTRO_SEM_CODIGO);
    if (*pulPosicao > 0) {
        hr = Altera(*pulPosicao, Dados);
        if (TQFalhou(hr))
            return Falha("GravaDados", "Altera( ulPosicao, Dados )", hr);
        return 0;
    }
    uint32_t ulPosicao = 0;
    hr = Inclui(&ulPosicao, Dados);
    if (TQFalhou(hr))
        return Falha("GravaDados", "Inclui( &ulPosicao, Dados )", hr);
    *pulPosicao = ulPosicao;
    return 0;
}

HRESULT CClassificacao::AbreGravacao()
{
    if (m_arqGravacao.EstaAberto()) {
        ++m_iSessoes;
        return S_OK;
    }
    if (const HRESULT hr = VerificaFechamentoArquivoPadrao(); TQFalhou(hr))
        return Falha("AbreGravacao", "VerificaFechamentoArquivoPadrao()", hr);
    if (StatusArq s = m_arqGravacao.Abre(m_sArquivoPlano, 'G', m_TamanhoReg, kAbreAgora))
        return Falha("AbreGravacao", "arqPadrao.Abre( m_sArquivoPlano, 'G', m_TamanhoReg )",
                     s.ComoHResult());
    m_iSessoes = 1;
    // Whatever other processes wrote before the session must show in the reads it guards.
    m_arqPadraoLeitura.InvalidaCache(true);
    return S_OK;
}

SessaoGravacao::~SessaoGravacao() { loja.FechaGravacao(); }

HRESULT CClassificacao::FechaGravacao()
{
    // A session inside another (a write during an import) leaves the handle to the outer one.
    if (m_iSessoes > 1) {
        --m_iSessoes;
        return S_OK;
    }
    m_iSessoes = 0;
    if (StatusArq s = m_arqGravacao.Fecha())
        return Falha("FechaGravacao", "arqPadrao.Fecha()", s.ComoHResult());
    return S_OK;
}

// Every write drops the read handle and writes through the session's handle, or through a
// short-lived one of its own.
CTQArqEx* CClassificacao::AbreParaGravar(const char* funcao, CTQArqEx& proprio, HRESULT& hr)
{
    if ((hr = VerificaFechamentoArquivoPadrao()); TQFalhou(hr)) {
        Falha(funcao, "VerificaFechamentoArquivoPadrao()", hr);
        return nullptr;
    }
    if (m_arqGravacao.EstaAberto())
        return &m_arqGravacao;
    if (StatusArq s = proprio.Abre(m_sArquivoPlano, 'G', m_TamanhoReg)) {
        hr = Falha(funcao, "arqPadrao.Abre( m_sArquivoPlano, 'G', m_TamanhoReg )", s.ComoHResult());
        return nullptr;
    }
    return &proprio;
}

HRESULT CClassificacao::FechaParaGravar(const char* funcao, CTQArqEx* arq)
{
    if (arq == &m_arqGravacao)
        return S_OK;
    if (StatusArq s = arq->Fecha())
        return Falha(funcao, "arqPadrao.Fecha()", s.ComoHResult());
    return S_OK;
}

HRESULT CClassificacao::Inclui(uint32_t* pPosicao, const uint8_t* Dados)
{
    if (!pPosicao || !Dados)
        return statusclass::ArgumentoInvalido;
    CTQArqEx proprio;
    HRESULT hr = S_OK;
    CTQArqEx* const arqPadrao = AbreParaGravar("Inclui", proprio, hr);
    if (!arqPadrao)
        return hr;
    int32_t lposicao = int32_t(*pPosicao);
    if (StatusArq s = arqPadrao->Grava(Dados, lposicao, m_TamanhoReg))
        return Falha("Inclui", "arqPadrao.Grava( Dados, &lposicao, m_TamanhoReg )", s.ComoHResult());
    *pPosicao = uint32_t(lposicao);
    if (!m_bImportacao) {
        if (const HRESULT r = IncluiClassificacao(arqPadrao, uint32_t(lposicao), Dados))
            return Falha("Inclui", "IncluiClassificacao(&arqPadrao, lposicao, Dados )", r);
    } else if (m_bUsaBuffer && m_bBufferPronto) {
        const HRESULT r = AdicionaRegistroNovo(REG_PESQUISA_CODIGO_COM_POSICAO(
            reinterpret_cast<const CEstruturaHelper*>(Dados)->GetCodigo2(m_TamanhoCodigo), uint32_t(lposicao)));
        if (r != 0)
            return Falha("Inclui",
                         "AdicionaRegistroNovo(REG_PESQUISA_CODIGO_COM_POSICAO(reinterpret_cast<const "
                         "CEstruturaHelper*>(Dados)->GetCodigo2(m_TamanhoCodigo), lposicao))",
                         r);
    }
    LimpaRegistroAtual();
    if (const HRESULT r = FechaParaGravar("Inclui", arqPadrao); TQFalhou(r))
        return r;
    return 0;
}

HRESULT CClassificacao::IncluiClassificacao(CTQArqEx* pArquivoPadrao, uint32_t lposicao, const uint8_t* Dados)
{
    // The entry keeps 24 bits of the record number.
    if (IDX_INDCON(lposicao) != lposicao || !Dados)
        return Falha("IncluiClassificacao", "IDX_INDCON( lposicao ) == lposicao",
                     statusarq::ArgumentoInvalido.ComoHResult());
    CArquivo ArqIndex;
    uint32_t uiTamanho = 0;
    if (const HRESULT r = LeIndiceInteiro("IncluiClassificacao", ArqIndex, 'G', m_indiceGravacao, uiTamanho,
                                          "ArqIndex.Le( uiTamanho, m_RegPonteiro )"))
        return r;
    const size_t n = m_indiceGravacao.size();
    m_indiceGravacao.emplace_back(); // the free slot
    REGCON_INDEX* const entradas = m_indiceGravacao.data();

    uint8_t chave[kTamanhoEmpacotado];
    EmpacotaClassificacao(m_cClassificacao, chave);
    const ChaveEmpacotada procurada(chave);

    // Packed order; equal classifications: titles passed, then the others by folded name,
    // case ignored. The names are read only when needed.
    std::string nomeAtual, nomeEntrada;
    size_t p = 0;
    for (; p < n; ++p) {
        const REGCON_INDEX& e = entradas[p];
        const int c = ChaveEmpacotada(e.Classificacao).Compara(procurada);
        if (c < 0)
            continue;
        if (c > 0)
            break;
        if (EhTitulo(e.Tipo_IndCon))
            continue;
        if (nomeEntrada.empty()) {
            nomeEntrada.assign(m_TamanhoNome, '\0');
            nomeAtual = m_nome ? m_nome.get() : "";
            DobraAcentos(nomeAtual);
        }
        if (const HRESULT r = BuscaNomeConta(pArquivoPadrao, IDX_INDCON(e.Tipo_IndCon), nomeEntrada.data()))
            return Falha("IncluiClassificacao",
                         "BuscaNomeConta( pArquivoPadrao, IDX_INDCON( m_RegPonteiro->Tipo_IndCon ), cNomeConta )", r);
        for (size_t i = 0; nomeEntrada[i]; ++i)
            nomeEntrada[i] = DobraAcento(nomeEntrada[i]);
        if (ComparaSemCaixa(nomeAtual.c_str(), nomeEntrada.c_str()) > 0)
            continue;
        break;
    }
    std::memmove(entradas + p + 1, entradas + p, (n - p) * sizeof(REGCON_INDEX));
    REGCON_INDEX& nova = entradas[p];
    std::memcpy(nova.Classificacao, chave, kTamanhoEmpacotado);
    nova.Tipo_IndCon = AplicaTipo(lposicao | (RegistroEhInativo(Dados) ? kBitInativo : 0), m_cTipoAtual);
    return GravaIndiceInteiro("IncluiClassificacao", ArqIndex, n + 1,
                              "ArqIndex.Grava( aRegIdx.GetData(), uiTamanho + sizeof( REGCON_INDEX ), 'I' )", false);
}

HRESULT CClassificacao::BuscaNomeConta(CTQArqEx* pArquivoPadrao, uint32_t ulTipo, char* cNomeConta)
{
    if (!pArquivoPadrao || !cNomeConta)
        return statusclass::SemArquivo;
    m_registroGravacao.resize(m_TamanhoReg);
    uint8_t* pRegistro = m_registroGravacao.data();
    if (StatusArq s = pArquivoPadrao->Le(ulTipo, pRegistro))
        return Falha("BuscaNomeConta", "pArquivoPadrao->Le( ulTipo, pRegistro )", s.ComoHResult());
    if (m_TamanhoNome == 0)
        return 0;
    std::memcpy(cNomeConta, pRegistro + kOffsetCodigo + m_TamanhoCodigo, m_TamanhoNome);
    cNomeConta[m_TamanhoNome - 1] = '\0';
    return 0;
}

HRESULT CClassificacao::Altera(uint32_t Posicao, const uint8_t* Dados)
{
    if (Posicao == 0 || !Dados)
        return statusclass::ArgumentoInvalido;
    CTQArqEx proprio;
    HRESULT hr = S_OK;
    CTQArqEx* const arqPadrao = AbreParaGravar("Altera", proprio, hr);
    if (!arqPadrao)
        return hr;
    m_registroGravacao.resize(m_TamanhoReg);
    const uint8_t* pRegistro = m_registroGravacao.data();
    if (StatusArq s = arqPadrao->Le(Posicao, m_registroGravacao.data()))
        return Falha("Altera", "arqPadrao.Le( Posicao, pRegistro )", s.ComoHResult());

    if (pRegistro[kOffsetStatus] & kStatusExcluido) {
        // A deleted record comes back in its own place, with a new index entry.
        if (const HRESULT r = FechaParaGravar("Altera", arqPadrao); TQFalhou(r))
            return r;
        uint32_t posicao = Posicao;
        const HRESULT r = Inclui(&posicao, Dados);
        if (TQFalhou(r))
            return Falha("Altera", "Inclui( &Posicao, Dados )", r);
        return 0;
    }

    if (!m_bImportacao) {
        char gravada[kTamanhoClassificacao + 1];
        DesempacotaClassificacao(pRegistro, gravada);
        const uint8_t statusGravado = pRegistro[kOffsetStatus];
        const bool mesmoLugar =
            std::strcmp(gravada, m_cClassificacao) == 0 &&
            (!m_nome || std::memcmp(pRegistro + kOffsetCodigo + m_TamanhoCodigo, m_nome.get(), m_TamanhoNome) == 0);
        if (mesmoLugar) {
            if (TipoMuda(m_cTipoAtual, statusGravado))
                if (const HRESULT r = AlteraIndconClassificacao(Posicao, Dados))
                    return Falha("Altera", "AlteraIndconClassificacao(Posicao, Dados)", r);
        } else {
            if (const HRESULT r = ExcluiClassificacao(Posicao))
                return Falha("Altera", "ExcluiClassificacao(Posicao)", r);
            if (const HRESULT r = IncluiClassificacao(arqPadrao, Posicao, Dados))
                return Falha("Altera", "IncluiClassificacao(&arqPadrao, Posicao, Dados)", r);
        }
    }

    int32_t lposicao = int32_t(Posicao);
    if (StatusArq s = arqPadrao->Grava(Dados, lposicao, m_TamanhoReg))
        return Falha("Altera", "arqPadrao.Grava( Dados, &lposicao, m_TamanhoReg )", s.ComoHResult());
    if (const HRESULT r = FechaParaGravar("Altera", arqPadrao); TQFalhou(r))
        return r;
    if (m_bImportacao && m_bBufferPronto) {
        const HRESULT r = AdicionaRegistroNovo(REG_PESQUISA_CODIGO_COM_POSICAO(
            reinterpret_cast<const CEstruturaHelper*>(Dados)->GetCodigo2(m_TamanhoCodigo), Posicao));
        if (r != 0)
            return Falha("Altera",
                         "AdicionaRegistroNovo(REG_PESQUISA_CODIGO_COM_POSICAO(reinterpret_cast<const "
                         "CEstruturaHelper*>(Dados)->GetCodigo2(m_TamanhoCodigo), lposicao))",
                         r);
    }
    return 0;
}

HRESULT CClassificacao::AlteraIndconClassificacao(uint32_t Posicao, const uint8_t* Dados)
{
    CArquivo ArqIndex;
    size_t i = 0;
    if (const HRESULT r = LocalizaNoIndice("AlteraIndconClassificacao", ArqIndex, Posicao,
                                           statusclass::SemEntradaAlteracao, i))
        return r;
    // Entries are packed: the field is read and written by value.
    uint32_t tipo = m_indiceGravacao[i].Tipo_IndCon & ~(kBitsTipo | kBitInativo);
    if (Dados && RegistroEhInativo(Dados))
        tipo |= kBitInativo;
    m_indiceGravacao[i].Tipo_IndCon = AplicaTipo(tipo, m_cTipoAtual);
    return GravaIndiceInteiro("AlteraIndconClassificacao", ArqIndex, m_indiceGravacao.size(),
                              "ArqIndex.Grava( &RegIni[0], uiTamanho, 'I' )", false);
}

HRESULT CClassificacao::Exclui(uint32_t Posicao)
{
    if (Posicao == 0)
        return statusclass::ArgumentoInvalido;
    CTQArqEx proprio;
    HRESULT hr = S_OK;
    CTQArqEx* const arqPadrao = AbreParaGravar("Exclui", proprio, hr);
    if (!arqPadrao)
        return hr;
    m_registroGravacao.resize(m_TamanhoReg);
    uint8_t* pRegistro = m_registroGravacao.data();
    if (StatusArq s = arqPadrao->Le(Posicao, pRegistro))
        return Falha("Exclui", "arqPadrao.Le( Posicao, pRegistro )", s.ComoHResult());
    pRegistro[kOffsetStatus] |= kStatusExcluido;
    int32_t lposicao = int32_t(Posicao);
    if (StatusArq s = arqPadrao->Grava(pRegistro, lposicao, m_TamanhoReg))
        return Falha("Exclui", "arqPadrao.Grava( pRegistro, &lposicao, m_TamanhoReg )",
                     s.ComoHResult());
    // The chart stays held while the index is edited: another writer's edit in between would be lost.
    if (const HRESULT r = ExcluiClassificacao(Posicao))
        return Falha("Exclui", "ExcluiClassificacao( Posicao )", r);
    return FechaParaGravar("Exclui", arqPadrao);
}

HRESULT CClassificacao::ExcluiClassificacao(uint32_t Posicao)
{
    CArquivo ArqIndex;
    size_t i = 0;
    if (const HRESULT r = LocalizaNoIndice("ExcluiClassificacao", ArqIndex, Posicao, statusclass::SemEntradaExclusao, i))
        return r;
    const size_t n = m_indiceGravacao.size();
    std::memmove(&m_indiceGravacao[i], &m_indiceGravacao[i] + 1, (n - i - 1) * sizeof(REGCON_INDEX));
    return GravaIndiceInteiro("ExcluiClassificacao", ArqIndex, n - 1,
                              "ArqIndex.Grava( &RegIni[0], uiTamanho - sizeof( REGCON_INDEX ), 'I' )", true);
}

HRESULT CClassificacao::LocalizaNoIndice(const char* funcao, CArquivo& arq, uint32_t posicao, HRESULT semEntrada,
                                         size_t& indice)
{
    uint32_t uiTamanho = 0;
    if (const HRESULT r = LeIndiceInteiro(funcao, arq, 'G', m_indiceGravacao, uiTamanho,
                                          "ArqIndex.Le( uiTamanho, RegPonteiro )"))
        return r;
    // Record 0 is never an account: the zero entry 0 does not stand for it.
    if (posicao == 0 || IDX_INDCON(posicao) != posicao)
        return semEntrada;
    for (indice = 0; indice < m_indiceGravacao.size(); ++indice)
        if (IDX_INDCON(m_indiceGravacao[indice].Tipo_IndCon) == posicao)
            return 0;
    return semEntrada;
}

HRESULT CClassificacao::GravaIndiceInteiro(const char* funcao, CArquivo& arq, size_t entradas,
                                           const char* exprGrava, bool corta)
{
    const auto bytes = uint32_t(entradas * sizeof(REGCON_INDEX));
    if (StatusArq s = arq.Grava(m_indiceGravacao.data(), bytes, 'I'))
        return Falha(funcao, exprGrava, s.ComoHResult());
    if (corta)
        if (StatusArq s = arq.Trunca(bytes))
            return Falha(funcao, "ArqIndex.DefineFim()", s.ComoHResult());
    if (StatusArq s = arq.Fecha())
        return Falha(funcao, "ArqIndex.Fecha()", s.ComoHResult());
    return 0;
}
