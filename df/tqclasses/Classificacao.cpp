// The store's life: construction, destruction, trace lines, the current record and the
// index read whole.
#include "df/tqclasses/Classificacao.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>

#include "df/tqlibex/Arquivo.h"
#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQTrace.h"

namespace {

// Copies a zero-padded field of the record, cut to what the record holds, and terminates it.
void CopiaCampo(char* destino, const uint8_t* registro, size_t tamanhoRegistro, size_t offset, size_t largura)
{
    // The whole width: a change compares the buffer with the stored field byte by byte, so
    // nothing of an earlier, longer value may stay behind the terminator.
    const size_t disponivel = offset < tamanhoRegistro ? std::min(largura, tamanhoRegistro - offset) : 0;
    std::memcpy(destino, registro + offset, disponivel);
    std::memset(destino + disponivel, 0, largura - disponivel);
    destino[largura] = '\0';
}

// "CClassificacao::" and the operation's name, kept for the life of the process: receivers
// of trace lines may keep the function name's pointer, as they would a literal's.
const char* NomeDaFuncao(const char* funcao)
{
    static std::mutex trava;
    static std::set<std::string, std::less<>> nomes;
    const std::string nome = std::string("CClassificacao::") + funcao;
    std::lock_guard guarda(trava);
    return nomes.insert(nome).first->c_str();
}

} // namespace

CClassificacao::CClassificacao() { m_arqPadraoLeitura.SetControleGeracao(true); }

CClassificacao::~CClassificacao()
{
    m_nome.reset();
    m_codigo.reset();
    FinalizaBufferExisteCodigo(); // not ready is the usual case
    if (const HRESULT hr = VerificaFechamentoArquivoPadrao(); hr < 0)
        Falha("~CClassificacao", "VerificaFechamentoArquivoPadrao()", hr);
}

bool CClassificacao::RegistroEhInativo(const uint8_t*)
{
    CTQProfilerEscopo escopo(this);
    escopo.Entra("CClassificacao::RegistroEhInativo");
    return false;
}

HRESULT CClassificacao::Falha(TQLocal onde, const char* expressao, HRESULT hr)
{
    TQTraceHResult(this, {NomeDaFuncao(onde.funcao), onde.linha}, "Classificacao", "hr", expressao, hr);
    return hr;
}

void CClassificacao::CarregaRegistroAtual(const uint8_t* registro)
{
    DesempacotaClassificacao(registro, m_cClassificacao);
    m_cTipoAtual = m_TamanhoReg > kOffsetStatus ? TipoDoStatus(registro[kOffsetStatus]) : 'A';
    if (m_codigo)
        CopiaCampo(m_codigo.get(), registro, m_TamanhoReg, kOffsetCodigo, m_TamanhoCodigo);
    if (m_nome)
        CopiaCampo(m_nome.get(), registro, m_TamanhoReg, kOffsetCodigo + m_TamanhoCodigo, m_TamanhoNome);
}

void CClassificacao::LimpaRegistroAtual()
{
    std::memset(m_cClassificacao, 0, sizeof m_cClassificacao);
    m_cTipoAtual = 0;
    if (m_codigo)
        m_codigo[0] = '\0';
    if (m_nome)
        m_nome[0] = '\0';
}

HRESULT CClassificacao::LeIndiceInteiro(const char* funcao, CArquivo& arq, char modo,
                                        std::vector<REGCON_INDEX>& entradas, uint32_t& tamanho, const char* exprLe)
{
    tamanho = 0;
    auto falhou = [&](const char* expressao, StatusArq s, TQOnde onde = TQOnde::Atual()) {
        return Falha({funcao, onde}, expressao, s.ComoHResult());
    };
    if (StatusArq s = arq.Abre(m_sArquivoIndex, modo))
        return falhou(modo == 'L' ? "ArqIndex.Abre( m_sArquivoIndex, 'L' )" : "ArqIndex.Abre( m_sArquivoIndex, 'G' )",
                      s);
    // 'G' reads to rewrite: readers wait until the rewrite is whole.
    if (StatusArq s = arq.TravaConteudo(modo != 'L'))
        return falhou("ArqIndex.Trava()", s);
    uint32_t comprimento = 0;
    if (StatusArq s = arq.Posiciona('F', 0, comprimento))
        return falhou("ArqIndex.Posiciona( 'F', 0L, &uiTamanho )", s);
    // A tail shorter than an entry is no entry: it is left unread.
    entradas.resize(comprimento / sizeof(REGCON_INDEX));
    const auto bytes = uint32_t(entradas.size() * sizeof(REGCON_INDEX));
    if (bytes != 0)
        if (StatusArq s = arq.Le(bytes, entradas.data()))
            return falhou(exprLe, s);
    if (modo == 'L')
        if (StatusArq s = arq.Fecha())
            return falhou("ArqIndex.Fecha()", s);
    tamanho = bytes;
    return S_OK;
}
