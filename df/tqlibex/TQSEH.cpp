#include "df/tqlibex/TQSEH.h"

#include <mutex>

#include "platform/GuardaFalhas.h"

namespace {

constexpr uint32_t kPrimeiroHResultFalha = 0x8004EAC5;
constexpr DWORD kCodigoDesenrolar = 0x80000029;
constexpr uint32_t kHResultDesenrolar = 0x8004EADB;
constexpr uint32_t kHResultOutraFalha = 0x8004EE47;
static_assert(kPrimeiroHResultFalha + plataforma::kQuantidadeCodigosFalha == kHResultDesenrolar);

struct UltimaFalha {
    std::mutex trava;
    DWORD codigo = 0;
    std::string pilha;
};

// The guard runs functions without result: this one carries the HRESULT out.
struct Chamada {
    HRESULT (*funcao)(void*);
    void* contexto;
    HRESULT hr;
};

void Chama(void* p)
{
    Chamada& c = *static_cast<Chamada*>(p);
    c.hr = c.funcao(c.contexto);
}

UltimaFalha& Ultima()
{
    static UltimaFalha ultima;
    return ultima;
}

} // namespace

HRESULT CTQSEH::TraduzCodigo(DWORD codigo)
{
    const size_t i = plataforma::IndiceCodigoFalha(codigo);
    if (i < plataforma::kQuantidadeCodigosFalha)
        return TQHResult(kPrimeiroHResultFalha + static_cast<uint32_t>(i));
    return TQHResult(codigo == kCodigoDesenrolar ? kHResultDesenrolar : kHResultOutraFalha);
}

HRESULT CTQSEH::Executa(HRESULT (*funcao)(void*), void* contexto, std::string* pilha, bool* falhou)
{
    Chamada chamada{funcao, contexto, S_OK};
    DWORD codigo = 0;
    std::string texto;
    const bool houveFalha = plataforma::ExecutaProtegido(Chama, &chamada, codigo, texto);
    if (falhou != nullptr)
        *falhou = houveFalha;
    if (!houveFalha)
        return chamada.hr;
    if (pilha != nullptr)
        *pilha = texto;
    UltimaFalha& ultima = Ultima();
    {
        std::lock_guard<std::mutex> trava(ultima.trava);
        ultima.codigo = codigo;
        ultima.pilha = std::move(texto);
    }
    return TraduzCodigo(codigo);
}

DWORD CTQSEH::UltimoCodigo()
{
    UltimaFalha& ultima = Ultima();
    std::lock_guard<std::mutex> trava(ultima.trava);
    return ultima.codigo;
}

std::string CTQSEH::UltimaPilha()
{
    UltimaFalha& ultima = Ultima();
    std::lock_guard<std::mutex> trava(ultima.trava);
    return ultima.pilha;
}

bool TQEhHResultDeFalha(HRESULT hr)
{
    const uint32_t valor = static_cast<uint32_t>(hr);
    return (valor >= kPrimeiroHResultFalha && valor <= kHResultDesenrolar) || valor == kHResultOutraFalha;
}
