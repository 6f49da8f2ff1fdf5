// The layout of a profiler or error line, the file it goes to, and its writing.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "df/tqlibex/GanchosTeste.h"
#include "df/tqlibex/TQLinhaLog.h"
#include "df/tqlibex/TQModulos.h"
#include "df/tqlibex/TQPath.h"
#include "df/tqlibex/TQProfiler.h"
#include "df/tqlibex/TQProfilerConfig.h"
#include "platform/Arquivo.h"
#include "platform/Bstr.h"
#include "platform/Processo.h"
#include "platform/Texto.h"

using namespace plataforma;

namespace {

constexpr int kTentativas = 19;

#if defined(__MINGW32__)
#define TQ_FORMATO_PRINTF(f, a) __attribute__((format(gnu_printf, f, a)))
#else
#define TQ_FORMATO_PRINTF(f, a) __attribute__((format(printf, f, a)))
#endif

void Acrescenta(std::string& s, const char* formato, ...) TQ_FORMATO_PRINTF(2, 3);
void Acrescenta(std::string& s, const char* formato, ...)
{
    char buffer[128];
    va_list argumentos;
    va_start(argumentos, formato);
    const int n = std::vsnprintf(buffer, sizeof buffer, formato, argumentos);
    va_end(argumentos);
    if (n > 0)
        s.append(buffer, size_t(n) < sizeof buffer ? size_t(n) : sizeof buffer - 1);
}

void Coluna(std::string& s, std::string_view texto)
{
    s += texto;
    s += '\t';
}

// A column that adds nothing, not even its tab, when empty.
void ColunaOpcional(std::string& s, const std::string& texto)
{
    if (!texto.empty())
        Coluna(s, texto);
}

// A record field that need not end in a NUL.
template <size_t N>
void Coluna(std::string& s, const char (&campo)[N])
{
    Coluna(s, std::string_view(campo, strnlen(campo, N)));
}

long long Positivo(uint64_t fim, uint64_t inicio)
{
    const long long diferenca = static_cast<long long>(fim - inicio);
    return diferenca > 0 ? diferenca : 0;
}

std::string MontaLinha(const RegistroLog& r, TipoLinhaLog tipo)
{
    std::string s;
    s.reserve(512);
    const DataHoraLocal& m = r.momento;
    Acrescenta(s, "%02d/%02d/%04d\t%02d:%02d:%02d.%03d\t", m.dia, m.mes, m.ano, m.hora, m.minuto, m.segundo,
               m.milissegundo);
    ColunaOpcional(s, r.processo);
    ColunaOpcional(s, r.usuarioLocal);
    ColunaOpcional(s, r.classeFuncao);
    ColunaOpcional(s, r.guid);

    s += 'E';
    if (r.identidade)
        Coluna(s, r.identidade->GetEmpresa());
    else
        s += '\t';
    Acrescenta(s, "U%03d\tS%08d\tT%08d\t", r.identidade ? int(r.identidade->GetUsuario()) : 0,
               r.identidade ? int(r.identidade->GetNumeroSessao()) : 0, int(IdThread()));

    static const _REG_DF_INICIALIZAPS kZerado{};
    const _REG_DF_INICIALIZAPS& reg =
        r.identidade && r.identidade->GetRegistroInicializacao().cControle == 'B' ? r.identidade->GetRegistroInicializacao()
                                                                                  : kZerado;
    Coluna(s, reg.szEmpresa);
    Acrescenta(s, "%u\t%u\t", unsigned(reg.ulUsuario), unsigned(reg.ulNumeroSessao));
    Coluna(s, reg.szNomeUsuarioDominio);
    Coluna(s, reg.szAplicativo);
    Coluna(s, reg.szModuleName);
    Coluna(s, reg.szArquivoFonte);
    Acrescenta(s, "%u\t%d\t%d\t", unsigned(reg.ulLinhaFonte), int(reg.cWTS), int(reg.ulFiller));
    Coluna(s, reg.szFiller);

    static constexpr const char* kTipos[] = {"ENTROU\t", "SAIU\t", "COCREATE\t", "ERRO\t"};
    s += kTipos[int(tipo)];

    uint64_t disponivel = 0, total = 0;
    MemoriaFisica(disponivel, total);
    Acrescenta(s, "%lld\t%lld\t", static_cast<long long>(disponivel), static_cast<long long>(total));

    switch (tipo) {
    case TipoLinhaLog::Saiu:
        Acrescenta(s, "%lld\t%lld\t%lld\t", static_cast<long long>(r.memoriaFim), Positivo(r.ticksFim, r.ticksInicio),
                   Positivo(r.memoriaFim, r.memoriaInicio));
        break;
    case TipoLinhaLog::Erro:
        Acrescenta(s, "%lld\t", static_cast<long long>(r.memoriaInicio));
        for (int i = 0; i < 5; ++i)
            Coluna(s, r.valores[i]);
        return s;
    default:
        Acrescenta(s, "%lld\t0\t0\t", static_cast<long long>(r.memoriaInicio));
        break;
    }
    for (int i = 0; i < 9; ++i) {
        if (!r.nomes[i].empty() && !r.valores[i].empty()) {
            s += r.nomes[i];
            s += " = ";
            Coluna(s, r.valores[i]);
        }
    }
    return s;
}

std::string Cabecalho(TipoLinhaLog tipo)
{
    std::string s = "Data\tHora\tProcesso\tUsuarioLocal\tClasseFuncao\tGuid\tEmpresa\tUsuario\tSessao\tThreadID\t"
                    "Empresa\tUsuario\tNumeroSessao\tUsuarioDominio\tAplicativo\tModuleName\tArquivoFonte\t"
                    "LinhaFonte\tWTS\tFiller\tFiller\tTipo\tMemoriaDisponivel\tMemoriaTotal\tMemoriaComponente\t";
    s += tipo == TipoLinhaLog::Erro ? "VersaoKarvo\tVersaoSO\tArquivo\tLinha\tLog" : "Duracao\tDeltaMemoria";
    s += "\tParameter1\tParameter2\tParameter3\tParameter4\tParameter5\tParameter6\tParameter7\tParameter8\t"
         "Parameter9\n";
    return s;
}

// The profiler file's name, computed once (again only when a test asks).
std::mutex g_travaNomeProfiler;
std::string g_nomeProfiler;
bool g_nomeProfilerPronto = false;

std::string NomeProfiler()
{
    std::lock_guard<std::mutex> trava(g_travaNomeProfiler);
    if (!g_nomeProfilerPronto) {
        g_nomeProfiler = CTQPath::Combina(CTQPath::DiretorioModulo(kModuloDF), "TQProfiler.log");
        g_nomeProfilerPronto = true;
    }
    return g_nomeProfiler;
}

bool Desiste(DWORD erroSistema)
{
    switch (ClassificaErroArquivo(erroSistema)) {
    case TipoErroArquivo::ArquivoNaoEncontrado:
    case TipoErroArquivo::CaminhoInvalido:
    case TipoErroArquivo::ArquivoInvalido:
    case TipoErroArquivo::ErroHardware:
        return true;
    default:
        return false;
    }
}

// Writers of this process take turns, so that immediate retries are left for other processes.
std::mutex g_travaEscrita;

void Grava(const std::string& caminho, const std::string& linha, TipoLinhaLog tipo)
{
    std::lock_guard<std::mutex> trava(g_travaEscrita);
    ArquivoSO arquivo;
    const ModoArquivo modo{true, true, true, false, Disposicao::AbreSempre};
    DWORD erroSistema = 0;
    for (int tentativa = 0; tentativa < kTentativas; ++tentativa) {
        erroSistema = arquivo.Abre(caminho.c_str(), modo);
        if (erroSistema == 0 || Desiste(erroSistema))
            break;
    }
    uint64_t fim = 0;
    if (erroSistema != 0 || arquivo.Posiciona(0, Origem::Fim, &fim) != 0)
        return;
    // Whoever finds the file empty while denying others write access writes the header: only
    // one writer can, whichever process created the file. The whole text goes in one write.
    if (fim == 0) {
        const std::string texto = Cabecalho(tipo) + linha;
        arquivo.Grava(texto.data(), DWORD(texto.size()));
    } else {
        arquivo.Grava(linha.data(), DWORD(linha.size()));
    }
}

} // namespace

const std::string& TQUsuarioLocal()
{
    static const std::string usuario = plataforma::NomeUsuarioSO();
    return usuario;
}

std::string TQNovoGuidLog()
{
    GUID guid{};
    if (plataforma::CriaGuid(guid) < 0)
        return " ";
    const std::string texto = plataforma::GuidParaTexto(guid);
    return texto.substr(1, texto.size() - 2);
}

const std::string& TQNomeProcesso()
{
    static const std::string nome = [] {
        std::string n = CTQPath::GetNomeSemExtensao(plataforma::CaminhoExecutavel());
        for (char& c : n)
            c = plataforma::MinusculaAnsi(c);
        return n;
    }();
    return nome;
}

std::string TQArquivoLog(const RegistroLog& registro, TipoLinhaLog tipo)
{
    if (tipo != TipoLinhaLog::Erro)
        return NomeProfiler();
    const int ano = registro.momento.ano < 1848 ? 1848 : registro.momento.ano > 4717 ? 4717 : registro.momento.ano;
    const int mes = registro.momento.mes > 99 ? 99 : registro.momento.mes;
    char nome[48];
    const std::string empresa = registro.identidade ? registro.identidade->GetEmpresa() : std::string();
    const std::string dados = empresa.empty() ? std::string() : CTQPath::GetDiretorioDadosModulo(kModuloDF, empresa);
    std::snprintf(nome, sizeof nome, "TQProfilerErros_%s_%04d%02d.log", dados.empty() ? "Pgms" : "Base", ano, mes);
    return CTQPath::Combina(dados.empty() ? CTQPath::DiretorioModulo(kModuloDF) : dados, nome);
}

void TQGravaLinhaLog(RegistroLog& registro, TipoLinhaLog tipo)
{
    try {
        registro.momento = AgoraLocal();
        std::string linha = MontaLinha(registro, tipo);
        linha += '\n';
        Grava(TQArquivoLog(registro, tipo), linha, tipo);
    } catch (...) {
        // A line that cannot be written is lost without notice.
    }
}

void TQInvalidaProfilerParaTestes()
{
    TQProfilerConfig::Invalida();
    std::lock_guard<std::mutex> trava(g_travaNomeProfiler);
    g_nomeProfilerPronto = false;
}
