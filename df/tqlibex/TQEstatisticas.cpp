#include "df/tqlibex/TQEstatisticas.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "df/tqlibex/TQProfiler.h"

namespace {

// "Classe<...>::Metodo::..." gives the class before the first ':' (cut at '<') and the method
// after the following "::" (cut at the next ':').
void SeparaNome(std::string_view nome, std::string_view& classe, std::string_view& metodo)
{
    const size_t doisPontos = nome.find(':');
    classe = nome.substr(0, doisPontos);
    classe = classe.substr(0, classe.find('<'));
    metodo = {};
    if (doisPontos == std::string_view::npos)
        return;
    const size_t separador = nome.find("::", doisPontos);
    if (separador == std::string_view::npos)
        return;
    metodo = nome.substr(separador + 2);
    metodo = metodo.substr(0, metodo.find(':'));
}

void Funde(ContadoresChamada& destino, const ContadoresChamada& origem) { destino.Soma(origem); }

template <typename Mapa>
void Funde(Mapa& destino, const Mapa& origem)
{
    for (const auto& [chave, ramo] : origem)
        Funde(destino[chave], ramo);
}

} // namespace

void ContadoresChamada::Soma(const ContadoresChamada& outro)
{
    chamadas += outro.chamadas;
    totalMs += outro.totalMs;
    maiorMs = std::max(maiorMs, outro.maiorMs);
    menorMs = std::min(menorMs, outro.menorMs);
}

void TQAdicionaEstatistica(ArvoreEstatisticas& arvore, ITQDF_Profiler* identidade, const char* nomeQualificado,
                           uint64_t inicio100ns, uint64_t fim100ns)
{
    const uint64_t duracao = (fim100ns - inicio100ns) / 10000;
    std::string_view classe, metodo;
    SeparaNome(nomeQualificado ? nomeQualificado : "", classe, metodo);

    std::string empresa;
    uint16_t usuario = 0;
    std::string_view aplicativo;
    if (identidade) {
        empresa = identidade->GetEmpresa();
        usuario = identidade->GetUsuario();
        const _REG_DF_INICIALIZAPS& reg = identidade->GetRegistroInicializacao();
        aplicativo = std::string_view(reg.szAplicativo, strnlen(reg.szAplicativo, sizeof reg.szAplicativo));
    }

    ContadoresChamada umaChamada;
    umaChamada.chamadas = 1;
    umaChamada.totalMs = duracao;
    umaChamada.maiorMs = duracao;
    umaChamada.menorMs = duracao;
    arvore[empresa][TQDmaHoje()][std::string(aplicativo)][std::string(classe)][std::string(metodo)][usuario].Soma(
        umaChamada);
}

void TQFundeEstatisticas(ArvoreEstatisticas& destino, const ArvoreEstatisticas& origem) { Funde(destino, origem); }
