// Listings of the index: the entries of a kind below a base account, counted first and then
// copied out by the caller with the count it got.
#include <algorithm>
#include <array>
#include <string_view>

#include "df/tqclasses/Classificacao.h"
#include "df/tqclasses/OrdenacaoParalela.h"
#include "df/tqlibex/Arquivo.h"
#include "platform/Texto.h"

namespace {

constexpr std::array<std::string_view, 17> kTiposListagem = {
    "A", "a", "T", "t", "G", "g", "X", "x", "GT", "gt", "AX", "ax", "AG", "ag", "P", "ASG", "asg"};

bool TipoPermitido(std::string_view tipo)
{
    return std::find(kTiposListagem.begin(), kTiposListagem.end(), tipo) != kTiposListagem.end();
}

// Dropped entries (Tipo_IndCon 0) stay in the listing but are never copied out.
void Descarta(REGCON_INDEX& entrada) { entrada.Tipo_IndCon = 0; }

} // namespace

HRESULT CClassificacao::ValidaTipoGetTamanhoIndex(std::string& sTipo, std::string& sTipo_1, bool& bFiltrarInativas,
                                                  bool& bTrazerApenasInativos)
{
    bFiltrarInativas = false;
    bTrazerApenasInativos = false;
    sTipo_1.clear();
    if (!sTipo.empty() && sTipo.back() == 'I') {
        bFiltrarInativas = true;
        sTipo.pop_back();
    } else if (!sTipo.empty() && sTipo.back() == 'B') {
        bTrazerApenasInativos = true;
        sTipo.pop_back();
    }
    if (!TipoPermitido(sTipo))
        return statusclass::ArgumentoInvalido;
    if (sTipo.size() >= 2) {
        sTipo_1.assign(1, sTipo.back());
        sTipo.resize(1);
    }
    return S_OK;
}

HRESULT CClassificacao::GetTamanhoIndex(const OLECHAR* tipo, uint32_t lPosicao, uint32_t* quantidade)
{
    if (!quantidade)
        return statusclass::ArgumentoInvalido;
    *quantidade = 0;
    m_listagem.clear();
    std::string sTipo = plataforma::OleParaAnsi(tipo);
    std::string sTipo_1;
    bool bFiltrarInativas = false;
    bool bTrazerApenasInativos = false;
    if (const HRESULT hr = ValidaTipoGetTamanhoIndex(sTipo, sTipo_1, bFiltrarInativas, bTrazerApenasInativos))
        return hr;
    CArquivo ArqIndex;
    uint32_t tamanho = 0;
    if (const HRESULT r = LeIndiceInteiro("GetTamanhoIndex", ArqIndex, 'L', m_listagem, tamanho,
                                          "ArqIndex.Le( uiTamanho, RegPonteiro )")) {
        m_listagem.clear();
        return r;
    }
    const char T0 = sTipo[0];
    const char T1 = sTipo_1.empty() ? '\0' : sTipo_1[0];
    const bool subarvore = T0 == 'G' || T0 == 'P'; // the listing keeps the base entry
    const size_t n = m_listagem.size();

    size_t inicio = 1;
    std::string_view base;
    char textoBase[kTamanhoClassificacao + 1] = {};
    int nivelBase = 0;
    // 'G' and 'P' count their base entry. The count starts at 1 also where the listing holds no
    // base ('g', or no base position): the service sizes its answer by this count, and its
    // clients rely on that last, unfilled entry.
    uint32_t conta = (subarvore || T0 == 'g') ? 1 : 0;
    if (lPosicao == 0) {
        if (n > 0)
            Descarta(m_listagem[0]); // entry 0 is no account, whatever it holds
    } else {
        const auto achada = std::find_if(m_listagem.begin(), m_listagem.end(), [&](const REGCON_INDEX& e) {
            return IDX_INDCON(e.Tipo_IndCon) == lPosicao;
        });
        if (achada == m_listagem.end()) {
            m_listagem.clear();
            return statusclass::ForaDoIndice;
        }
        std::for_each(m_listagem.begin(), achada, Descarta);
        if (!subarvore)
            Descarta(*achada);
        if (achada->Tipo_IndCon & (kTipoS | kTipoA)) {
            m_listagem.clear();
            return statusclass::BaseAnalitica;
        }
        DesempacotaClassificacao(achada->Classificacao, textoBase);
        base = textoBase;
        nivelBase = NivelClassificacao(base);
        inicio = size_t(achada - m_listagem.begin()) + 1;
    }

    std::string lembrado; // the title text remembered by the 'A' listings
    bool temLembrado = false;
    char c[kTamanhoClassificacao + 1];
    size_t fim = n;
    for (size_t i = inicio; i < n; ++i) {
        REGCON_INDEX& e = m_listagem[i];
        if (bTrazerApenasInativos && !(e.Tipo_IndCon & kBitInativo)) {
            Descarta(e);
            continue;
        }
        if (e.Tipo_IndCon & kBitInativo) {
            if (bFiltrarInativas) {
                Descarta(e);
                continue;
            }
            e.Tipo_IndCon &= ~kBitInativo;
        }
        if (IDX_INDCON(e.Tipo_IndCon) == 0) { // no account: never listed
            Descarta(e);
            continue;
        }
        bool para = false;
        switch (T0) {
        case 'A':
        case 'a': {
            DesempacotaClassificacao(e.Classificacao, c);
            const std::string_view texto(c);
            const int nivel = NivelClassificacao(texto);
            bool lista;
            if (EhTitulo(e.Tipo_IndCon)) {
                if (T1 != 'X' && T1 != 'x' && nivel <= nivelBase) {
                    para = true;
                    break;
                }
                lembrado.assign(texto);
                temLembrado = true;
                lista = false;
            } else if (T1 != '\0') {
                lista = (T1 != 'G' && T1 != 'g') || nivel > nivelBase;
            } else if (temLembrado && (nivel > nivelBase + 1 || texto == lembrado)) {
                lista = false;
            } else {
                temLembrado = false;
                lista = nivel > nivelBase || texto == base;
            }
            if (lista)
                ++conta;
            else
                Descarta(e);
            break;
        }
        case 'T':
        case 't':
            if (EhTitulo(e.Tipo_IndCon))
                ++conta;
            else
                Descarta(e);
            break;
        case 'X':
        case 'x':
            ++conta;
            break;
        case 'G':
        case 'g':
        case 'P': {
            DesempacotaClassificacao(e.Classificacao, c);
            if (std::string_view(c).substr(0, base.size()) != base) {
                para = true;
                break;
            }
            const bool semAnaliticas = (T1 == 'T' || T1 == 't') && (e.Tipo_IndCon & kTipoA);
            const bool semS = T0 == 'P' && (e.Tipo_IndCon & kTipoS);
            if (semAnaliticas || semS)
                Descarta(e);
            else
                ++conta;
            break;
        }
        default:
            break;
        }
        if (para) {
            fim = i;
            break;
        }
    }
    // What lies past the end of the scan is no part of the listing, in any order it is copied.
    m_listagem.resize(fim);
    if (conta < 1) {
        m_listagem.clear();
        return S_OK;
    }
    *quantidade = conta;
    return S_OK;
}

HRESULT CClassificacao::GetIndex(uint32_t quantidade, REGCON_INDEX* saida, bool ordenaPorPosicao)
{
    if (quantidade == 0)
        return S_OK;
    if (m_listagem.empty())
        return statusclass::ListagemVazia;
    if (!saida)
        return statusclass::ArgumentoInvalido;
    if (ordenaPorPosicao)
        OrdenaParalelo(m_listagem.begin(), m_listagem.end(), [](const REGCON_INDEX& a, const REGCON_INDEX& b) {
            return IDX_INDCON(a.Tipo_IndCon) < IDX_INDCON(b.Tipo_IndCon);
        });
    uint32_t copiadas = 0;
    for (const REGCON_INDEX& e : m_listagem) {
        if (copiadas == quantidade)
            break;
        if (e.Tipo_IndCon == 0)
            continue;
        saida[copiadas] = e;
        saida[copiadas].Tipo_IndCon &= ~kBitInativo;
        ++copiadas;
    }
    m_listagem.clear();
    return S_OK;
}
