// The masks of a plan: stored, read, and changed with every account rewritten under the new ones.
#include <cstring>
#include <string>

#include "df/planoalt/AlternativoBase.h"
#include "df/planoalt/ArquivosPlano.h"
#include "df/planoalt/ServicoComum.h"
#include "df/planoalt/ConversaoMascara.h"
#include "df/planoalt/CopiaCampo.h"
#include "df/tqlibex/StatusArquivo.h"
#include "platform/Arquivo.h"

namespace {

constexpr uint32_t kUltimaPosicao = 0xFFFF; // the conversion counts positions in 16 bits

// A mask of the change: up to its NUL, without its trailing spaces.
std::string MascaraNova(const char (&campo)[32])
{
    std::string m(campo, strnlen(campo, sizeof campo));
    while (!m.empty() && m.back() == ' ')
        m.pop_back();
    return m;
}

} // namespace

HRESULT CBasePlanoAlternativo::SetMascara(LONG lPosicaoPlano, REG_MASCARA_ALT_PS RegMascaraps)
{
    if (lPosicaoPlano == 0)
        return S_OK;
    RegPlano plano;
    if (uint32_t s = LeUmRegistro(Caminho(kArquivoPlanos), 'G', kTamanhoPlano, uint32_t(lPosicaoPlano), &plano))
        return Falha("SetMascara", __LINE__, "arqPlanos.Le(lPosicaoPlano, &RegPlano)", TQHResultDoStatus(s));
    if (const HRESULT hr = TomaMarca("SetMascara", kTipoMarcaMascara); TQFalhou(hr))
        return hr;
    Desmarcador desmarca{m_arqMarca};
    CTQArqEx arqMascaras;
    if (uint32_t s = arqMascaras.Abre(Caminho(kArquivoMascaras), 'G', kTamanhoMascara, 1, true))
        return Falha("SetMascara", __LINE__, "arqMascaras.Abre(sArquivoMascaras, 'G', 294)", TQHResultDoStatus(s));
    // Plans without masks before this one read as empty records.
    static const RegMascara vazia{};
    for (uint64_t n = arqMascaras.GetTamanhoArquivo() / kTamanhoMascara; n < uint64_t(lPosicaoPlano); ++n) {
        int32_t posicao = 0;
        if (uint32_t s = arqMascaras.Grava(&vazia, posicao))
            return Falha("SetMascara", __LINE__, "arqMascaras.Grava(&RegVazio, &lPosicao)", TQHResultDoStatus(s));
    }
    int32_t posicao = int32_t(lPosicaoPlano);
    if (uint32_t s = arqMascaras.Grava(&RegMascaraps, posicao))
        return Falha("SetMascara", __LINE__, "arqMascaras.Grava(&RegMascaraps, &lPosicaoPlano)", TQHResultDoStatus(s));
    arqMascaras.Fecha();
    return S_OK;
}

HRESULT CBasePlanoAlternativo::BuscaMascara(LONG lPosicaoPlano, REG_MASCARA_ALT_PS* RegMascaraps)
{
    if (!RegMascaraps)
        return Falha("BuscaMascara", __LINE__, "RegMascaraps", kPonteiroNulo);
    std::memset(RegMascaraps, 0, sizeof *RegMascaraps);
    if (lPosicaoPlano == 0)
        return S_OK;
    if (uint32_t s =
            LeUmRegistro(Caminho(kArquivoMascaras), 'L', kTamanhoMascara, uint32_t(lPosicaoPlano), RegMascaraps))
        return Falha("BuscaMascara", __LINE__, "arqMascaras.Le(lPosicaoPlano, RegMascaraps)", TQHResultDoStatus(s));
    return S_OK;
}

HRESULT CBasePlanoAlternativo::AlteraMascara(const _MASCARA_PLANO_ALT* Mascara)
{
    if (!m_pClassificacao)
        return Falha("AlteraMascara", __LINE__, "m_pClassificacao", kSemPlanoSelecionado);
    if (!Mascara)
        return Falha("AlteraMascara", __LINE__, "Mascara", kPonteiroNulo);
    if (const HRESULT hr = TomaMarca("AlteraMascara", kTipoMarcaMascara); TQFalhou(hr))
        return hr;
    Desmarcador desmarca{m_arqMarca};
    std::string novas[kMascaras];
    for (size_t d = 0; d < kMascaras; ++d)
        novas[d] = MascaraNova(Mascara->Nova[d]);

    const std::string plano = Caminho(m_szArquivoPlano);
    const std::string trabalho = Caminho(kArquivoTrabalho);
    {
        CTQArqEx arqPlano, arqTrabalho;
        if (uint32_t s = arqPlano.Abre(plano, 'L', kTamanhoConta, 1, true))
            return Falha("AlteraMascara", __LINE__, "arqPlano.Abre(sArquivoPlano, 'L', 96)", TQHResultDoStatus(s));
        const RegContaPlano zero{};
        int32_t posicao = 0;
        uint32_t s = arqTrabalho.Abre(trabalho, 'C', kTamanhoConta, 1, true);
        if (!s)
            s = arqTrabalho.Grava(&zero, posicao);
        if (s)
            return Falha("AlteraMascara", __LINE__, "arqTrabalho.Abre(\"Plano.dat\", 'C', 96)", TQHResultDoStatus(s));
        for (uint32_t p = 1; p <= kUltimaPosicao; ++p) {
            RegContaPlano r;
            s = arqPlano.Le(p, &r);
            if (s == statusarq::FimArquivo)
                break;
            // Any other failure stops the change: a partial chart is never swapped in.
            if (s)
                return Falha("AlteraMascara", __LINE__, "arqPlano.Le(lPosicao, &RegConta)", TQHResultDoStatus(s));
            bool preservada = true;
            if (!(r.bStatus & kStatusExcluido)) {
                const std::string atual = DesempacotaClassificacao(r.cClassificacao);
                if (!atual.empty() && atual[0] >= '0' && atual[0] <= '9') {
                    std::string convertida;
                    preservada = ConverteClassificacao(atual, novas[atual[0] - '0'], convertida);
                    convertida.resize(32, ' ');
                    EmpacotaClassificacao(std::string_view(convertida).substr(0, kTamanhoClassificacao),
                                          r.cClassificacao);
                }
            }
            posicao = 0;
            if ((s = arqTrabalho.Grava(&r, posicao)))
                return Falha("AlteraMascara", __LINE__, "arqTrabalho.Grava(&RegConta, &lPosicao)", TQHResultDoStatus(s));
            if (!preservada)
                return kMascaraPerderiaDigito;
        }
    }
    // Windows refuses to rename an open file: the store lets go of its read handle first.
    m_pClassificacao->VerificaFechamentoArquivoPadrao();
    plataforma::ApagaArquivo(Caminho(m_szArquivoIndice).c_str());
    plataforma::ApagaArquivo(Caminho(kArquivoTrabalhoAntigo).c_str());
    plataforma::RenomeiaArquivo(plano.c_str(), Caminho(kArquivoTrabalhoAntigo).c_str());
    plataforma::RenomeiaArquivo(trabalho.c_str(), plano.c_str());
    CTQArqEx::InvalidaCachesDoArquivo(plano);
    m_pClassificacao->GeraClassificacao();

    CTQArqEx arqMascaras;
    RegMascara mascara;
    uint32_t s = arqMascaras.Abre(Caminho(kArquivoMascaras), 'G', kTamanhoMascara, 1, true);
    if (!s)
        s = arqMascaras.Le(m_lPlanoAtual, &mascara);
    if (s)
        return Falha("AlteraMascara", __LINE__, "arqMascaras.Le(m_lPlanoAtual, &RegMascara)", TQHResultDoStatus(s));
    for (size_t d = 0; d < kMascaras; ++d)
        TQCopiaCampo(mascara.cMascara[d], sizeof mascara.cMascara[d], novas[d], TQ_AQUI, true);
    int32_t posicao = int32_t(m_lPlanoAtual);
    if ((s = arqMascaras.Grava(&mascara, posicao)))
        return Falha("AlteraMascara", __LINE__, "arqMascaras.Grava(&RegMascara, &m_lPlanoAtual)", TQHResultDoStatus(s));
    arqMascaras.Fecha();
    return S_OK;
}
