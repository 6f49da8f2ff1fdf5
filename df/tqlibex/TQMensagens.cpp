#include "df/tqlibex/TQMensagens.h"

#include <cstdlib>
#include <memory>

#include "df/tqlibex/FuncoesArq.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQLMensagemExports.h"
#include "df/tqlibex/TQMensExports.h"
#include "df/tqlibex/TQModulos.h"
#include "df/tqlibex/TQPath.h"
#include "df/tqlibex/TQRegistro.h"
#include "df/tqlibex/TQTrace.h"
#include "platform/Biblioteca.h"
#include "platform/Processo.h"
#include "platform/Versao.h"

namespace {

constexpr size_t kMaxLinha = 1023; // a line read into 1024 bytes
constexpr size_t kInicioTexto = 8; // the text starts at the ninth character
constexpr size_t kMaxCaminho = 260;

// "\n" as two characters is a line break; a final line break is dropped.
std::string TextoDaLinha(std::string_view linha)
{
    while (!linha.empty() && (linha.back() == '\n' || linha.back() == '\r'))
        linha.remove_suffix(1);
    std::string texto;
    if (linha.size() <= kInicioTexto)
        return texto;
    linha.remove_prefix(kInicioTexto);
    for (size_t i = 0; i < linha.size(); ++i) {
        if (linha[i] == '\\' && i + 1 < linha.size() && linha[i + 1] == 'n') {
            texto += '\n';
            ++i;
        } else {
            texto += linha[i];
        }
    }
    if (!texto.empty() && texto.back() == '\n')
        texto.pop_back();
    return texto;
}

} // namespace

std::string TQTextoArquivoMensagens(uint32_t codigoMensagem, uint32_t modulo)
{
    const CTQRegistro chave(plataforma::RaizRegistro::LocalMachine, kChaveSuite);
    const std::string caminho =
        CTQPath::Combina(chave.LeTexto(kValorMensagens, ""), "TQ" + TQCodigoModulo(long(modulo)) + "Mens.txt");
    std::string conteudo;
    if (!TQLeArquivoInteiro(caminho, conteudo)) {
        plataforma::MostraMensagem("Erro",
                                   "N\xE3o foi poss\xEDvel abrir o arquivo texto de Mensagens " + caminho +
                                       ". Caso o caminho esteja correto, atualize o arquivo.",
                                   plataforma::EstiloMensagem::Exclamacao);
        return {};
    }
    for (size_t inicio = 0; inicio < conteudo.size();) {
        size_t fim = conteudo.find('\n', inicio);
        fim = fim == std::string::npos ? conteudo.size() : fim + 1;
        fim = std::min(fim, inicio + kMaxLinha);
        const std::string_view linha(conteudo.data() + inicio, fim - inicio);
        inicio = fim;
        char* depois = nullptr;
        const std::string numero(linha.substr(0, std::min<size_t>(linha.size(), 20)));
        const unsigned long codigo = std::strtoul(numero.c_str(), &depois, 10);
        if (depois != numero.c_str() && codigo == codigoMensagem)
            return TextoDaLinha(linha);
    }
    return {};
}

std::string TQDescricaoHResult(HRESULT hr)
{
    const auto biblioteca = CTQPath::CarregaBibliotecaModulo(kBibliotecaTQLMensagem, kModuloDF);
    if (!biblioteca)
        return {};
    const auto descreve = reinterpret_cast<PFN_TQGetDescricaoHRESULT>(biblioteca->Simbolo(kExportTQGetDescricaoHRESULT));
    char texto[400] = {};
    if (!descreve || !descreve(hr, texto, sizeof texto))
        return {};
    return texto;
}

void TQRelataErro(HRESULT principal, HRESULT detalhe, int32_t valor, const std::string& empresa, const char* fonte,
                  int linha, bool mostra, const std::string& texto)
{
    const auto biblioteca = CTQPath::CarregaBibliotecaModulo(kBibliotecaTQMens, kModuloDF);
    if (!biblioteca)
        return;
    const auto relata = reinterpret_cast<PFN_TQTrataErroExported>(biblioteca->Simbolo(kExportTQTrataErroExported));
    if (!relata)
        return;
    const std::string executavel = plataforma::CaminhoExecutavel().substr(0, kMaxCaminho);
    relata(principal, detalhe, valor, empresa.c_str(), fonte ? fonte : "", linha, mostra ? 1 : 0, 0,
           executavel.c_str(), texto.c_str());
}

std::string TQTextoRelatorioErro(uint32_t codigoMensagem, uint32_t modulo, DWORD erroSistema)
{
    std::string texto = TQTextoArquivoMensagens(codigoMensagem, modulo);
    if (texto.empty())
        texto = "Erro desconhecido encontrado. C\xF3" "digo (" + std::to_string(codigoMensagem) + ")";
    if (erroSistema != 0)
        texto += "\nErro do SO: " + std::to_string(erroSistema) + " - " + plataforma::TextoErroSistema(erroSistema);
    return texto;
}

void TQMostraErro(uint32_t codigoMensagem, uint32_t modulo, DWORD erroSistema, plataforma::EstiloMensagem estilo)
{
    plataforma::MostraMensagem(TQSubchaveModulo(long(modulo)), TQTextoRelatorioErro(codigoMensagem, modulo, erroSistema),
                               estilo);
}
