#include "ContasSessaoBench.h"

#include <cstdio>
#include <cstring>

#include "df/tqclasses/ClassificacaoCodigos.h"

namespace bench {

HRESULT CriaPlanoSelecionado(ITQDF_PlanoAlt* objeto, LONG* plano)
{
    REG_DADOS_PLANO_ALT_PS dados{};
    std::strcpy(dados.cNomePlano, "Plano gerencial");
    if (const HRESULT hr = objeto->GravaPlano(0, dados, plano); hr != S_OK)
        return hr;
    REG_MASCARA_ALT_PS mascaras{};
    std::memcpy(mascaras.Mascara[1], kMascaraSessao, std::strlen(kMascaraSessao));
    if (const HRESULT hr = objeto->SetMascara(*plano, mascaras); hr != S_OK)
        return hr;
    return objeto->SetPlano(*plano);
}

std::vector<REG_PLANO_ALT_PS> ContasSessao(uint32_t n)
{
    std::vector<REG_PLANO_ALT_PS> contas;
    contas.reserve(n);
    auto acrescenta = [&](const char* classificacao, char tipo) {
        if (contas.size() >= n)
            return;
        REG_PLANO_ALT_PS r{};
        std::snprintf(r.cClassificacao, sizeof r.cClassificacao, "%s", classificacao);
        std::snprintf(r.cNome, sizeof r.cNome, "%s %s", tipo == 'T' ? "Grupo" : "Conta", classificacao);
        if (tipo == 'T')
            std::snprintf(r.cCodigoProprio, sizeof r.cCodigoProprio, "T%zu", contas.size() + 1);
        r.cTipo = uint8_t(tipo);
        r.iCaracteristica = 1;
        contas.push_back(r);
    };
    const uint32_t titulos = 1 + 5 + 100;
    const uint32_t porGrupo = n > titulos ? (n - titulos + 99) / 100 : 0;
    acrescenta("1", 'T');
    char c[32];
    for (int b = 1; b <= 5; ++b) {
        std::snprintf(c, sizeof c, "1.%d", b);
        acrescenta(c, 'T');
        for (int d = 1; d <= 20; ++d) {
            std::snprintf(c, sizeof c, "1.%d.%02d", b, d);
            acrescenta(c, 'T');
            for (uint32_t e = 1; e <= porGrupo; ++e) {
                std::snprintf(c, sizeof c, "1.%d.%02d.%03u", b, d, e);
                acrescenta(c, 'A');
            }
        }
    }
    return contas;
}

std::string CodigoDaConta(const REG_PLANO_ALT_PS& conta, LONG posicao)
{
    return conta.cCodigoProprio[0] != '\0' ? std::string(conta.cCodigoProprio) : TQDigitoConta(uint32_t(posicao));
}

HRESULT GravaContas(ITQDF_PlanoAlt* objeto, const std::vector<REG_PLANO_ALT_PS>& contas)
{
    for (size_t i = 0; i < contas.size(); ++i) {
        LONG posicao = 0;
        if (const HRESULT hr = objeto->Grava(0, contas[i], &posicao); hr != S_OK)
            return hr;
        if (posicao != LONG(i + 1))
            return TQHResult(0x80004005); // E_FAIL: not where it belongs
    }
    return S_OK;
}

} // namespace bench
