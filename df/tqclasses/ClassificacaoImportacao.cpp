// Import mode and the existing-code buffer: one sorted vector of own codes per company,
// shared by every store of the process under one lock.
#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <mutex>

#include "df/tqclasses/Classificacao.h"
#include "df/tqclasses/OrdenacaoParalela.h"
#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQNomesErro.h"

namespace {


using VetorCodigos = std::vector<REG_PESQUISA_CODIGO_COM_POSICAO>;

struct BufferCodigos {
    // Recursive: a rebuild runs under the lock that an addition or a search already holds.
    std::recursive_mutex trava;
    std::map<uint32_t, std::unique_ptr<VetorCodigos>> vetores;
};

BufferCodigos& Buffer()
{
    static BufferCodigos buffer;
    return buffer;
}

bool CodigoAntes(const REG_PESQUISA_CODIGO_COM_POSICAO& a, const REG_PESQUISA_CODIGO_COM_POSICAO& b)
{
    return ComparaSemCaixa(a.szCodigo, b.szCodigo) < 0; // the constructor leaves szCodigo terminated
}

// The element with the code of `chave`, or the place where it belongs.
VetorCodigos::iterator Procura(VetorCodigos& v, const REG_PESQUISA_CODIGO_COM_POSICAO& chave, bool& achou)
{
    auto it = std::lower_bound(v.begin(), v.end(), chave, CodigoAntes);
    achou = it != v.end() && ComparaSemCaixa(it->szCodigo, chave.szCodigo) == 0;
    return it;
}

constexpr std::array<uint32_t, 256> TabelaCrc32()
{
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[i] = c;
    }
    return t;
}

constexpr std::array<uint32_t, 256> kCrc32 = TabelaCrc32();

} // namespace

REG_PESQUISA_CODIGO_COM_POSICAO::REG_PESQUISA_CODIGO_COM_POSICAO(const std::string& codigo, uint32_t posicao)
    : szCodigo{}, ulPosicao(posicao)
{
    std::memcpy(szCodigo, codigo.data(), std::min(codigo.size(), sizeof szCodigo - 1));
}

std::string CEstruturaHelper::GetCodigo2(size_t tamanho) const
{
    // The record goes on beyond the declared byte: address it from the object's start.
    const char* codigo = reinterpret_cast<const char*>(this) + kOffsetCodigo;
    return std::string(codigo, strnlen(codigo, tamanho));
}

uint32_t CClassificacao::ChaveBufferCodigo(const std::string& empresa)
{
    uint32_t crc = 0;
    for (unsigned char c : empresa)
        crc = kCrc32[(crc ^ c) & 0xFF] ^ (crc >> 8);
    return crc;
}

HRESULT CClassificacao::SetInicioImportacao(bool usaBuffer)
{
    // One write handle for the whole import instead of one per insert. Other writers are kept
    // out until SetFimImportacao, as each insert's own handle would keep them out while it writes.
    // Its appends go in batches; the store's reads write what is pending first.
    if (!m_bImportacao) {
        if (const HRESULT hr = AbreGravacao(); TQFalhou(hr))
            return Falha("SetInicioImportacao", "AbreGravacao()", hr);
        m_arqGravacao.AcumulaAcrescimos(true);
    }
    m_bImportacao = true;
    m_bUsaBuffer = usaBuffer;
    // The one-entry caches of an earlier import may name what has changed since.
    m_sUltimaClassificacao.clear();
    m_sUltimoTitulo.clear();
    m_ulPosicaoUltimaClassificacao = 0;
    m_ulPosicaoUltimoTitulo = 0;
    if (usaBuffer)
        if (const HRESULT hr = InicializaBufferExisteCodigo(); hr < 0)
            return Falha("SetInicioImportacao", "InicializaBufferExisteCodigo()", hr);
    return S_OK;
}

HRESULT CClassificacao::SetFimImportacao()
{
    if (!m_bImportacao)
        return S_OK;
    // The import's session ends with this call: the index is made while it still keeps other
    // writers out.
    const SessaoGravacao sessao{*this};
    m_bImportacao = false;
    if (StatusArq s = m_arqGravacao.AcumulaAcrescimos(false))
        return Falha("SetFimImportacao", "arqPadrao.Grava( Dados, &lposicao, m_TamanhoReg )",
                     s.ComoHResult());
    if (m_bUsaBuffer)
        if (const HRESULT hr = FinalizaBufferExisteCodigo(); hr < 0)
            return Falha("SetFimImportacao", "FinalizaBufferExisteCodigo()", hr);
    m_bUsaBuffer = false;
    return GeraClassificacao();
}

HRESULT CClassificacao::InicializaBufferExisteCodigo()
{
    m_bBufferPronto = true;
    if (const HRESULT hr = AtualizaBufferExisteCodigo(); hr < 0)
        return Falha("InicializaBufferExisteCodigo", "AtualizaBufferExisteCodigo()", hr);
    return S_OK;
}

// Not ready is an answer, not a failure: the destructor asks every store.
HRESULT CClassificacao::AtualizaBufferExisteCodigo()
{
    if (!m_bBufferPronto)
        return kFalha;
    BufferCodigos& buffer = Buffer();
    std::lock_guard trava(buffer.trava);
    if (const HRESULT hr = VerificaAberturaArquivoPadrao(); hr < 0)
        return Falha("AtualizaBufferExisteCodigo", "VerificaAberturaArquivoPadrao()", hr);
    buffer.vetores.erase(m_ulChaveBuffer);
    const int32_t n = m_arqPadraoLeitura.QuantidadeRegistros(true);
    if (n < 1)
        return S_OK;
    auto vetor = std::make_unique<VetorCodigos>();
    vetor->reserve(size_t(n));
    std::vector<uint8_t> registro(std::max<size_t>(m_TamanhoReg, kOffsetCodigo + m_TamanhoCodigo), 0);
    const auto* helper = reinterpret_cast<const CEstruturaHelper*>(registro.data());
    for (int32_t l = 1; l <= n; ++l) {
        if (StatusArq s = m_arqPadraoLeitura.Le(uint32_t(l), registro.data()))
            return Falha("AtualizaBufferExisteCodigo", "m_arqPadraoLeitura.Le(l, pByteRegistro)",
                         s.ComoHResult());
        if (!(registro[kOffsetStatus] & kStatusExcluido))
            vetor->emplace_back(helper->GetCodigo2(m_TamanhoCodigo), uint32_t(l));
    }
    if (const HRESULT hr = VerificaFechamentoArquivoPadrao(); hr < 0)
        return Falha("AtualizaBufferExisteCodigo", "VerificaFechamentoArquivoPadrao()", hr);
    OrdenaParalelo(vetor->begin(), vetor->end(), CodigoAntes);
    buffer.vetores[m_ulChaveBuffer] = std::move(vetor);
    return S_OK;
}

HRESULT CClassificacao::FinalizaBufferExisteCodigo()
{
    if (!m_bBufferPronto)
        return kFalha;
    BufferCodigos& buffer = Buffer();
    std::lock_guard trava(buffer.trava);
    buffer.vetores.erase(m_ulChaveBuffer);
    m_bBufferPronto = false;
    return S_OK;
}

HRESULT CClassificacao::AdicionaRegistroNovo(const REG_PESQUISA_CODIGO_COM_POSICAO& elemento)
{
    if (!m_bBufferPronto)
        return kFalha;
    BufferCodigos& buffer = Buffer();
    std::lock_guard trava(buffer.trava);
    auto it = buffer.vetores.find(m_ulChaveBuffer);
    if (it == buffer.vetores.end()) {
        if (const HRESULT hr = AtualizaBufferExisteCodigo(); hr < 0) {
            Falha("AdicionaRegistroNovo", "AtualizaBufferExisteCodigo()", hr);
            return HRESULT(TQCodigo(hr)); // its code alone, as the suite answers here
        }
        // A chart without records leaves no vector behind: the first code starts one.
        it = buffer.vetores.try_emplace(m_ulChaveBuffer, std::make_unique<VetorCodigos>()).first;
    }
    VetorCodigos& v = *it->second;
    bool achou = false;
    const auto lugar = Procura(v, elemento, achou);
    if (achou)
        lugar->ulPosicao = elemento.ulPosicao;
    else
        v.insert(lugar, elemento); // where a new sort would put it
    return S_OK;
}

HRESULT CClassificacao::ProcuraNoBufferCodigo(const std::string& codigo, uint32_t* posicao)
{
    BufferCodigos& buffer = Buffer();
    std::lock_guard trava(buffer.trava);
    auto it = buffer.vetores.find(m_ulChaveBuffer);
    if (it == buffer.vetores.end()) {
        if (!m_bBufferPronto)
            return statusclass::BufferNaoPronto;
        if (const HRESULT hr = AtualizaBufferExisteCodigo(); hr < 0)
            return Falha("ProcuraNoPadrao", "AtualizaBufferExisteCodigo()", hr);
        it = buffer.vetores.find(m_ulChaveBuffer);
        if (it == buffer.vetores.end())
            return statusclass::CodigoNaoEncontrado;
    }
    bool achou = false;
    const auto lugar = Procura(*it->second, REG_PESQUISA_CODIGO_COM_POSICAO(codigo), achou);
    if (!achou)
        return statusclass::CodigoNaoEncontrado;
    *posicao = lugar->ulPosicao;
    return S_OK;
}
