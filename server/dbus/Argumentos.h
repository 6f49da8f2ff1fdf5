// How each kind of parameter of the interface crosses the bus, on both sides: the server reads
// the in part into storage of its own (Lado), passes the call its argument and writes the out
// part into the reply; the proxy writes the in part from the caller's argument and copies the
// out part back into the caller's memory. Records travel as byte arrays of exactly their size.
//
// A count-sized array takes its count from the method's first argument (BuscaDados, ExcluiContas).
#pragma once

#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "server/dbus/SdBus.h"

#include "platform/Bstr.h"
#include "platform/Texto.h"
#include "server/Contrato.h"

namespace dbus {

constexpr HRESULT kRefNula = TQHResult(0x800706F4);        // RPC_X_NULL_REF_POINTER
constexpr HRESULT kDadosInvalidos = TQHResult(0x800706F7); // RPC_X_BAD_STUB_DATA
constexpr HRESULT kAcessoNegado = TQHResult(0x80070005);   // E_ACCESSDENIED

// What reading a call's in part found: all well, a wrong size or count (E_INVALIDARG for the
// caller), or a message that does not hold what its signature says.
enum class Leitura { Ok, Invalida, Erro };

// The largest out array a call may ask for: beyond it the count is refused, not allocated.
constexpr size_t kMaiorSaida = size_t(64) << 20;

inline HRESULT Anexou(int r) { return r < 0 ? kDadosInvalidos : S_OK; }

struct SemContagem {
    long Contagem() const { return 0; }
};

// LONG, ULONG, int.
template <class T>
struct Inteiro {
    static_assert(sizeof(T) == 4);
    using Tipo = T;
    static constexpr char kTipo = std::is_signed_v<T> ? 'i' : 'u';
    static constexpr const char* kEntrada = std::is_signed_v<T> ? "i" : "u";
    static constexpr const char* kSaida = "";
    struct Lado {
        T valor{};
        long Contagem() const { return long(valor); }
    };
    static Leitura Le(sd_bus_message* m, Lado& l, long)
    {
        return sd_bus_message_read_basic(m, kTipo, &l.valor) > 0 ? Leitura::Ok : Leitura::Erro;
    }
    static T Arg(Lado& l) { return l.valor; }
    static int Escreve(sd_bus_message*, const Lado&) { return 0; }
    static HRESULT Envia(sd_bus_message* m, T a, long) { return Anexou(sd_bus_message_append_basic(m, kTipo, &a)); }
    static HRESULT Recebe(sd_bus_message*, T, long) { return S_OK; }
};

// Reads a byte array of exactly `bytes` into destino.
inline Leitura LeBytes(sd_bus_message* m, void* destino, size_t bytes)
{
    const void* p = nullptr;
    size_t n = 0;
    if (sd_bus_message_read_array(m, 'y', &p, &n) < 0)
        return Leitura::Erro;
    if (n != bytes)
        return Leitura::Invalida;
    if (n)
        std::memcpy(destino, p, n);
    return Leitura::Ok;
}

// A record by value, or (Apontado) through an [in] pointer.
template <class R, bool Apontado = false>
struct Registro {
    using Tipo = std::conditional_t<Apontado, R*, R>;
    static constexpr const char* kEntrada = "ay";
    static constexpr const char* kSaida = "";
    struct Lado : SemContagem {
        R valor{};
    };
    static Leitura Le(sd_bus_message* m, Lado& l, long) { return LeBytes(m, &l.valor, sizeof(R)); }
    static Tipo Arg(Lado& l)
    {
        if constexpr (Apontado)
            return &l.valor;
        else
            return l.valor;
    }
    static int Escreve(sd_bus_message*, const Lado&) { return 0; }
    static HRESULT Envia(sd_bus_message* m, const Tipo& a, long)
    {
        if constexpr (Apontado) {
            if (a == nullptr)
                return kRefNula;
            return Anexou(sd_bus_message_append_array(m, 'y', a, sizeof(R)));
        } else {
            return Anexou(sd_bus_message_append_array(m, 'y', &a, sizeof(R)));
        }
    }
    static HRESULT Recebe(sd_bus_message*, const Tipo&, long) { return S_OK; }
};

// A BSTR: the business object reads it in the ANSI code page, so it crosses as that text in UTF-8.
struct Texto {
    using Tipo = BSTR;
    static constexpr const char* kEntrada = "s";
    static constexpr const char* kSaida = "";
    struct Lado : SemContagem {
        Lado() = default;
        Lado(const Lado&) = delete;
        Lado& operator=(const Lado&) = delete;
        ~Lado() { plataforma::LiberaBstr(valor); }
        BSTR valor = nullptr;
    };
    static Leitura Le(sd_bus_message* m, Lado& l, long)
    {
        const char* s = nullptr;
        if (sd_bus_message_read_basic(m, 's', &s) <= 0)
            return Leitura::Erro;
        l.valor = plataforma::AlocaBstrDeAnsi(plataforma::Utf8ParaAnsi(s));
        return Leitura::Ok;
    }
    static BSTR Arg(Lado& l) { return l.valor; }
    static int Escreve(sd_bus_message*, const Lado&) { return 0; }
    static HRESULT Envia(sd_bus_message* m, BSTR a, long)
    {
        const std::string utf8 = plataforma::AnsiParaUtf8(plataforma::BstrParaAnsi(a));
        return Anexou(sd_bus_message_append_basic(m, 's', utf8.c_str()));
    }
    static HRESULT Recebe(sd_bus_message*, BSTR, long) { return S_OK; }
};

// [in, size_is(count)] LONG*: as many positions as the first argument says.
struct Posicoes {
    using Tipo = LONG*;
    static constexpr const char* kEntrada = "ai";
    static constexpr const char* kSaida = "";
    struct Lado : SemContagem {
        std::vector<LONG> itens;
    };
    static Leitura Le(sd_bus_message* m, Lado& l, long contagem)
    {
        const void* p = nullptr;
        size_t n = 0;
        if (sd_bus_message_read_array(m, 'i', &p, &n) < 0)
            return Leitura::Erro;
        if (n / sizeof(LONG) != size_t(contagem > 0 ? contagem : 0))
            return Leitura::Invalida;
        l.itens.assign(static_cast<const LONG*>(p), static_cast<const LONG*>(p) + n / sizeof(LONG));
        return Leitura::Ok;
    }
    static LONG* Arg(Lado& l) { return l.itens.empty() ? nullptr : l.itens.data(); }
    static int Escreve(sd_bus_message*, const Lado&) { return 0; }
    static HRESULT Envia(sd_bus_message* m, LONG* a, long contagem)
    {
        const size_t n = contagem > 0 ? size_t(contagem) : 0;
        if (n && a == nullptr)
            return kRefNula;
        return Anexou(sd_bus_message_append_array(m, 'i', a, n * sizeof(LONG)));
    }
    static HRESULT Recebe(sd_bus_message*, LONG*, long) { return S_OK; }
};

// A record by value whose count and pointer name a list of items: the items cross, the
// record is rebuilt around them (ARRAY_REG_EXCLUI_PLANO_ALT_PS, _REG_DF_FUNCAO_GENERICAPS).
template <class R, auto Quantos, auto Itens, char TipoItem>
struct ListaPorValor {
    using Item = std::remove_pointer_t<std::remove_reference_t<decltype(std::declval<R>().*Itens)>>;
    using Tipo = R;
    static constexpr char kAssinatura[3] = {'a', TipoItem, 0};
    static constexpr const char* kEntrada = kAssinatura;
    static constexpr const char* kSaida = "";
    struct Lado : SemContagem {
        std::vector<Item> itens;
    };
    static Leitura Le(sd_bus_message* m, Lado& l, long)
    {
        const void* p = nullptr;
        size_t n = 0;
        if (sd_bus_message_read_array(m, TipoItem, &p, &n) < 0)
            return Leitura::Erro;
        l.itens.assign(static_cast<const Item*>(p), static_cast<const Item*>(p) + n / sizeof(Item));
        return Leitura::Ok;
    }
    static R Arg(Lado& l)
    {
        R r{};
        r.*Quantos = std::remove_reference_t<decltype(r.*Quantos)>(l.itens.size());
        r.*Itens = l.itens.empty() ? nullptr : l.itens.data();
        return r;
    }
    static int Escreve(sd_bus_message*, const Lado&) { return 0; }
    static HRESULT Envia(sd_bus_message* m, const R& a, long)
    {
        if (a.*Quantos && a.*Itens == nullptr)
            return kRefNula;
        return Anexou(sd_bus_message_append_array(m, TipoItem, a.*Itens, size_t(a.*Quantos) * sizeof(Item)));
    }
    static HRESULT Recebe(sd_bus_message*, const R&, long) { return S_OK; }
};

// [out] LONG* or ULONG*.
template <class T>
struct SaidaInteiro {
    using Tipo = T*;
    static constexpr char kTipo = std::is_signed_v<T> ? 'i' : 'u';
    static constexpr const char* kEntrada = "";
    static constexpr const char* kSaida = std::is_signed_v<T> ? "i" : "u";
    struct Lado : SemContagem {
        T valor{};
    };
    static Leitura Le(sd_bus_message*, Lado&, long) { return Leitura::Ok; }
    static T* Arg(Lado& l) { return &l.valor; }
    static int Escreve(sd_bus_message* r, const Lado& l) { return sd_bus_message_append_basic(r, kTipo, &l.valor); }
    static HRESULT Envia(sd_bus_message*, T* a, long) { return a ? S_OK : kRefNula; }
    static HRESULT Recebe(sd_bus_message* r, T* a, long)
    {
        return sd_bus_message_read_basic(r, kTipo, a) > 0 ? S_OK : kDadosInvalidos;
    }
};

// [out] R*: one record, or (PorContagem) as many as the first argument says.
template <class R, bool PorContagem = false>
struct SaidaRegistros {
    using Tipo = R*;
    static constexpr const char* kEntrada = "";
    static constexpr const char* kSaida = "ay";
    struct Lado : SemContagem {
        std::vector<R> itens = std::vector<R>(PorContagem ? 0 : 1);
    };
    static size_t Quantos(long contagem) { return PorContagem ? size_t(contagem > 0 ? contagem : 0) : 1; }
    static Leitura Le(sd_bus_message*, Lado& l, long contagem)
    {
        if (Quantos(contagem) > kMaiorSaida / sizeof(R))
            return Leitura::Invalida;
        l.itens.resize(Quantos(contagem));
        return Leitura::Ok;
    }
    static R* Arg(Lado& l) { return l.itens.empty() ? nullptr : l.itens.data(); }
    static int Escreve(sd_bus_message* r, const Lado& l)
    {
        return sd_bus_message_append_array(r, 'y', l.itens.data(), l.itens.size() * sizeof(R));
    }
    static HRESULT Envia(sd_bus_message*, R* a, long contagem) { return a || !Quantos(contagem) ? S_OK : kRefNula; }
    // An answer refused before the call carries no records: the caller's are zeroed.
    static HRESULT Recebe(sd_bus_message* r, R* a, long contagem)
    {
        const void* p = nullptr;
        size_t n = 0;
        if (sd_bus_message_read_array(r, 'y', &p, &n) < 0)
            return kDadosInvalidos;
        const size_t bytes = Quantos(contagem) * sizeof(R);
        if (n != bytes && n != 0)
            return kDadosInvalidos;
        if (bytes)
            n ? std::memcpy(a, p, bytes) : std::memset(static_cast<void*>(a), 0, bytes);
        return S_OK;
    }
};

// [out] R**: a block the server allocated, with a count and the items; it crosses as a pair
// (present, items), and the proxy allocates the caller's copy with the task allocator.
template <class R, auto Quantos, auto Itens>
struct SaidaBloco {
    using Item = std::remove_pointer_t<std::remove_reference_t<decltype(std::declval<R>().*Itens)>>;
    using Contagem = std::remove_reference_t<decltype(std::declval<R>().*Quantos)>;
    using Tipo = R**;
    static constexpr const char* kEntrada = "";
    static constexpr const char* kSaida = "(bay)";
    struct Lado : SemContagem {
        Lado() = default;
        Lado(const Lado&) = delete;
        Lado& operator=(const Lado&) = delete;
        ~Lado()
        {
            if (bloco)
                plataforma::LiberaTarefa(bloco->*Itens);
            plataforma::LiberaTarefa(bloco);
        }
        R* bloco = nullptr;
    };
    static Leitura Le(sd_bus_message*, Lado&, long) { return Leitura::Ok; }
    static R** Arg(Lado& l) { return &l.bloco; }
    static int Escreve(sd_bus_message* r, const Lado& l)
    {
        const int presente = l.bloco != nullptr;
        const Item* itens = presente ? l.bloco->*Itens : nullptr;
        const size_t n = itens ? size_t(l.bloco->*Quantos) : 0;
        int a = sd_bus_message_open_container(r, 'r', "bay");
        if (a >= 0)
            a = sd_bus_message_append_basic(r, 'b', &presente);
        if (a >= 0)
            a = sd_bus_message_append_array(r, 'y', itens, n * sizeof(Item));
        return a < 0 ? a : sd_bus_message_close_container(r);
    }
    static HRESULT Envia(sd_bus_message*, R** a, long) { return a ? S_OK : kRefNula; }
    static HRESULT Recebe(sd_bus_message* r, R** a, long)
    {
        *a = nullptr;
        int presente = 0;
        const void* p = nullptr;
        size_t n = 0;
        if (sd_bus_message_enter_container(r, 'r', "bay") <= 0 || sd_bus_message_read_basic(r, 'b', &presente) <= 0 ||
            sd_bus_message_read_array(r, 'y', &p, &n) < 0 || sd_bus_message_exit_container(r) < 0)
            return kDadosInvalidos;
        if (!presente)
            return S_OK;
        if (n % sizeof(Item) || n / sizeof(Item) > size_t(Contagem(~Contagem(0))))
            return kDadosInvalidos;
        auto* bloco = static_cast<R*>(plataforma::AlocaTarefa(sizeof(R)));
        auto* itens = n ? static_cast<Item*>(plataforma::AlocaTarefa(n)) : nullptr;
        if (!bloco || (n && !itens)) {
            plataforma::LiberaTarefa(bloco);
            plataforma::LiberaTarefa(itens);
            return kSemMemoria;
        }
        std::memset(static_cast<void*>(bloco), 0, sizeof(R));
        if (n)
            std::memcpy(itens, p, n);
        bloco->*Quantos = Contagem(n / sizeof(Item));
        bloco->*Itens = itens;
        *a = bloco;
        return S_OK;
    }
};

} // namespace dbus
