#include "FasesBench.h"

#include "ContasSessaoBench.h"
#include "platform/Bstr.h"
#include "platform/Texto.h"

namespace bench {

namespace {

std::vector<Consulta> Consultas(const std::vector<REG_PLANO_ALT_PS>& contas, uint32_t quantas, uint32_t desvio,
                                bool porCodigo)
{
    std::map<std::string, LONG> posicoes;
    for (size_t i = 0; i < contas.size(); ++i)
        posicoes[contas[i].cClassificacao] = LONG(i + 1);
    std::vector<Consulta> consultas;
    for (uint32_t j = 0; j < quantas; ++j) {
        const LONG posicao = LONG(1 + (j * contas.size()) / quantas + desvio);
        const REG_PLANO_ALT_PS& conta = contas[size_t(posicao - 1)];
        const std::string classificacao = conta.cClassificacao;
        const size_t ponto = classificacao.rfind('.');
        const LONG titulo = ponto == std::string::npos ? 0 : posicoes[classificacao.substr(0, ponto)];
        std::string texto = porCodigo ? CodigoDaConta(conta, posicao) : classificacao;
        const BSTR bstr = plataforma::AlocaBstrDeAnsi(texto);
        consultas.push_back({posicao, std::move(texto), bstr, porCodigo ? posicao : titulo});
    }
    return consultas;
}

constexpr uint32_t kConsultas = 1000;

} // namespace

ConsultasSessao::ConsultasSessao(const std::vector<REG_PLANO_ALT_PS>& contas)
    : porCodigo(Consultas(contas, kConsultas - 2 * (kConsultas / 3), 0, true)),
      titulos(Consultas(contas, kConsultas / 3, 1, false)),
      leituras(Consultas(contas, kConsultas / 3, 2, false))
{
}

ConsultasSessao::~ConsultasSessao()
{
    for (auto* consultas : {&porCodigo, &titulos, &leituras})
        for (Consulta& c : *consultas)
            plataforma::LiberaBstr(c.bstr);
}

} // namespace bench
