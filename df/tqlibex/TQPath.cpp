#include "df/tqlibex/TQPath.h"

#include <mutex>

#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQChavesInicio.h"
#include "df/tqlibex/TQLConxExports.h"
#include "df/tqlibex/TQModulos.h"
#include "df/tqlibex/TQRegistro.h"
#include "platform/Arquivo.h"
#include "platform/Texto.h"

using plataforma::kSeparador;

namespace {

// Room for any path the suite's library hands back.
constexpr unsigned long kTamanhoSaida = 1024;

bool TerminaCom(const std::string& s, char c)
{
    return !s.empty() && s.back() == c;
}

std::string ComSeparadorFinal(std::string caminho, char separador)
{
    if (!caminho.empty() && !TerminaCom(caminho, separador))
        caminho += separador;
    return caminho;
}

std::string CombinaCom(const char* primeiro, const char* segundo, char separador)
{
    if (!segundo)
        return primeiro ? primeiro : "";
    if (!primeiro || !*primeiro)
        return segundo;
    std::string a = primeiro;
    const bool aTermina = TerminaCom(a, separador);
    const bool bComeca = *segundo == separador;
    if (aTermina && bComeca)
        return a + (segundo + 1);
    if (!aTermina && !bComeca)
        return a + separador + segundo;
    return a + segundo;
}

std::string Texto(const char* buffer, unsigned long tamanho)
{
    std::string s(buffer, tamanho);
    return s.substr(0, s.find('\0'));
}

} // namespace

std::string CTQPath::Combina(const char* primeiro, const char* segundo)
{
    return CombinaCom(primeiro, segundo, kSeparador);
}

std::string CTQPath::Combina(const std::string& primeiro, const std::string& segundo)
{
    return CombinaCom(primeiro.c_str(), segundo.c_str(), kSeparador);
}

std::string CTQPath::CombinaChave(const std::string& primeiro, const std::string& segundo)
{
    return CombinaCom(primeiro.c_str(), segundo.c_str(), '\\');
}

std::string CTQPath::GetDiretorio(const std::string& caminho)
{
    const size_t barra = caminho.rfind(kSeparador);
    return barra == std::string::npos ? std::string() : caminho.substr(0, barra + 1);
}

std::string CTQPath::GetNome(const std::string& caminho)
{
    const size_t barra = caminho.rfind(kSeparador);
    return barra == std::string::npos ? caminho : caminho.substr(barra + 1);
}

std::string CTQPath::GetExtensao(const std::string& caminho)
{
    const size_t ponto = caminho.rfind('.');
    if (ponto == std::string::npos || caminho.find(kSeparador, ponto) != std::string::npos)
        return {};
    return caminho.substr(ponto + 1);
}

std::string CTQPath::GetNomeSemExtensao(const std::string& caminho)
{
    const std::string nome = GetNome(caminho);
    const size_t ponto = nome.rfind('.');
    if (ponto == std::string::npos)
        return nome;
    return nome.substr(0, ponto);
}

std::string CTQPath::GetNomeNormalizado(const std::string& caminho)
{
    std::string nome = GetNomeSemExtensao(caminho);
    std::string extensao = GetExtensao(caminho);
    if (nome.empty() || extensao.empty())
        return {};
    for (char& c : nome)
        c = plataforma::MaiusculaAnsi(c);
    for (char& c : extensao)
        c = plataforma::MinusculaAnsi(c);
    return nome + '.' + extensao;
}

std::string CTQPath::GetRaiz(const std::string& caminho)
{
#ifdef _WIN32
    const size_t doisPontos = caminho.rfind(':');
    if (doisPontos != std::string::npos) {
        const bool barra = doisPontos + 1 < caminho.size() && caminho[doisPontos + 1] == '\\';
        return caminho.substr(0, doisPontos + 1 + (barra ? 1 : 0));
    }
    if (caminho.rfind("\\\\", 0) == 0) {
        const size_t fimServidor = caminho.find('\\', 2);
        return fimServidor == std::string::npos ? caminho : caminho.substr(0, fimServidor + 1);
    }
    return {};
#else
    return !caminho.empty() && caminho[0] == '/' ? "/" : "";
#endif
}

std::string CTQPath::GetParentPath(const std::string& caminho)
{
    const std::string raiz = GetRaiz(caminho);
    if (caminho.size() <= raiz.size())
        return {};
    size_t ultima = std::string::npos;
    size_t penultima = std::string::npos;
    for (size_t i = raiz.size(); i < caminho.size(); ++i) {
        if (caminho[i] == kSeparador) {
            penultima = ultima;
            ultima = i;
        }
    }
    // A directory written with its trailing separator: its parent is one level up.
    const size_t corte = ultima == caminho.size() - 1 ? penultima : ultima;
    if (corte == std::string::npos)
        return raiz;
    return caminho.substr(0, corte + 1);
}

bool CTQPath::ExisteArquivo(const std::string& caminho)
{
    plataforma::ModoArquivo modo;
    modo.leitura = true;
    modo.escrita = true;
    modo.compartilhaLeitura = true;
    modo.compartilhaEscrita = true;
    modo.disposicao = plataforma::Disposicao::AbreExistente;
    plataforma::ArquivoSO arquivo;
    const DWORD e = arquivo.Abre(caminho.c_str(), modo);
    // Refused opens (sharing, access) still prove the file is there.
    return e != plataforma::erro::ArquivoNaoEncontrado && e != plataforma::erro::CaminhoNaoEncontrado &&
           e != plataforma::erro::CaminhoRedeInvalido && e != plataforma::erro::DispositivoNaoPronto;
}

namespace {

// One call of a text-returning function of the suite's connection library; "" when it fails.
template <typename Funcao, typename Chamada>
std::string TextoDaConx(const char* exportada, Chamada chama)
{
    auto conx = CTQPath::CarregaBibliotecaModulo(kBibliotecaTQLConx, kModuloDF);
    if (!conx)
        return {};
    auto funcao = reinterpret_cast<Funcao>(conx->Simbolo(exportada));
    if (!funcao)
        return {};
    char saida[kTamanhoSaida] = {};
    if (!chama(funcao, saida))
        return {};
    return Texto(saida, kTamanhoSaida);
}

std::mutex& TravaInstalacao()
{
    static std::mutex trava;
    return trava;
}

std::string& InstalacaoSemRegistro()
{
    static std::string dir;
    return dir;
}

} // namespace

std::string CTQPath::DiretorioModulo(long modulo)
{
    if (modulo == kModuloNFe || modulo == kModuloDFConsolidacao)
        modulo = kModuloDF;
    const std::string subchave = TQSubchaveModulo(modulo);
    // An unknown module would read "Path" of the suite key itself.
    if (subchave.empty())
        return {};
    CTQRegistro registro(plataforma::RaizRegistro::LocalMachine, CombinaChave(kChaveSuiteBarra, subchave));
    const std::string dir = ComSeparadorFinal(registro.LeTexto(kValorPath, ""), kSeparador);
    if (dir.empty() && modulo == kModuloDF) {
        std::lock_guard<std::mutex> trava(TravaInstalacao());
        return InstalacaoSemRegistro();
    }
    return dir;
}

void CTQPath::DefineInstalacaoSemRegistro(const std::string& diretorio)
{
    std::lock_guard<std::mutex> trava(TravaInstalacao());
    InstalacaoSemRegistro() = ComSeparadorFinal(diretorio, kSeparador);
}

std::unique_ptr<plataforma::Biblioteca> CTQPath::CarregaBibliotecaModulo(const std::string& nome, long modulo)
{
    const std::string dir = DiretorioModulo(modulo);
    // Without an installation directory the name would be searched for: never load that way.
    if (dir.empty())
        return nullptr;
    auto biblioteca = std::make_unique<plataforma::Biblioteca>();
    if (!biblioteca->Carrega(Combina(Combina(dir, "x64"), nome).c_str()))
        return nullptr;
    return biblioteca;
}

std::string CTQPath::GetDiretorioDadosModulo(long modulo, const std::string& empresa)
{
    if (CTQChavesInicio::UtilizarTQSDataBase())
        return TextoDaConx<PFN_GetDiretorioDadosModulo>(kExportGetDiretorioDadosModulo, [&](auto funcao, char* saida) {
            return funcao(modulo, empresa.c_str(), saida, kTamanhoSaida) == 0;
        });

    return GetDiretorioDadosRegistro(kSubchaveEmpresas, modulo, empresa);
}

std::string CTQPath::GetDiretorioDadosRegistro(const std::string& subchave, long modulo, const std::string& empresa)
{
    // Without a company the key would be the subkey itself.
    if (empresa.empty())
        return {};
    CTQRegistro registro(plataforma::RaizRegistro::LocalMachine,
                         CombinaChave(kChaveSuiteBarra, CombinaChave(subchave, empresa)));
    if (!registro.EstaAberta())
        return {};
    const bool doDF = modulo == kModuloNFe || modulo == kModuloDFConsolidacao;
    const std::string codigo = TQCodigoModulo(doDF ? kModuloDF : modulo);
    // An unknown module has no value name; the key's default value is not its directory.
    if (codigo.empty())
        return {};
    std::string dir = registro.LeTexto(codigo.c_str(), "");
    if (modulo == kModuloNFe && !dir.empty())
        dir = ComSeparadorFinal(dir, kSeparador) + "NFe";
    return ComSeparadorFinal(dir, kSeparador);
}

std::string CTQPath::GetNomeEmpresaLogada()
{
    return TextoDaConx<PFN_TQGetNomeEmpresaLogada>(kExportTQGetNomeEmpresaLogada, [](auto funcao, char* saida) {
        return funcao(saida, kTamanhoSaida) != 0;
    });
}
