// Check and repair of the selected plan (FuncaoGenerica kFuncaoVerificaPlano, kFuncaoReparaPlano):
// the index against the chart, the link chains, titles, own codes, masks and the catalogue's files.
// The repair regenerates the index and cuts the chains that loop or run past the end of the link
// file; it never deletes an account.
#include <cstring>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "df/planoalt/AlternativoBase.h"
#include "df/planoalt/ConversaoMascara.h"
#include "df/planoalt/FuncoesGenericas.h"
#include "df/planoalt/ServicoComum.h"
#include "df/tqlibex/TQPath.h"

namespace {

// Where a chain is cut: the account's first link, or the next of a link record.
struct Corte {
    uint32_t conta;
    uint32_t registroAnterior; // 0: the account's own field
};

} // namespace

HRESULT CBasePlanoAlternativo::VerificaCatalogo(std::vector<AchadoVerificacao>& achados)
{
    CTQArqEx arqPlanos;
    if (const StatusArq s = arqPlanos.Abre(Caminho(kArquivoPlanos), 'L', kTamanhoPlano, kAbreAgora))
        return Falha("VerificaCatalogo", "arqPlanos.Abre(sArquivoPlanos, 'L', sizeof(REG_PLANOS))",
                     s.ComoHResult());
    RegPlano r;
    for (uint32_t n = 1; !arqPlanos.Le(n, &r); ++n) {
        const std::string nome(r.cArquivo, strnlen(r.cArquivo, kTamanhoNomeArquivo));
        if ((r.bFlags & kPlanoExcluido) || !NomeArquivoPlanoValido(nome))
            continue;
        // A plan never opened has none of its files yet: only a plan missing part of them is at fault.
        const bool plano = CTQPath::ExisteArquivo(Caminho(nome));
        const bool indice = CTQPath::ExisteArquivo(Caminho(NomeArquivoIndice(nome)));
        const bool vinculos = CTQPath::ExisteArquivo(Caminho(NomeArquivoVinculos(nome)));
        const uint32_t faltam = (plano ? 0u : 1u) | (indice ? 0u : 2u);
        if (faltam && (plano || indice || vinculos))
            achados.push_back({kAchadoArquivoAusente, n, faltam, 0});
    }
    return S_OK;
}

HRESULT CBasePlanoAlternativo::VerificaVinculos(const std::vector<ContaLida>& contas, bool reparar,
                                                std::vector<AchadoVerificacao>& achados)
{
    CTQArqEx arqVinculos;
    std::vector<RegVinculoPlano> vinculos;
    if (const HRESULT hr = LeArquivoVinculos("VerificaVinculos", arqVinculos, reparar ? 'G' : 'L', vinculos); TQFalhou(hr))
        return hr;
    const auto registros = uint32_t(vinculos.size() - 1);
    // Which account's chain reached each record first.
    std::vector<uint32_t> dono(vinculos.size(), 0);
    std::vector<Corte> cortes;
    for (const ContaLida& c : contas) {
        uint32_t anterior = 0;
        for (uint32_t q = c.r.ulPrimeiroVinculo; q != 0; anterior = q, q = vinculos[q].ulProximo) {
            uint32_t tipo = 0;
            if (q > registros)
                tipo = kAchadoVinculoAlemDoFim;
            else if (dono[q] == c.posicao)
                tipo = kAchadoCadeiaEmLaco;
            else if (dono[q] != 0)
                tipo = kAchadoVinculoRepetido;
            if (tipo == 0) {
                dono[q] = c.posicao;
                continue;
            }
            const bool corta = reparar && tipo != kAchadoVinculoRepetido;
            achados.push_back({tipo, c.posicao, q, corta ? 1u : 0u});
            if (corta)
                cortes.push_back({c.posicao, anterior});
            break;
        }
    }
    if (cortes.empty())
        return S_OK;
    CTQArqEx arqPlano;
    if (const StatusArq s = arqPlano.Abre(Caminho(m_szArquivoPlano), 'G', kTamanhoConta, kAbreAgora))
        return Falha("VerificaVinculos", "arqPlano.Abre(sArquivoPlano, 'G', 96)", s.ComoHResult());
    for (const Corte& corte : cortes) {
        StatusArq s;
        if (corte.registroAnterior != 0) {
            RegVinculoPlano v = vinculos[corte.registroAnterior];
            v.ulProximo = 0;
            int32_t posicao = int32_t(corte.registroAnterior);
            s = arqVinculos.Grava(&v, posicao);
        } else {
            RegContaPlano conta;
            int32_t posicao = int32_t(corte.conta);
            s = arqPlano.Le(corte.conta, &conta);
            conta.ulPrimeiroVinculo = 0;
            if (!s)
                s = arqPlano.Grava(&conta, posicao);
        }
        if (s)
            return Falha("VerificaVinculos", "Grava(&RegEncadeado, &lPosicao)", s.ComoHResult());
    }
    return S_OK;
}

HRESULT CBasePlanoAlternativo::VerificaPlano(bool reparar, _REG_DF_FUNCAO_GENERICAPS** ppSaida)
{
    const char* funcao = reparar ? "ReparaPlano" : "VerificaPlano";
    if (!m_pClassificacao || m_lPlanoAtual == 0)
        return Falha(funcao, "m_pClassificacao", kSemPlanoSelecionado);
    // The repair rewrites link chains: under the mark of the links, as every change of them.
    if (reparar)
        if (const HRESULT hr = TomaMarca(funcao, kTipoMarcaPlanoEVinculo); TQFalhou(hr))
            return hr;
    Desmarcador desmarca{m_arqMarca};

    std::vector<AchadoVerificacao> achados;
    bool igual = false;
    if (const HRESULT hr = m_pClassificacao->ComparaIndice(igual); TQFalhou(hr))
        return Falha(funcao, "m_pClassificacao->ComparaIndice(bIgual)", hr);
    if (!igual)
        achados.push_back({kAchadoIndiceDiferente, 0, 0, 0});
    std::vector<ContaLida> contas;
    if (const HRESULT hr = LeContasVivas(funcao, contas); TQFalhou(hr))
        return hr;
    RegMascara mascaras;
    if (const HRESULT hr = LeMascarasDoPlano(funcao, mascaras); TQFalhou(hr))
        return hr;
    if (const HRESULT hr = VerificaVinculos(contas, reparar, achados); TQFalhou(hr))
        return hr;

    // Titles by their packed classification: 14 bytes, a key that needs no allocation.
    const auto chave = [](const uint8_t* empacotada) { return std::string(reinterpret_cast<const char*>(empacotada), 14); };
    std::unordered_set<std::string> titulos;
    titulos.reserve(contas.size());
    for (const ContaLida& c : contas)
        if (c.r.bStatus & kStatusTitulo)
            titulos.insert(chave(c.r.cClassificacao));
    std::unordered_map<std::string, uint32_t> codigos;
    codigos.reserve(contas.size());
    for (const ContaLida& c : contas) {
        char classificacao[kTamanhoClassificacao + 1];
        DesempacotaClassificacao(c.r.cClassificacao, classificacao);
        const std::string_view titulo = ClassificacaoDoTitulo(classificacao);
        uint8_t empacotado[kTamanhoEmpacotado];
        if (!titulo.empty()) {
            EmpacotaClassificacao(titulo, empacotado);
            if (!titulos.count(chave(empacotado)))
                achados.push_back({kAchadoSemTitulo, c.posicao, 0, 0});
        }
        const auto [primeira, nova] = codigos.try_emplace(ChaveCodigoProprio(c.r.cCodigo, sizeof c.r.cCodigo), c.posicao);
        if (!nova)
            achados.push_back({kAchadoCodigoRepetido, c.posicao, primeira->second, 0});
        if (!CabeNasMascaras(classificacao, mascaras.cMascara))
            achados.push_back({kAchadoForaDaMascara, c.posicao, 0, 0});
    }
    if (const HRESULT hr = VerificaCatalogo(achados); TQFalhou(hr))
        return hr;
    if (reparar && !igual) {
        if (const HRESULT hr = m_pClassificacao->GeraClassificacao(); TQFalhou(hr))
            return Falha(funcao, "m_pClassificacao->GeraClassificacao()", hr);
        achados.front().ulCorrigido = 1;
    }

    CabecalhoVerificacao cab{uint32_t(achados.size()), 0};
    for (const AchadoVerificacao& a : achados)
        cab.ulCorrigidos += a.ulCorrigido;
    std::vector<uint8_t> saida(sizeof cab + achados.size() * sizeof(AchadoVerificacao));
    std::memcpy(saida.data(), &cab, sizeof cab);
    if (!achados.empty())
        std::memcpy(saida.data() + sizeof cab, achados.data(), achados.size() * sizeof(AchadoVerificacao));
    return EntregaBytes(funcao, saida, ppSaida);
}
