#include "df/tqlibex/TQTrace.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex g_travaDestino;
DestinoTrace g_destino = nullptr;
void* g_contexto = nullptr;

// The Windows size prefix I64 is ll for the standard formatter.
std::string FormatoPadrao(const char* formato)
{
    std::string f(formato ? formato : "");
    for (size_t i = f.find("%I64"); i != std::string::npos; i = f.find("%I64", i + 3))
        f.replace(i + 1, 3, "ll");
    return f;
}

std::string Formata(const char* formato, va_list argumentos)
{
    const std::string f = FormatoPadrao(formato);
    char pequeno[512];
    va_list copia;
    va_copy(copia, argumentos);
    int n = std::vsnprintf(pequeno, sizeof pequeno, f.c_str(), copia);
    va_end(copia);
    if (n < 0)
        return f;
    if (size_t(n) < sizeof pequeno)
        return std::string(pequeno, size_t(n));
    std::string grande(size_t(n) + 1, '\0');
    std::vsnprintf(grande.data(), grande.size(), f.c_str(), argumentos);
    grande.resize(size_t(n));
    return grande;
}

void Entrega(const LinhaTrace& linha)
{
    DestinoTrace destino;
    void* contexto;
    {
        std::lock_guard<std::mutex> t(g_travaDestino);
        destino = g_destino;
        contexto = g_contexto;
    }
    if (destino) {
        destino(linha, contexto);
        return;
    }
    std::fprintf(stderr, "ERRO\t%s\t%s\t%d\t%s\n", linha.funcao ? linha.funcao : "", linha.fonte ? linha.fonte : "",
                 linha.linha, linha.texto.c_str());
}

} // namespace

void TQDefineDestinoTrace(DestinoTrace destino, void* contexto)
{
    std::lock_guard<std::mutex> t(g_travaDestino);
    g_destino = destino;
    g_contexto = contexto;
}

void TQTraceV(ITQDF_Profiler* identidade, const char* funcao, const char* fonte, int linha, const char* formato,
              va_list argumentos)
{
    LinhaTrace l{identidade, funcao, fonte, linha, Formata(formato, argumentos)};
    Entrega(l);
}

void TQTrace(ITQDF_Profiler* identidade, const char* funcao, const char* fonte, int linha, const char* formato, ...)
{
    va_list a;
    va_start(a, formato);
    TQTraceV(identidade, funcao, fonte, linha, formato, a);
    va_end(a);
}

std::string TQDescricaoHResult(HRESULT) { return {}; }

void TQTraceHResult(ITQDF_Profiler* identidade, const char* funcao, const char* fonte, int linha,
                    const char* variavel, const char* expressao, HRESULT hr)
{
    const std::string exp = std::string(variavel) + " = " + expressao;
    const uint32_t v = uint32_t(hr);
    TQTrace(identidade, funcao, fonte, linha, "%s\t%s = %#X %s\tSEVERITY = %d %s\tFACILITY = %d %s\tCODE = %d %s\tDescri\xE7\xE3o = %s",
            exp.c_str(), variavel, v, TQDescricaoHResult(hr).c_str(), int(v >> 31), "", int((v >> 16) & 0x1FFF), "",
            int(v & 0xFFFF), "", "");
}

void TQTraceRetorno(ITQDF_Profiler* identidade, const char* funcao, const char* fonte, int linha,
                    const char* variavel, const char* expressao, long retorno)
{
    const std::string exp = std::string(variavel) + " = " + expressao;
    TQTrace(identidade, funcao, fonte, linha, "%s\t%s = %d\tHR = %#X\tDescri\xE7\xE3o = %s", exp.c_str(), variavel,
            int(retorno), unsigned(uint32_t(retorno) | 0x80040000u), "");
}

void TQRelatorioAssercao(const char* fonte, int linha, const char* expressao)
{
    TQTrace(nullptr, "ASSERT", fonte, linha, "%s", expressao);
}
