#include "df/tqlibex/TQTrace.h"

#include <cstdio>
#include <mutex>

#include "df/tqlibex/TQNomesErro.h"
#include "df/tqlibex/TQProfiler.h"
#include "platform/Processo.h"
#include "platform/Versao.h"

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

// What a trace line repeats from the process: computed once, under a lock.
struct DadosProcesso {
    std::string versaoKarvo;
    std::string versaoSO;
};

const DadosProcesso& Processo()
{
    static std::once_flag uma;
    static DadosProcesso dados;
    std::call_once(uma, [] {
        dados.versaoKarvo = plataforma::VersaoExecutavel();
        dados.versaoSO = plataforma::VersaoSistema();
    });
    return dados;
}

void GravaNoLog(ITQDF_Profiler* identidade, TQLocal onde, const char* fonte, std::string texto)
{
    RegistroLog r;
    r.momento = plataforma::AgoraLocal();
    r.memoriaInicio = plataforma::BytesPrivados();
    const DadosProcesso& p = Processo();
    const char* nomes[5] = {"VersaoKarvo", "VersaoSO", "Arquivo", "Linha", "Log"};
    std::string valores[5] = {p.versaoKarvo, p.versaoSO, fonte ? fonte : "", std::to_string(onde.linha), std::move(texto)};
    for (int i = 0; i < 5; ++i) {
        r.nomes[i] = nomes[i];
        r.valores[i] = std::move(valores[i]);
    }
    r.identidade = identidade;
    r.classeFuncao = onde.funcao ? onde.funcao : "";
    r.guid = TQNovoGuidLog();
    r.processo = TQNomeProcesso();
    r.usuarioLocal = TQUsuarioLocal();
    TQGravaLinhaLog(r, TipoLinhaLog::Erro);
}

} // namespace

void TQDefineDestinoTrace(DestinoTrace destino, void* contexto)
{
    std::lock_guard<std::mutex> t(g_travaDestino);
    g_destino = destino;
    g_contexto = contexto;
}

void TQTraceV(ITQDF_Profiler* identidade, TQLocal onde, const char* fonte, const char* formato,
              va_list argumentos)
{
    std::string texto = Formata(formato, argumentos);
    DestinoTrace destino;
    void* contexto;
    {
        std::lock_guard<std::mutex> t(g_travaDestino);
        destino = g_destino;
        contexto = g_contexto;
    }
    if (destino) {
        destino(LinhaTrace{identidade, onde.funcao, fonte, onde.linha, std::move(texto)}, contexto);
        return;
    }
    GravaNoLog(identidade, onde, fonte, std::move(texto));
}

void TQTrace(ITQDF_Profiler* identidade, TQLocal onde, const char* fonte, const char* formato, ...)
{
    va_list a;
    va_start(a, formato);
    TQTraceV(identidade, onde, fonte, formato, a);
    va_end(a);
}

void TQTraceHResult(ITQDF_Profiler* identidade, TQLocal onde, const char* fonte,
                    const char* variavel, const char* expressao, HRESULT hr)
{
    const std::string exp = std::string(variavel) + " = " + expressao;
    TQTrace(identidade, onde, fonte,
            "%s\t%s = %#X %s\tSEVERITY = %d %s\tFACILITY = %d %s\tCODE = %d %s\tDescri\xE7\xE3o = %s", exp.c_str(),
            variavel, unsigned(hr), TQTextoMensagem(hr).c_str(), TQSeveridade(hr), TQNomeSeveridade(hr),
            TQFacilidade(hr), TQNomeFacilidade(hr), TQCodigo(hr), TQNomeCodigo(hr), TQNomeHResult(hr));
}

void TQTraceRetorno(ITQDF_Profiler* identidade, TQLocal onde, const char* fonte,
                    const char* variavel, const char* expressao, long retorno)
{
    const std::string exp = std::string(variavel) + " = " + expressao;
    const HRESULT hr = TQHResult(uint32_t(retorno) | 0x80040000u);
    TQTrace(identidade, onde, fonte, "%s\t%s = %d\tHR = %#X\tDescri\xE7\xE3o = %s", exp.c_str(), variavel,
            int(retorno), unsigned(hr), TQNomeHResult(hr));
}

void TQRelatorioAssercao(const char* fonte, const char* expressao, TQOnde onde)
{
    TQTrace(nullptr, {"ASSERT", onde}, fonte, "%s", expressao);
}
