#include "df/tqlibex/BaseArquivo.h"
#include "df/tqlibex/TQMensagens.h"

#include <vector>

#include "df/tqlibex/TQTrace.h"

namespace {
constexpr HRESULT kAlemDoFim = TQHResult(0x80040A73);
constexpr HRESULT kNegativa = TQHResult(0x80040A74);
// The lines these refusals have always carried in the trace.
constexpr int kLinhaPosicaoNegativa = 34;
constexpr int kLinhaAlemDoFim = 53;
} // namespace

HRESULT CBaseArquivo::ValidaPosicaoGravacao(int64_t posicao, uint64_t tamanhoRegistro)
{
    if (posicao < 0) {
        TQTrace(nullptr, {"CBaseArquivo::ValidaPosicaoGravacao", kLinhaPosicaoNegativa}, "BaseArquivo",
                "hr = %d\tDescri\xE7\xE3o = %s\tArquivo = %s\tPosi\xE7\xE3o Grava\xE7\xE3o = %I64d", int(kNegativa),
                TQDescricaoHResult(kNegativa).c_str(), m_sCaminho.c_str(), (long long)posicao);
        return kNegativa;
    }
    uint64_t tamanho = 0;
    m_arquivo.Tamanho(tamanho);
    const int64_t quantidade = tamanhoRegistro ? int64_t(tamanho / tamanhoRegistro) : 0;
    if (quantidade == 0 && posicao == 1) {
        std::vector<char> zeros(tamanhoRegistro, 0);
        m_arquivo.Grava(zeros.data(), DWORD(tamanhoRegistro));
        return S_OK;
    }
    if (posicao <= quantidade)
        return S_OK;
    TQTrace(nullptr, {"CBaseArquivo::ValidaPosicaoGravacao", kLinhaAlemDoFim}, "BaseArquivo",
            "hr = %d\tDescri\xE7\xE3o = %s\tArquivo = %s\tQtdRegistros = %I64d\tPosi\xE7\xE3o Grava\xE7\xE3o = %I64d",
            int(kAlemDoFim), TQDescricaoHResult(kAlemDoFim).c_str(), m_sCaminho.c_str(), (long long)quantidade,
            (long long)posicao);
    return kAlemDoFim;
}
