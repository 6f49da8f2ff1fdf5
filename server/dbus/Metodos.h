// The one table of the interface on the bus: for each slot from 3 on, in slot order, the
// method, the kind of each parameter and its name. The server's handlers, the introspection
// data and the proxy's vtable are all derived from it.
#pragma once

#include <cstddef>
#include <string>
#include <tuple>
#include <utility>

#include "server/dbus/Argumentos.h"

namespace dbus {

// The first argument as a count, for the arrays it sizes.
template <class T>
long ComoContagem(const T& a)
{
    if constexpr (std::is_integral_v<T>)
        return long(a);
    else
        return 0;
}

template <auto F, class... K>
struct Metodo {
    static constexpr auto kFuncao = F;
    using Lados = std::tuple<typename K::Lado...>;
    static constexpr size_t kParametrosTotal = sizeof...(K);

    static std::string Entrada() { return (std::string() + ... + K::kEntrada); }
    // The HRESULT comes first in every answer.
    static std::string Saida() { return (std::string("i") + ... + K::kSaida); }

    // Server: the in part of the call; stops at the first argument that is not well.
    static Leitura LeEntrada(sd_bus_message* m, Lados& lados)
    {
        return LeDe<0>(m, lados, 0);
    }
    static HRESULT Chama(ITQDF_PlanoAlt* objeto, Lados& lados)
    {
        return std::apply([&](auto&... l) { return (objeto->*F)(K::Arg(l)...); }, lados);
    }
    static int EscreveSaida(sd_bus_message* resposta, HRESULT hr, const Lados& lados)
    {
        int r = sd_bus_message_append_basic(resposta, 'i', &hr);
        std::apply([&](const auto&... l) { ((r = r < 0 ? r : K::Escreve(resposta, l)), ...); }, lados);
        return r;
    }

    // Proxy: the in part from the caller's arguments, and the out part back into its memory.
    static HRESULT EnviaEntrada(sd_bus_message* m, typename K::Tipo... a)
    {
        const long contagem = PrimeiraContagem(a...);
        HRESULT hr = S_OK;
        ((hr = TQFalhou(hr) ? hr : K::Envia(m, a, contagem)), ...);
        return hr;
    }
    static HRESULT RecebeSaida(sd_bus_message* r, typename K::Tipo... a)
    {
        const long contagem = PrimeiraContagem(a...);
        HRESULT hr = S_OK;
        ((hr = TQFalhou(hr) ? hr : K::Recebe(r, a, contagem)), ...);
        return hr;
    }

private:
    template <class P, class... R>
    static long PrimeiraContagem(const P& p, const R&...) { return ComoContagem(p); }

    template <size_t I>
    static Leitura LeDe(sd_bus_message* m, Lados& lados, long contagem)
    {
        if constexpr (I == sizeof...(K)) {
            return Leitura::Ok;
        } else {
            using Tipo = std::tuple_element_t<I, std::tuple<K...>>;
            auto& lado = std::get<I>(lados);
            const Leitura l = Tipo::Le(m, lado, contagem);
            if (l != Leitura::Ok)
                return l;
            return LeDe<I + 1>(m, lados, I == 0 ? lado.Contagem() : contagem);
        }
    }
};

#define ZAZ_DBUS_METODO(nome, nomesParametros, ...)                                                      \
    struct nome : Metodo<&ITQDF_PlanoAlt::nome, __VA_ARGS__> {                                      \
        static constexpr const char* kNome = #nome;                                                      \
        static constexpr const char* kParametros[] = {ZAZ_DBUS_NOMES nomesParametros};                   \
    };
#define ZAZ_DBUS_NOMES(...) __VA_ARGS__

namespace metodos {

using Bloco = SaidaBloco<ARRAY_REG_DADOS_PLANO_ALT_PS, &ARRAY_REG_DADOS_PLANO_ALT_PS::iQtde,
                         &ARRAY_REG_DADOS_PLANO_ALT_PS::pArrayDadosPlanoAlt>;
using BlocoIndice = SaidaBloco<ARRAY_REGCON_INDEX_ALT_PS, &ARRAY_REGCON_INDEX_ALT_PS::iQtde,
                               &ARRAY_REGCON_INDEX_ALT_PS::pArrayRegConIndex>;
using BlocoGenerico = SaidaBloco<_REG_DF_FUNCAO_GENERICAPS, &_REG_DF_FUNCAO_GENERICAPS::ulQtdBytes,
                                 &_REG_DF_FUNCAO_GENERICAPS::pListaBytes>;
using Generico = ListaPorValor<_REG_DF_FUNCAO_GENERICAPS, &_REG_DF_FUNCAO_GENERICAPS::ulQtdBytes,
                               &_REG_DF_FUNCAO_GENERICAPS::pListaBytes, 'y'>;
using Exclusao = ListaPorValor<ARRAY_REG_EXCLUI_PLANO_ALT_PS, &ARRAY_REG_EXCLUI_PLANO_ALT_PS::iQtd,
                               &ARRAY_REG_EXCLUI_PLANO_ALT_PS::pPosicoes, 'i'>;
using I4 = Inteiro<LONG>;
using Conta = SaidaRegistros<REG_PLANO_ALT_PS>;

ZAZ_DBUS_METODO(Inicializa_Padrao, ("regps"), Registro<_REG_DF_INICIALIZAPS>)
ZAZ_DBUS_METODO(KeepAlive, ("pbOK"), SaidaInteiro<LONG>)
ZAZ_DBUS_METODO(GetUltimoErro, ("pregErrops"), SaidaRegistros<_REG_DF_ERROPS>)
ZAZ_DBUS_METODO(FuncaoGenerica, ("ulFuncao", "regInps", "ppregOutps"), Inteiro<ULONG>, Generico, BlocoGenerico)
ZAZ_DBUS_METODO(BuscaPlanos, ("ppArrayDadosPlanoAltps"), Bloco)
ZAZ_DBUS_METODO(GravaPlano, ("lPosicaoIn", "RegDadosPlanoAlt", "lPosicaoOut"), I4, Registro<REG_DADOS_PLANO_ALT_PS>,
                SaidaInteiro<LONG>)
ZAZ_DBUS_METODO(ExcluiPlanos, ("RegExclui"), Exclusao)
ZAZ_DBUS_METODO(SetPlano, ("lPosicaoPlano"), I4)
ZAZ_DBUS_METODO(SetMascara, ("lPosicaoPlano", "RegMascaraps"), I4, Registro<REG_MASCARA_ALT_PS>)
ZAZ_DBUS_METODO(BuscaMascara, ("lPosicaoPlano", "RegMascaraps"), I4, SaidaRegistros<REG_MASCARA_ALT_PS>)
ZAZ_DBUS_METODO(Le, ("lPosicaoIn", "RegPlanoAltps"), I4, Conta)
ZAZ_DBUS_METODO(Grava, ("lPosicaoIn", "RegPlanoAltps", "lPosicaoOut"), I4, Registro<REG_PLANO_ALT_PS>,
                SaidaInteiro<LONG>)
ZAZ_DBUS_METODO(GetQuantidadeRegistros, ("lQuantidade"), SaidaInteiro<ULONG>)
ZAZ_DBUS_METODO(BuscaDados, ("lQtd", "lPosicoes", "RegPlanoAltps"), I4, Posicoes,
                SaidaRegistros<REG_PLANO_ALT_PS, true>)
ZAZ_DBUS_METODO(GetPlanoIndex, ("bsTipo", "lPosicao", "ppArrayRegConIndexps"), Texto, Inteiro<ULONG>, BlocoIndice)
ZAZ_DBUS_METODO(AlteraMascara, ("Mascara"), Registro<_MASCARA_PLANO_ALT, true>)
ZAZ_DBUS_METODO(Existe, ("bsCodigo", "iPrioridade", "lPosicao", "RegPlanoAltps"), Texto, Inteiro<int>,
                SaidaInteiro<LONG>, Conta)
ZAZ_DBUS_METODO(ExisteContaTitulo, ("bsClassificacao", "lPosicao"), Texto, SaidaInteiro<LONG>)
ZAZ_DBUS_METODO(ExisteSubordinadas, ("bsClassificacao"), Texto)
ZAZ_DBUS_METODO(Vinculo, ("RegVinculo"), Registro<REG_VINCULO_ALT>)
ZAZ_DBUS_METODO(BuscaVinculo, ("lPosicaoAlt", "ppArrayRegConIndexps"), I4, BlocoIndice)
ZAZ_DBUS_METODO(GeraRelatorioPlanoAlternativo, ("bsArquivoTmp", "bsRelatorio", "bsRazaoSocial", "lPlano"), Texto,
                Texto, Texto, I4)
ZAZ_DBUS_METODO(ExcluiContas, ("iQtd", "pPosicoes"), Inteiro<int>, Posicoes)

// Slots 3 to 25, in order.
using Tabela = std::tuple<Inicializa_Padrao, KeepAlive, GetUltimoErro, FuncaoGenerica, BuscaPlanos, GravaPlano,
                          ExcluiPlanos, SetPlano, SetMascara, BuscaMascara, Le, Grava, GetQuantidadeRegistros,
                          BuscaDados, GetPlanoIndex, AlteraMascara, Existe, ExisteContaTitulo, ExisteSubordinadas,
                          Vinculo, BuscaVinculo, GeraRelatorioPlanoAlternativo, ExcluiContas>;
constexpr size_t kPrimeiroSlot = 3;

} // namespace metodos

#undef ZAZ_DBUS_METODO
#undef ZAZ_DBUS_NOMES

// The parameter names of a method's in part, or of its out part after "hr", each followed by
// a NUL, as the introspection data wants them.
template <class M, class... K>
std::string NomesDe(bool saida, const Metodo<M::kFuncao, K...>*)
{
    std::string nomes = saida ? std::string("hr", 3) : std::string();
    size_t i = 0;
    ((nomes += *(saida ? K::kSaida : K::kEntrada) ? std::string(M::kParametros[i]) + '\0' : std::string(), ++i), ...);
    return nomes;
}
template <class M>
std::string NomesEntrada() { return NomesDe<M>(false, static_cast<const M*>(nullptr)); }
template <class M>
std::string NomesSaida() { return NomesDe<M>(true, static_cast<const M*>(nullptr)); }

} // namespace dbus
