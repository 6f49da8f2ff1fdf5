// Classification texts from the service, the own-code length and the masks.
#include <algorithm>
#include <cstring>

#include "df/tqclasses/Classificacao.h"
#include "platform/Texto.h"

namespace {

constexpr uint16_t kMaxCodigo = 28;

bool Permitido(char c) { return (c >= '0' && c <= '9') || c == ' ' || c == '-' || c == '.' || c == '/'; }

} // namespace

uint32_t CClassificacao::TrataClassificacao(const OLECHAR* classificacao, char cClassificacao[32], bool validar)
{
    const std::string texto = plataforma::OleParaAnsi(classificacao);
    const std::string_view util = TextoDeClassificacao(texto);
    if (util.empty())
        return uint32_t(statusclass::ClassificacaoInvalida);
    if (validar)
        for (char c : util)
            if (!Permitido(c))
                return uint32_t(statusclass::ClassificacaoInvalida);
    std::memcpy(cClassificacao, util.data(), util.size());
    return 0;
}

HRESULT CClassificacao::SetTamanhoCodigo(uint16_t tamanho)
{
    if (tamanho > kMaxCodigo)
        return Falha("SetTamanhoCodigo", "MAKE_HRESULT( SEVERITY_ERROR, FACILITY_ITF, TAMANHO_SUPERIOR )",
                     kTamanhoSuperior);
    m_codigo.reset(new char[size_t(tamanho) + 2]());
    m_TamanhoCodigo = tamanho;
    return S_OK;
}

HRESULT CClassificacao::SetMascaras(const OLECHAR* mascaras)
{
    const std::string texto = plataforma::OleParaAnsi(mascaras);
    std::memset(m_mascaras, 0, sizeof m_mascaras);
    std::memcpy(m_mascaras, texto.data(), std::min(texto.size(), sizeof m_mascaras));
    return S_OK;
}
