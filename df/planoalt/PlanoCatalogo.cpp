// The plan catalogue: list, write, delete and select plans, and list the selected plan's index.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "df/planoalt/AlternativoBase.h"
#include "df/planoalt/ArquivosPlano.h"
#include "df/planoalt/ServicoComum.h"
#include "df/planoalt/CopiaCampo.h"
#include "df/tqlibex/Arquivo.h"
#include "df/tqlibex/StatusArquivo.h"
#include "platform/Texto.h"

namespace {

constexpr uint64_t kTamanhoIndiceEsvaziado = 32; // not a whole index entry, as the suite leaves it

std::string NomeDoArquivo(const RegPlano& plano, size_t maximo)
{
    return std::string(plano.cArquivo, strnlen(plano.cArquivo, maximo));
}

// Cuts an existing file (never creating it) to `tamanho` bytes; a file that cannot be opened stays.
void Trunca(const std::string& caminho, uint64_t tamanho)
{
    CArquivo arq;
    if (arq.Abre(caminho, 'G'))
        return;
    arq.Trunca(uint32_t(tamanho));
    arq.Fecha();
}

} // namespace

HRESULT CBasePlanoAlternativo::BuscaPlanos(ARRAY_REG_DADOS_PLANO_ALT_PS** ppArrayDadosPlanoAltps)
{
    if (!ppArrayDadosPlanoAltps)
        return Falha("BuscaPlanos", "ppArrayDadosPlanoAltps", kPonteiroNulo);
    CTQArqEx arqPlanos;
    if (StatusArq s = arqPlanos.Abre(Caminho(kArquivoPlanos), 'L', kTamanhoPlano, kAbreAgora))
        return Falha("BuscaPlanos", "arqPlanos.Abre(sArquivoPlanos, 'L', sizeof(REG_PLANOS))",
                     s.ComoHResult());
    auto* lista = AlocaZerado<ARRAY_REG_DADOS_PLANO_ALT_PS>(1);
    if (!lista)
        return Falha("BuscaPlanos", "CoTaskMemAlloc(sizeof(ARRAY_REG_DADOS_PLANO_ALT_PS))", kSemMemoria);
    *ppArrayDadosPlanoAltps = lista;
    std::vector<REG_DADOS_PLANO_ALT_PS> planos;
    RegPlano r;
    for (uint32_t n = 1; !arqPlanos.Le(n, &r); ++n) {
        if (r.bFlags & kPlanoExcluido)
            continue;
        REG_DADOS_PLANO_ALT_PS& p = planos.emplace_back();
        std::memset(&p, 0, sizeof p);
        p.lPosicaoPlano = LONG(n);
        std::memcpy(p.cNomePlano, r.cNome, sizeof r.cNome);
        p.cNomePlano[49] = 0;
        p.RemoverConsitenciasVinculo = (r.bFlags & kPlanoSemConsistenciaVinculo) ? 1 : 0;
        p.bConsiderarCaracteristicaDaContaDragAndDrop = int8_t(r.bConsiderarCaracteristica);
    }
    lista->iQtde = uint16_t(planos.size());
    lista->pArrayDadosPlanoAlt = AlocaZerado<REG_DADOS_PLANO_ALT_PS>(lista->iQtde);
    if (lista->iQtde && !lista->pArrayDadosPlanoAlt) {
        lista->iQtde = 0;
        return Falha("BuscaPlanos", "CoTaskMemAlloc(iQtde * sizeof(REG_DADOS_PLANO_ALT_PS))", kSemMemoria);
    }
    if (lista->iQtde)
        std::memcpy(lista->pArrayDadosPlanoAlt, planos.data(), sizeof(REG_DADOS_PLANO_ALT_PS) * lista->iQtde);
    arqPlanos.Fecha();
    return S_OK;
}

HRESULT CBasePlanoAlternativo::GravaPlano(LONG lPosicaoIn, REG_DADOS_PLANO_ALT_PS RegDadosPlanoAlt, LONG* lPosicaoOut)
{
    if (!lPosicaoOut)
        return Falha("GravaPlano", "lPosicaoOut", kPonteiroNulo);
    *lPosicaoOut = 0;
    if (const HRESULT hr = TomaMarca("GravaPlano", kTipoMarcaPlanoEVinculo); TQFalhou(hr))
        return hr;
    Desmarcador desmarca{m_arqMarca};
    CTQArqEx arqPlanos;
    if (StatusArq s = arqPlanos.Abre(Caminho(kArquivoPlanos), 'G', kTamanhoPlano, kAbreAgora))
        return Falha("GravaPlano", "arqPlanos.Abre(sArquivoPlanos, 'G', sizeof(REG_PLANOS))",
                     s.ComoHResult());
    RegPlano r{};
    if (lPosicaoIn < 1) {
        // The number the appended record will get names the plan's files, once.
        const uint64_t numero = arqPlanos.GetTamanhoArquivo() / kTamanhoPlano;
        TQCopiaCampo(r.cArquivo, sizeof r.cArquivo, NomeArquivoPlano(numero));
    } else if (StatusArq s = arqPlanos.Le(uint32_t(lPosicaoIn), &r)) {
        return Falha("GravaPlano", "arqPlanos.Le(lPosicaoIn, &RegPlano)", s.ComoHResult());
    }
    TQCopiaCampo(r.cNome, sizeof r.cNome,
                 std::string_view(RegDadosPlanoAlt.cNomePlano, strnlen(RegDadosPlanoAlt.cNomePlano, 50)));
    r.bFlags = uint8_t((r.bFlags & ~kPlanoSemConsistenciaVinculo) |
                       (RegDadosPlanoAlt.RemoverConsitenciasVinculo > 0 ? kPlanoSemConsistenciaVinculo : 0));
    r.bConsiderarCaracteristica = uint8_t(RegDadosPlanoAlt.bConsiderarCaracteristicaDaContaDragAndDrop & 0xFF);
    int32_t posicao = int32_t(lPosicaoIn); // 0 appends; a negative position is refused by the file
    if (StatusArq s = arqPlanos.Grava(&r, posicao))
        return Falha("GravaPlano", "arqPlanos.Grava(&RegPlano, &lPosicao)", s.ComoHResult());
    *lPosicaoOut = LONG(posicao);
    arqPlanos.Fecha();
    return S_OK;
}

void CBasePlanoAlternativo::EsvaziaArquivosDoPlano(const RegPlano& plano)
{
    const std::string nome = NomeDoArquivo(plano, kTamanhoNomeArquivo - 1);
    if (!NomeArquivoSeguro(nome)) {
        Falha("ExcluiPlanos", "NomeArquivoSeguro(RegPlano.cArquivo)", kNomeDeArquivoInvalido);
        return;
    }
    Trunca(Caminho(nome), kTamanhoConta);
    Trunca(Caminho(NomeArquivoIndice(nome)), kTamanhoIndiceEsvaziado);
}

HRESULT CBasePlanoAlternativo::ExcluiPlanos(ARRAY_REG_EXCLUI_PLANO_ALT_PS RegExclui)
{
    CTQArqEx arqPlanos;
    if (StatusArq s = arqPlanos.Abre(Caminho(kArquivoPlanos), 'G', kTamanhoPlano, kAbreAgora))
        return Falha("ExcluiPlanos", "arqPlanos.Abre(sArquivoPlanos, 'G', sizeof(REG_PLANOS))",
                     s.ComoHResult());
    const int64_t registros = int64_t(arqPlanos.GetTamanhoArquivo() / kTamanhoPlano);
    if (RegExclui.iQtd != 0 && !RegExclui.pPosicoes)
        return Falha("ExcluiPlanos", "RegExclui.pPosicoes", kParametroIncorreto);
    for (uint32_t i = 0; i < RegExclui.iQtd; ++i)
        if (RegExclui.pPosicoes[i] < 1 || RegExclui.pPosicoes[i] > registros - 1)
            return Falha("ExcluiPlanos", "E_INVALIDARG", kParametroIncorreto);
    for (uint32_t i = 0; i < RegExclui.iQtd; ++i) {
        int32_t posicao = int32_t(RegExclui.pPosicoes[i]);
        RegPlano r;
        if (StatusArq s = arqPlanos.Le(uint32_t(posicao), &r))
            return Falha("ExcluiPlanos", "arqPlanos.Le(pPosicoes[i], &RegPlano)", s.ComoHResult());
        r.bFlags |= kPlanoExcluido;
        EsvaziaArquivosDoPlano(r);
        if (StatusArq s = arqPlanos.Grava(&r, posicao))
            return Falha("ExcluiPlanos", "arqPlanos.Grava(&RegPlano, &lPosicao)", s.ComoHResult());
    }
    arqPlanos.Fecha();
    return S_OK;
}

HRESULT CBasePlanoAlternativo::SetPlano(LONG lPosicaoPlano)
{
    m_lPlanoAtual = 0;
    // Record 0 is no plan, and a negative number none either: as a record past the end.
    if (lPosicaoPlano < 1)
        return Falha("SetPlano", "arqPlanos.Le(lPosicaoPlano, &RegPlano)", kForaDoArquivo);
    // A mask change that a crash cut short is finished or undone before any chart is read.
    if (const HRESULT hr = RecuperaMudancaMascara("SetPlano", false); TQFalhou(hr))
        return hr;
    RegPlano plano;
    if (StatusArq s = LeUmRegistro(Caminho(kArquivoPlanos), 'G', kTamanhoPlano, uint32_t(lPosicaoPlano), &plano))
        return Falha("SetPlano", "arqPlanos.Le(lPosicaoPlano, &RegPlano)", s.ComoHResult());
    const std::string nome = NomeDoArquivo(plano, kTamanhoNomeArquivo);
    if (!NomeArquivoPlanoValido(nome)) {
        m_szArquivoPlano[0] = m_szArquivoIndice[0] = 0;
        return Falha("SetPlano", "NomeArquivoSeguro(RegPlano.cArquivo)", kNomeDeArquivoInvalido);
    }
    TQCopiaCampo(m_szArquivoPlano, sizeof m_szArquivoPlano, nome);
    TQCopiaCampo(m_szArquivoIndice, sizeof m_szArquivoIndice, NomeArquivoIndice(nome));
    {
        CTQArqEx arqPlano;
        if (arqPlano.Abre(Caminho(m_szArquivoPlano), 'L', kTamanhoConta, kAbreAgora) == statusarq::NaoEncontrado) {
            // A chart that once existed is not re-created by the guard: make it anew, with its record 0.
            if (StatusArq s = arqPlano.Abre(Caminho(m_szArquivoPlano), 'C', kTamanhoConta, kAbreAgora))
                return Falha("SetPlano", "arqPlano.Abre(sArquivoPlano, 'C', 96)", s.ComoHResult());
            const uint8_t zeros[kTamanhoConta] = {};
            int32_t posicao = 0;
            if (StatusArq s = arqPlano.Grava(zeros, posicao))
                return Falha("SetPlano", "arqPlano.Grava(RegZero, &lPosicao)", s.ComoHResult());
        }
    }
    InicializaPlano();
    // An index that a crash left cut short, or behind its chart, is made anew.
    if (m_pClassificacao)
        if (const HRESULT hr = m_pClassificacao->VerificaIndice(); TQFalhou(hr))
            return Falha("SetPlano", "m_pClassificacao->VerificaIndice()", hr);
    m_lPlanoAtual = uint32_t(lPosicaoPlano);
    if (const HRESULT hr = RecarregaMascaras(); hr != S_OK) {
        m_lPlanoAtual = 0;
        return hr;
    }
    return S_OK;
}

HRESULT CBasePlanoAlternativo::RecarregaMascaras()
{
    RegMascara mascara;
    if (StatusArq s = LeUmRegistro(Caminho(kArquivoMascaras), 'G', kTamanhoMascara, m_lPlanoAtual, &mascara))
        return Falha("SetPlano", "arqMascaras.Le(lPosicaoPlano, &RegMascara)",
                     s == statusarq::FimArquivo ? kPlanoSemRegistroDeMascara : s.ComoHResult());
    static const RegMascara vazia{};
    if (std::memcmp(&mascara, &vazia, sizeof mascara) == 0)
        return Falha("SetPlano", "RegMascara", kPlanoSemMascaras);
    std::string texto;
    for (const auto& m : mascara.cMascara) {
        std::string uma(m, strnlen(m, sizeof m));
        uma.resize(sizeof m, ' ');
        texto += uma;
    }
    if (m_pClassificacao)
        m_pClassificacao->SetMascaras(plataforma::AnsiParaOle(texto).c_str());
    return S_OK;
}

void CBasePlanoAlternativo::IniciaChamada()
{
    if (!m_pClassificacao)
        return;
    m_pClassificacao->NovaChamada();
    if (!m_pClassificacao->ArquivoTrocado())
        return;
    // Another process swapped the chart: its change is waited for (or finished, if it was cut
    // short), and the store reads the new chart under the masks that go with it.
    if (TQFalhou(RecuperaMudancaMascara("IniciaChamada", false)))
        return;
    if (m_lPlanoAtual)
        RecarregaMascaras();
}

HRESULT CBasePlanoAlternativo::EntregaIndice(const char* funcao, const std::vector<REGCON_INDEX_ALT_PS>& lista,
                                             ARRAY_REGCON_INDEX_ALT_PS** ppArrayRegConIndexps)
{
    auto* bloco = AlocaZerado<ARRAY_REGCON_INDEX_ALT_PS>(1);
    if (!bloco)
        return Falha(funcao, "CoTaskMemAlloc(sizeof(ARRAY_REGCON_INDEX_ALT_PS))", kSemMemoria);
    *ppArrayRegConIndexps = bloco;
    bloco->pArrayRegConIndex = AlocaZerado<REGCON_INDEX_ALT_PS>(lista.size());
    if (bloco->pArrayRegConIndex) {
        bloco->iQtde = uint16_t(lista.size());
        std::memcpy(bloco->pArrayRegConIndex, lista.data(), sizeof(REGCON_INDEX_ALT_PS) * lista.size());
    }
    return S_OK;
}

HRESULT CBasePlanoAlternativo::EntradasIndice(const char* funcao, const OLECHAR* tipo, uint32_t posicao,
                                              std::vector<REGCON_INDEX>& entradas)
{
    entradas.clear();
    if (!m_pClassificacao)
        return Falha(funcao, "m_pClassificacao", kSemPlanoSelecionado);
    uint32_t n = 0;
    const HRESULT hr = m_pClassificacao->GetTamanhoIndex(tipo, posicao, &n);
    if (TQFalhou(hr))
        return Falha(funcao, "m_pClassificacao->GetTamanhoIndex(bsTipo, lPosicao, &lQtd)", hr);
    if (hr != S_OK || n == 0)
        return S_OK;
    entradas.assign(n, REGCON_INDEX{});
    if (m_pClassificacao->GetIndex(n, entradas.data(), false) != S_OK)
        entradas.clear();
    return S_OK;
}

HRESULT CBasePlanoAlternativo::GetPlanoIndex(const OLECHAR* bsTipo, ULONG lPosicao,
                                             ARRAY_REGCON_INDEX_ALT_PS** ppArrayRegConIndexps)
{
    if (!ppArrayRegConIndexps)
        return Falha("GetPlanoIndex", "ppArrayRegConIndexps", kPonteiroNulo);
    std::vector<REGCON_INDEX> entradas;
    const HRESULT resultado = EntradasIndice("GetPlanoIndex", bsTipo, lPosicao, entradas);
    std::vector<REGCON_INDEX_ALT_PS> lista(entradas.size(), REGCON_INDEX_ALT_PS{});
    for (size_t i = 0; i < entradas.size(); ++i) {
        lista[i].Tipo_IndCon = entradas[i].Tipo_IndCon;
        std::memcpy(lista[i].Classificacao, entradas[i].Classificacao, sizeof lista[i].Classificacao);
    }
    if (const HRESULT hr = EntregaIndice("GetPlanoIndex", lista, ppArrayRegConIndexps); TQFalhou(hr))
        return hr;
    return resultado;
}
