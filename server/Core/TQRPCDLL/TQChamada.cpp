#include "server/Core/TQRPCDLL/TQChamada.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>

#include "df/tqlibex/TQExcecoes.h"
#include "df/tqlibex/TQMensagens.h"
#include "suite/Rotinas/TQBaseParaRotinas.h"

namespace {

const char* OuVazio(const char* texto) { return texto ? texto : ""; }

} // namespace

void TQTrataParametroInvalido(const char* expressao, const char* funcao, const char* arquivo, unsigned linha,
                              void* contexto)
{
    const auto& local = *static_cast<const LocalChamada*>(contexto);
    const HRESULT hr = TQTraduzErrno(errno);
    char texto[1024];
    std::snprintf(texto, sizeof texto, "Expression = %s\tFunction = %s\tFile = %s\tLine = %d", OuVazio(expressao),
                  OuVazio(funcao), OuVazio(arquivo), static_cast<int>(linha));
    CTQBaseParaRotinas* acesso = CTQBaseParaRotinas::GetAcessoServidoresDefault();
    TQRelataErro(kRelatoDeFalha, hr, 0x7FFFFFFF, acesso ? acesso->GetEmpresa() : "", local.fonte, local.onde.linha, true,
                 texto);
    throw static_cast<int32_t>(hr);
}

void TQRelataFalhaDeMaquina(const LocalChamada& local, HRESULT hr, const char* empresa, const std::string& pilha)
{
    TQRelataErro(kRelatoDeFalha, hr, 0x7FFFFFFF, OuVazio(empresa), local.fonte, local.onde.linha, true, pilha);
}

CTQAcessoDaChamada::CTQAcessoDaChamada(CTQBaseParaRotinas* rotina)
{
    if (rotina != nullptr && rotina->EstaInicializado())
        CTQBaseParaRotinas::SetAcessoDefault(rotina);
}

CTQAcessoDaChamada::~CTQAcessoDaChamada() { CTQBaseParaRotinas::SetAcessoDefault(nullptr); }
