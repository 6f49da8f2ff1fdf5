// The accounts of the selected plan: read, written, counted and found through the chart store.
#include <cstring>
#include <map>
#include <vector>

#include "df/planoalt/AlternativoBase.h"
#include "df/planoalt/ArquivosPlano.h"
#include "df/planoalt/ServicoComum.h"
#include "platform/Texto.h"

HRESULT CBasePlanoAlternativo::Le(LONG lPosicaoIn, REG_PLANO_ALT_PS* RegPlanoAltps)
{
    if (!RegPlanoAltps)
        return Falha("Le", "RegPlanoAltps", kPonteiroNulo);
    std::memset(RegPlanoAltps, 0, sizeof *RegPlanoAltps);
    if (!m_pClassificacao)
        return S_OK;
    return LeConta(uint32_t(lPosicaoIn), RegPlanoAltps);
}

HRESULT CBasePlanoAlternativo::LeConta(uint32_t posicao, REG_PLANO_ALT_PS* saida)
{
    RegContaPlano r;
    if (const HRESULT hr = m_pClassificacao->Le(posicao, reinterpret_cast<uint8_t*>(&r)); hr != S_OK)
        return hr;
    return CarregaEstrutura(posicao, reinterpret_cast<const uint8_t*>(&r), saida);
}

HRESULT CBasePlanoAlternativo::Grava(LONG lPosicaoIn, REG_PLANO_ALT_PS RegPlanoAltps, LONG* lPosicaoOut)
{
    if (!lPosicaoOut)
        return Falha("Grava", "lPosicaoOut", kPonteiroNulo);
    RegContaPlano r{};
    *lPosicaoOut = 0;
    if (!m_pClassificacao)
        return Falha("Grava", "m_pClassificacao", kSemPlanoSelecionado);
    // The count, the own-code check and the write in one write session of the chart: another
    // writer cannot append in between, which would give two accounts one reduced code or one own code.
    if (const HRESULT hr = m_pClassificacao->AbreGravacao(); TQFalhou(hr))
        return Falha("Grava", "m_pClassificacao->AbreGravacao()", hr);
    const SessaoGravacao sessao{*m_pClassificacao};
    // For a new account: the position it will receive, which also gives its reduced code.
    uint32_t quantidade = 0;
    if (lPosicaoIn != 0) {
        m_pClassificacao->SetInvalidaCache();
        if (const HRESULT hr = m_pClassificacao->Le(uint32_t(lPosicaoIn), reinterpret_cast<uint8_t*>(&r)); hr != S_OK)
            return hr;
    } else {
        if (const HRESULT hr = m_pClassificacao->GetQuantidadeRegistros(&quantidade); TQFalhou(hr))
            return Falha("Grava", "m_pClassificacao->GetQuantidadeRegistros(&ulQuantidade)", hr);
        if (quantidade > kMaximoContas)
            return Falha("Grava", "ulQuantidade > 65500", kContasDemais);
    }
    const std::string codigo(RegPlanoAltps.cCodigoProprio, strnlen(RegPlanoAltps.cCodigoProprio, sizeof r.cCodigo));
    uint32_t achada = 0;
    const HRESULT existe =
        m_pClassificacao->ExisteCodigo(plataforma::AnsiParaOle(codigo).c_str(), &achada, 1);
    if (!TQFalhou(existe) && achada != 0 && achada != uint32_t(lPosicaoIn))
        return kCodigoDeOutraConta;

    r.iIndTitulo = RegPlanoAltps.iIndTitulo;
    std::memcpy(r.cNome, RegPlanoAltps.cNome, sizeof r.cNome);
    std::memcpy(r.cCodigo, RegPlanoAltps.cCodigoProprio, sizeof r.cCodigo);
    if (lPosicaoIn == 0 && !RegPlanoAltps.cCodigoProprio[0])
        TQDigitoConta(quantidade, r.cCodigo, sizeof r.cCodigo);
    r.iCaracteristica = RegPlanoAltps.iCaracteristica;
    r.bStatus = uint8_t(RegPlanoAltps.cTipo == 'T' ? (r.bStatus | kStatusTitulo) : (r.bStatus & ~kStatusTitulo));
    EmpacotaClassificacao(
        std::string_view(RegPlanoAltps.cClassificacao, strnlen(RegPlanoAltps.cClassificacao, kTamanhoClassificacao)),
        r.cClassificacao);
    uint32_t posicao = uint32_t(lPosicaoIn);
    if (const HRESULT hr = m_pClassificacao->GravaDados(reinterpret_cast<const uint8_t*>(&r), &posicao); hr != S_OK)
        return hr;
    *lPosicaoOut = LONG(posicao);
    return S_OK;
}

HRESULT CBasePlanoAlternativo::GetQuantidadeRegistros(ULONG* lQuantidade)
{
    if (!lQuantidade)
        return Falha("GetQuantidadeRegistros", "lQuantidade", kPonteiroNulo);
    if (!m_pClassificacao)
        return Falha("GetQuantidadeRegistros", "m_pClassificacao", kSemPlanoSelecionado);
    uint32_t quantidade = 0;
    const HRESULT hr = m_pClassificacao->GetQuantidadeRegistros(&quantidade);
    *lQuantidade = ULONG(quantidade);
    return hr;
}

HRESULT CBasePlanoAlternativo::BuscaDados(LONG lQtd, const LONG* lPosicoes, REG_PLANO_ALT_PS* RegPlanoAltps)
{
    if (!m_pClassificacao)
        return Falha("BuscaDados", "m_pClassificacao", kSemPlanoSelecionado);
    if (lQtd < 1)
        return S_OK;
    if (!lPosicoes || !RegPlanoAltps)
        return Falha("BuscaDados", "lPosicoes", kPonteiroNulo);
    for (LONG i = 0; i < lQtd; ++i)
        if (const HRESULT hr = LeConta(uint32_t(lPosicoes[i]), &RegPlanoAltps[i]); hr != S_OK)
            return hr;
    return S_OK;
}

HRESULT CBasePlanoAlternativo::Existe(const OLECHAR* bsCodigo, int iPrioridade, LONG* lPosicao,
                                      REG_PLANO_ALT_PS* RegPlanoAltps)
{
    if (!lPosicao || !RegPlanoAltps)
        return Falha("Existe", "lPosicao", kPonteiroNulo);
    *lPosicao = 0;
    // Like the other account operations, without a selected plan there is nothing to find in.
    if (!m_pClassificacao)
        return Falha("Existe", "m_pClassificacao", kSemPlanoSelecionado);
    uint32_t achada = 0;
    m_bContaExcluida = false;
    if (const HRESULT hr = m_pClassificacao->ExisteCodigo(bsCodigo, &achada, uint16_t(iPrioridade & 0xFFFF));
        hr != S_OK)
        return hr;
    if (achada == 0)
        return S_OK;
    const HRESULT hr = Le(LONG(achada), RegPlanoAltps);
    if (m_bContaExcluida)
        return kCodigoDeContaExcluida;
    *lPosicao = LONG(achada);
    return hr;
}

HRESULT CBasePlanoAlternativo::ExisteContaTitulo(const OLECHAR* bsClassificacao, LONG* lPosicao)
{
    if (!lPosicao)
        return Falha("ExisteContaTitulo", "lPosicao", kPonteiroNulo);
    *lPosicao = 0;
    if (!m_pClassificacao)
        return Falha("ExisteContaTitulo", "m_pClassificacao", kSemPlanoSelecionado);
    uint32_t achada = 0;
    const HRESULT hr = m_pClassificacao->ExisteContaTitulo(bsClassificacao, &achada);
    *lPosicao = LONG(achada);
    return hr;
}

HRESULT CBasePlanoAlternativo::ExisteSubordinadas(const OLECHAR* bsClassificacao)
{
    if (!m_pClassificacao)
        return Falha("ExisteSubordinadas", "m_pClassificacao", kSemPlanoSelecionado);
    return m_pClassificacao->ExisteSubordinadas(bsClassificacao);
}

HRESULT CBasePlanoAlternativo::ExcluiContas(int iQtd, const LONG* pPosicoes)
{
    if (iQtd < 1)
        return S_OK;
    if (!pPosicoes)
        return Falha("ExcluiContas", "pPosicoes", kPonteiroNulo);
    if (!m_pClassificacao)
        return Falha("ExcluiContas", "m_pClassificacao", kSemPlanoSelecionado);
    // Every account once, in ascending order, with the links it had when it was collected.
    std::map<uint32_t, std::vector<ParVinculo>> contas;
    const auto adiciona = [&](uint32_t posicao) -> HRESULT {
        if (contas.count(posicao))
            return S_OK;
        std::vector<ParVinculo> vinculos;
        if (const HRESULT hr = BuscaPosVinculos(posicao, vinculos); TQFalhou(hr))
            return hr;
        contas.emplace(posicao, std::move(vinculos));
        return S_OK;
    };
    const auto tipoG = plataforma::AnsiParaOle("G");
    for (int i = 0; i < iQtd; ++i) {
        const uint32_t posicao = uint32_t(pPosicoes[i]);
        if (const HRESULT hr = adiciona(posicao); TQFalhou(hr))
            return hr;
        std::vector<REGCON_INDEX> subarvore;
        if (const HRESULT hr = EntradasIndice("ExcluiContas", tipoG.c_str(), posicao, subarvore); TQFalhou(hr))
            return hr;
        for (const REGCON_INDEX& e : subarvore)
            if (const HRESULT hr = adiciona(IDX_INDCON(e.Tipo_IndCon)); TQFalhou(hr))
                return hr;
    }
    for (const auto& [posicao, vinculos] : contas) {
        for (const ParVinculo& v : vinculos) {
            REG_VINCULO_ALT remove{};
            remove.bExcluir = 1;
            remove.lPosicaoAlt = LONG(posicao);
            remove.lPosicaoPla = v.lPosicaoPla;
            remove.iCaracteristicaPla = uint16_t(v.iCaracteristica);
            if (const HRESULT hr = Vinculo(remove); TQFalhou(hr))
                return hr;
        }
        // Position 0 answers a success code, which does not stop the deletion of the others.
        if (const HRESULT hr = m_pClassificacao->Exclui(posicao); TQFalhou(hr))
            return Falha("ExcluiContas", "m_pClassificacao->Exclui(lPosicao)", hr);
    }
    return S_OK;
}
