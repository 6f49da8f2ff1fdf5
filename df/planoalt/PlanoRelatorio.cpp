// The plan as a report: one line per account in index order, each analytic account followed by
// a line per main-chart account linked to it, handed field by field to the suite's builder.
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "df/planoalt/AlternativoBase.h"
#include "df/tqlibex/TQComPtr.h"
#include "df/tqlibex/TQExcecoes.h"
#include "platform/Texto.h"
#include "suite/Rotinas/MontaRelatorio.h"
#include "suite/comum/TQDF_Plano.h"

namespace {

// The fields the builder may ask for: code and width.
struct Campo {
    int64_t codigo;
    uint16_t largura;
};
constexpr Campo kCampos[] = {{101, 17}, {102, 6}, {103, 37}, {104, 87}, {105, 7}};
constexpr uint32_t kBitsDeTipo = 0xFF000000u;
constexpr const char* kRecuoVinculo = "     ";

std::optional<Campo> CampoDoCodigo(int64_t codigo)
{
    for (const Campo& c : kCampos)
        if (c.codigo == codigo)
            return c;
    return std::nullopt;
}

std::string Texto(const char* campo, size_t tamanho) { return std::string(campo, strnlen(campo, tamanho)); }

// An account line's text for a field.
std::string TextoDaConta(const Campo& campo, const REG_PLANO_ALT_PS& conta)
{
    switch (campo.codigo) {
    case 101: return Texto(conta.cCodigoProprio, sizeof conta.cCodigoProprio);
    case 102: return conta.cTipo ? std::string(1, char(conta.cTipo)) : std::string();
    case 103: return Texto(conta.cClassificacao, sizeof conta.cClassificacao);
    case 104: return Texto(conta.cNome, sizeof conta.cNome);
    default: return {};
    }
}

// A link line's text for a field: five spaces and the main-chart account's value, or the sign
// of the link's characteristic; cut to the field's width.
std::string TextoDoVinculo(const Campo& campo, const uint8_t (&conta)[kTamanhoContaPlano], int16_t caracteristica)
{
    const auto texto = [&](size_t offset, size_t fim) {
        return Texto(reinterpret_cast<const char*>(conta) + offset, fim - offset);
    };
    std::string valor;
    switch (campo.codigo) {
    case 101: valor = kRecuoVinculo + texto(kContaPlanoCodigo, kContaPlanoNome); break;
    case 102: valor = kRecuoVinculo + std::string(1, char(conta[kContaPlanoTipo])); break;
    case 103: valor = kRecuoVinculo + texto(kContaPlanoClassificacao, kContaPlanoCodigo); break;
    case 104: valor = kRecuoVinculo + texto(kContaPlanoNome, kContaPlanoTipo); break;
    case 105: valor = caracteristica == 1 ? "+" : caracteristica == 2 ? "-" : "?"; break;
    default: break;
    }
    return valor.substr(0, campo.largura);
}

// One line: each field the user chose, with its text and width; the columns described when asked.
template <class TextoDe>
void Linha(CMontaRelatorio& montador, bool descreve, TextoDe&& textoDe)
{
    montador.InicializaLinha();
    const uint16_t campos = montador.GetQtdeCampos();
    for (uint16_t i = 0; i < campos; ++i) {
        int64_t codigo = 0;
        montador.GetCampoEscolhido(i, codigo);
        const std::optional<Campo> campo = CampoDoCodigo(codigo);
        if (!campo)
            continue;
        montador.Adiciona(textoDe(*campo), campo->largura);
        if (descreve)
            montador.AdicionaDetalhe(codigo, 1, campo->largura, 0, "", true, false);
    }
    montador.FinalizaLinha();
}

// The main-chart server's session record: the framework's session, the user, the company.
void MontaSessao(uint8_t (&sessao)[kTamanhoSessaoPlano], uint32_t numeroSessao, uint16_t usuario,
                 const char* empresa)
{
    std::memset(sessao, 0, sizeof sessao);
    std::memcpy(sessao, &numeroSessao, sizeof numeroSessao);
    std::memcpy(sessao + kSessaoPlanoUsuario, &usuario, sizeof usuario);
    std::memcpy(sessao + kSessaoPlanoEmpresa, empresa, strnlen(empresa, kSessaoPlanoEmpresaTamanho));
    sessao[kSessaoPlanoMarca] = 'C';
}

} // namespace

HRESULT CBasePlanoAlternativo::GeraRelatorioPlanoAlternativo(const char* szArquivoTmp, const char* szRelatorio,
                                                             const char* szRazaoSocial, LONG lPlano)
{
    try {
        auto montador = std::make_unique<CMontaRelatorio>();
        const HRESULT inicio = montador->Inicializa(
            plataforma::AnsiParaOle(GetEmpresa()).c_str(), GetUsuario(), GetNumeroSessao(),
            plataforma::AnsiParaOle(szRazaoSocial ? szRazaoSocial : "").c_str(), plataforma::AnsiParaOle("DF").c_str(),
            plataforma::AnsiParaOle("ALT").c_str(), plataforma::AnsiParaOle(szArquivoTmp ? szArquivoTmp : "").c_str(),
            plataforma::AnsiParaOle(szRelatorio ? szRelatorio : "").c_str(), 0);
        if (TQFalhou(inicio))
            return Falha("GeraRelatorioPlanoAlternativo", "m_MontaRelatorio.Inicializa(...)", inicio);
        // The plan stays selected after the report, whatever comes of it.
        if (const HRESULT hr = SetPlano(lPlano); TQFalhou(hr)) {
            montador->Finaliza(true);
            return hr;
        }
        std::vector<REGCON_INDEX> entradas;
        if (const HRESULT hr = EntradasIndice("GeraRelatorioPlanoAlternativo", plataforma::AnsiParaOle("X").c_str(), 0,
                                              entradas);
            TQFalhou(hr)) {
            montador->Finaliza(true);
            return hr;
        }
        if (entradas.empty())
            return S_OK;

        CTQComPtr<ITQDF_Plano> planoEmpresa;
        if (const HRESULT hr = planoEmpresa.CoCreateInstance(CLSID_TQDF_Plano); TQFalhou(hr))
            return hr;
        uint8_t sessao[kTamanhoSessaoPlano];
        MontaSessao(sessao, GetNumeroSessao(), GetUsuario(), GetEmpresa());
        if (const HRESULT hr = planoEmpresa->Inicializa(sessao); TQFalhou(hr))
            return Falha("GeraRelatorioPlanoAlternativo", "pPlano->Inicializa(RegSessao)", hr);

        bool primeira = true;
        std::vector<ParVinculo> vinculos;
        for (const REGCON_INDEX& entrada : entradas) {
            REG_PLANO_ALT_PS conta;
            if (const HRESULT hr = Le(LONG(entrada.Tipo_IndCon & ~kBitsDeTipo), &conta); hr != S_OK)
                return TQFalhou(hr) ? Falha("GeraRelatorioPlanoAlternativo", "Le(lPosicao, &RegPlanoAlt)", hr)
                                    : hr;
            // The columns are described by the first line alone.
            Linha(*montador, primeira, [&](const Campo& campo) { return TextoDaConta(campo, conta); });
            primeira = false;
            if (!(entrada.Tipo_IndCon & kBitsDeTipo) ||
                TQFalhou(BuscaPosVinculos(entrada.Tipo_IndCon & ~kBitsDeTipo, vinculos)))
                continue;
            for (const ParVinculo& vinculo : vinculos) {
                uint8_t contaEmpresa[kTamanhoContaPlano];
                if (const HRESULT hr = planoEmpresa->LeConta(vinculo.lPosicaoPla, contaEmpresa); TQFalhou(hr))
                    return Falha("GeraRelatorioPlanoAlternativo", "pPlano->LeConta(lPosicaoPla, RegPlano)",
                                 hr);
                Linha(*montador, false, [&](const Campo& campo) {
                    return TextoDoVinculo(campo, contaEmpresa, vinculo.iCaracteristica);
                });
            }
        }
        if (const HRESULT hr = montador->GeraRelatorio(); hr != 0) {
            montador->Finaliza(true);
            return Falha("GeraRelatorioPlanoAlternativo", "m_MontaRelatorio.GeraRelatorio()", hr);
        }
        return S_OK;
    } catch (CException* e) {
        e->Delete();
        return TQHResult(0x80004005); // E_FAIL
    }
}
