// Bulk import (FuncaoGenerica kFuncaoImportaContas): a block of accounts validated against the
// plan and against each other, then appended in import mode with the index generated once.
#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "df/planoalt/AlternativoBase.h"
#include "df/planoalt/ConversaoMascara.h"
#include "df/planoalt/FuncoesGenericas.h"
#include "df/planoalt/ServicoComum.h"

namespace {

std::string_view Campo(const char* campo, size_t tamanho) { return {campo, strnlen(campo, tamanho)}; }

} // namespace

HRESULT CBasePlanoAlternativo::LeContasVivas(const char* funcao, std::vector<ContaLida>& contas)
{
    contas.clear();
    // What the store may still hold in memory reaches the file first; then one scan of the chart.
    uint32_t proxima = 0;
    if (const HRESULT hr = m_pClassificacao->GetQuantidadeRegistros(&proxima); TQFalhou(hr))
        return Falha(funcao, "m_pClassificacao->GetQuantidadeRegistros(&ulQuantidade)", hr);
    CTQArqEx arqPlano;
    if (const StatusArq s = arqPlano.Abre(Caminho(m_szArquivoPlano), 'L', kTamanhoConta, kAbreAgora))
        return Falha(funcao, "arqPlano.Abre(sArquivoPlano, 'L', 96)", s.ComoHResult());
    const auto n = uint32_t(std::max(arqPlano.QuantidadeRegistros(true), 0));
    contas.reserve(n);
    for (uint32_t p = 1; p <= n;) {
        const uint8_t* dados = nullptr;
        uint32_t registros = 0;
        if (const StatusArq s = arqPlano.LeBloco(p, dados, registros))
            return Falha(funcao, "arqPlano.Le(lPosicao, &RegConta)", s.ComoHResult());
        if (registros == 0)
            break;
        for (uint32_t i = 0; i < registros && p <= n; ++i, ++p) {
            ContaLida c{p, {}};
            std::memcpy(&c.r, dados + size_t(i) * kTamanhoConta, kTamanhoConta);
            if (!(c.r.bStatus & kStatusExcluido))
                contas.push_back(c);
        }
    }
    return S_OK;
}

HRESULT CBasePlanoAlternativo::LeMascarasDoPlano(const char* funcao, RegMascara& mascaras)
{
    if (const StatusArq s = LeUmRegistro(Caminho(kArquivoMascaras), 'L', kTamanhoMascara, m_lPlanoAtual, &mascaras))
        return Falha(funcao, "arqMascaras.Le(m_lPlanoAtual, &RegMascara)", s.ComoHResult());
    return S_OK;
}

HRESULT CBasePlanoAlternativo::ImportaContas(const _REG_DF_FUNCAO_GENERICAPS& entrada,
                                             _REG_DF_FUNCAO_GENERICAPS** ppSaida)
{
    CabecalhoImportacao cabecalho{};
    if (entrada.ulQtdBytes < sizeof cabecalho || !entrada.pListaBytes)
        return Falha("ImportaContas", "regInps.ulQtdBytes >= sizeof(CabecalhoImportacao)", kBlocoInvalido);
    std::memcpy(&cabecalho, entrada.pListaBytes, sizeof cabecalho);
    if (entrada.ulQtdBytes != sizeof cabecalho + uint64_t(cabecalho.ulQtd) * sizeof(REG_PLANO_ALT_PS))
        return Falha("ImportaContas", "regInps.ulQtdBytes == 8 + ulQtd * sizeof(REG_PLANO_ALT_PS)",
                     kBlocoInvalido);
    if (!m_pClassificacao || m_lPlanoAtual == 0)
        return Falha("ImportaContas", "m_pClassificacao", kSemPlanoSelecionado);
    // The masks the accounts are checked against do not change until they are written (a process
    // holds one mark at a time: the mask change's is the one that matters here).
    if (const HRESULT hr = TomaMarcaMascaras("ImportaContas"); TQFalhou(hr))
        return hr;
    Desmarcador desmarca{m_arqMarca};
    RegMascara mascaras;
    if (const HRESULT hr = LeMascarasDoPlano("ImportaContas", mascaras); TQFalhou(hr))
        return hr;
    std::vector<ContaLida> existentes;
    if (const HRESULT hr = LeContasVivas("ImportaContas", existentes); TQFalhou(hr))
        return hr;
    uint32_t proxima = 0;
    if (const HRESULT hr = m_pClassificacao->GetQuantidadeRegistros(&proxima); TQFalhou(hr))
        return Falha("ImportaContas", "m_pClassificacao->GetQuantidadeRegistros(&ulQuantidade)", hr);
    proxima = std::max(proxima, 1u); // a chart without even its record 0 gets it with the first append

    std::unordered_set<std::string> codigosPlano, codigosBloco, titulos;
    for (const ContaLida& c : existentes) {
        codigosPlano.insert(ChaveCodigoProprio(c.r.cCodigo, sizeof c.r.cCodigo));
        if (c.r.bStatus & kStatusTitulo)
            titulos.insert(DesempacotaClassificacao(c.r.cClassificacao));
    }
    const uint32_t n = cabecalho.ulQtd;
    std::vector<REG_PLANO_ALT_PS> contas(n);
    if (n)
        std::memcpy(contas.data(), entrada.pListaBytes + sizeof cabecalho, size_t(n) * sizeof(REG_PLANO_ALT_PS));
    for (const REG_PLANO_ALT_PS& c : contas)
        if (c.cTipo == 'T')
            titulos.insert(std::string(Campo(c.cClassificacao, sizeof c.cClassificacao)));

    // Each account in turn; an account without an own code gets the reduced code of the position
    // it will take, which must be free too.
    std::vector<ResultadoImportacao> resultados(n);
    std::vector<RegContaPlano> registros;
    registros.reserve(n);
    uint32_t recusadas = 0;
    for (uint32_t i = 0; i < n; ++i) {
        const REG_PLANO_ALT_PS& c = contas[i];
        const std::string_view classificacao = Campo(c.cClassificacao, sizeof c.cClassificacao);
        const std::string_view nome = Campo(c.cNome, sizeof c.cNome);
        const std::string_view codigo = Campo(c.cCodigoProprio, sizeof c.cCodigoProprio);
        const std::string_view titulo = ClassificacaoDoTitulo(classificacao);
        const uint32_t posicao = proxima + uint32_t(registros.size());
        RegContaPlano r{};
        if (codigo.empty())
            TQDigitoConta(posicao, r.cCodigo, sizeof r.cCodigo);
        else if (codigo.size() <= sizeof r.cCodigo)
            std::memcpy(r.cCodigo, codigo.data(), codigo.size());
        const std::string chave = ChaveCodigoProprio(r.cCodigo, sizeof r.cCodigo);
        HRESULT hr = S_OK;
        if (c.cTipo != 'T' && c.cTipo != 'A')
            hr = kContaTipoInvalido;
        else if (!CabeNasMascaras(classificacao, mascaras.cMascara))
            hr = kContaForaDaMascara;
        else if (nome.empty() || nome.size() > sizeof r.cNome)
            hr = kContaNomeInvalido;
        else if (codigo.size() > sizeof r.cCodigo)
            hr = kContaCodigoLongo;
        else if (codigosPlano.count(chave))
            hr = kContaCodigoDoPlano;
        else if (!codigosBloco.insert(chave).second)
            hr = kContaCodigoRepetido;
        else if (!titulo.empty() && !titulos.count(std::string(titulo)))
            hr = kContaSemTitulo;
        resultados[i].hr = hr;
        if (hr != S_OK) {
            ++recusadas;
            continue;
        }
        std::memcpy(r.cNome, nome.data(), nome.size());
        r.iIndTitulo = c.iIndTitulo;
        r.iCaracteristica = c.iCaracteristica;
        r.bStatus = c.cTipo == 'T' ? kStatusTitulo : 0;
        EmpacotaClassificacao(classificacao, r.cClassificacao);
        resultados[i].lPosicao = LONG(posicao);
        registros.push_back(r);
    }
    if (existentes.size() + registros.size() > kMaximoContas || proxima - 1 + registros.size() > kMaximoContas)
        return Falha("ImportaContas", "ulQuantidade > 65500", kContasDemais);

    const bool grava = !(cabecalho.ulOpcoes & kImportaSimulacao) &&
                       (recusadas == 0 || (cabecalho.ulOpcoes & kImportaValidas));
    if (grava && !registros.empty()) {
        if (const HRESULT hr = m_pClassificacao->SetInicioImportacao(false); TQFalhou(hr))
            return Falha("ImportaContas", "m_pClassificacao->SetInicioImportacao(false)", hr);
        HRESULT hrInclui = S_OK;
        for (const RegContaPlano& r : registros) {
            uint32_t posicao = 0;
            if ((hrInclui = m_pClassificacao->Inclui(&posicao, reinterpret_cast<const uint8_t*>(&r))) != S_OK)
                break;
        }
        // Import mode ends on every way out: it holds the chart's write handle.
        const HRESULT hrFim = m_pClassificacao->SetFimImportacao();
        if (hrInclui != S_OK)
            return Falha("ImportaContas", "m_pClassificacao->Inclui(&lPosicao, &RegConta)",
                         TQFalhou(hrInclui) ? hrInclui : kFalha);
        if (TQFalhou(hrFim))
            return Falha("ImportaContas", "m_pClassificacao->SetFimImportacao()", hrFim);
    }
    if (!grava)
        for (ResultadoImportacao& r : resultados)
            r.lPosicao = 0;

    std::vector<uint8_t> saida(sizeof(CabecalhoResultadoImportacao) + resultados.size() * sizeof(ResultadoImportacao));
    const CabecalhoResultadoImportacao cab{grava ? uint32_t(registros.size()) : 0, n};
    std::memcpy(saida.data(), &cab, sizeof cab);
    if (n)
        std::memcpy(saida.data() + sizeof cab, resultados.data(), resultados.size() * sizeof(ResultadoImportacao));
    return EntregaBytes("ImportaContas", saida, ppSaida);
}
