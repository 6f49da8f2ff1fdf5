#include "platform/ParametroInvalido.h"

#include <cerrno>
#include <cstring>

namespace plataforma {

// Backend: makes the runtime's own reports reach the thread's handler (once per process).
void LigaRelatosDoRuntime();

namespace {

struct Tratador {
    TratadorParametroInvalido funcao = nullptr;
    void* contexto = nullptr;
};
thread_local Tratador t_tratador;

} // namespace

void DefineTratadorParametroInvalido(TratadorParametroInvalido tratador, void* contexto)
{
    LigaRelatosDoRuntime();
    t_tratador = {tratador, contexto};
}

// The backend's runtime reports arrive here with errno already set.
void EntregaAoTratador(const char* expressao, const char* funcao, const char* arquivo, unsigned linha)
{
    const Tratador atual = t_tratador;
    if (atual.funcao != nullptr)
        atual.funcao(expressao, funcao, arquivo, linha, atual.contexto);
}

void RelataParametroInvalido(int numeroErrno, const char* expressao, const char* funcao, const char* arquivo,
                             unsigned linha)
{
    errno = numeroErrno;
    EntregaAoTratador(expressao, funcao, arquivo, linha);
}

int CopiaTexto(char* destino, size_t tamanho, const char* origem)
{
    if (destino == nullptr || tamanho == 0 || origem == nullptr) {
        RelataParametroInvalido(EINVAL, "destino != nullptr && tamanho != 0 && origem != nullptr", "CopiaTexto",
                                __FILE__, __LINE__);
        return EINVAL;
    }
    const size_t n = strnlen(origem, tamanho);
    if (n == tamanho) {
        destino[0] = '\0';
        RelataParametroInvalido(ERANGE, "\"Buffer is too small\" && 0", "CopiaTexto", __FILE__, __LINE__);
        return ERANGE;
    }
    std::memcpy(destino, origem, n + 1);
    return 0;
}

} // namespace plataforma
