// Stand-in for the suite's message-text library: Portuguese descriptions (code page 1252)
// of the record-file and mark statuses and of this server's own codes.
#include <algorithm>
#include <cstring>

#include "df/tqlibex/CodigosMarca.h"
#include "df/tqlibex/StatusArquivo.h"
#include "df/tqlibex/TQLMensagemExports.h"
#include "suite/comum/Exporta.h"

namespace {

struct Descricao {
    uint32_t hr;
    const char* texto;
};

// The busy codes of the marks the service takes: type 4 (catalogue, links), type 8 (masks).
const uint32_t kOcupadaTipo4 = CodigoMarcaOcupada(EsquemaMarca::ArqAtual, 4);
const uint32_t kOcupadaTipo8 = CodigoMarcaOcupada(EsquemaMarca::ArqAtual, 8);

const Descricao kDescricoes[] = {
    {uint32_t(statusarq::BuscaFalhou.ComoHResult()), "Erro ao posicionar no arquivo"},
    {uint32_t(statusarq::FimArquivo.ComoHResult()), "Fim de arquivo: registro al\xE9m do final do arquivo"},
    {uint32_t(statusarq::ErroHardware.ComoHResult()), "Erro de entrada e sa\xED" "da no dispositivo"},
    {uint32_t(statusarq::NaoEncontrado.ComoHResult()), "Arquivo n\xE3o encontrado"},
    {uint32_t(statusarq::CaminhoInvalido.ComoHResult()), "Caminho do arquivo inv\xE1lido"},
    {uint32_t(statusarq::MuitosAbertos.ComoHResult()), "Arquivos abertos em excesso"},
    {uint32_t(statusarq::AcessoNegado.ComoHResult()), "Acesso ao arquivo negado"},
    {uint32_t(statusarq::SomenteLeitura.ComoHResult()), "Acesso negado: o arquivo \xE9 somente para leitura"},
    {uint32_t(statusarq::ArquivoInvalido.ComoHResult()), "Arquivo inv\xE1lido"},
    {uint32_t(statusarq::DiretorioCheio.ComoHResult()), "Diret\xF3rio cheio"},
    {uint32_t(statusarq::Compartilhamento.ComoHResult()), "Arquivo em uso por outro processo"},
    {uint32_t(statusarq::Bloqueio.ComoHResult()), "Viola\xE7\xE3o de bloqueio do arquivo"},
    {uint32_t(statusarq::DiscoCheio.ComoHResult()), "Disco cheio"},
    {uint32_t(statusarq::TentativasEsgotadas.ComoHResult()), "N\xE3o foi poss\xEDvel acessar o arquivo ap\xF3s v\xE1rias tentativas"},
    {uint32_t(statusarq::ArgumentoInvalido.ComoHResult()), "Argumento inv\xE1lido na opera\xE7\xE3o de arquivo"},
    {uint32_t(statusarq::PosicaoAlemDoFim.ComoHResult()), "Posi\xE7\xE3o de grava\xE7\xE3o al\xE9m do final do arquivo"},
    {uint32_t(statusarq::PosicaoNegativa.ComoHResult()), "Posi\xE7\xE3o de grava\xE7\xE3o negativa"},
    {uint32_t(HResultDaMarca(statusmarca::Deixada)), "Marca deixada por um processo que terminou sem liber\xE1-la"},
    {uint32_t(HResultDaMarca(statusmarca::Ocupada)), "Arquivo marcado por outro processo"},
    {0x80040000u | kOcupadaTipo4, "Cadastro de planos em uso por outro usu\xE1rio"},
    {0x80040000u | kOcupadaTipo8, "M\xE1scaras do plano em altera\xE7\xE3o por outro usu\xE1rio"},
    {0x80043F59u, "Problemas no registry: diret\xF3rio de dados da empresa n\xE3o encontrado"},
    {0x8004027Au, "Conta sem entrada no \xEDndice"},
    {0x800402DCu, "O plano atingiu a quantidade m\xE1xima de contas"},
    {0x800402DDu, "Nenhum plano selecionado"},
    {0x800402DEu, "Plano sem registro de m\xE1scaras"},
    {0x800402DFu, "Plano sem m\xE1scaras"},
    {0x800409C8u, "Arquivo do plano n\xE3o informado"},
    {0x800443ECu, "Tamanho do c\xF3" "digo superior ao m\xE1ximo"},
    {0x000405E0u, "O c\xF3" "digo pertence a uma conta exclu\xED" "da"},
    {0x000405F2u, "A nova m\xE1scara perderia um d\xEDgito significativo"},
    {0x00040629u, "O c\xF3" "digo pr\xF3prio pertence a outra conta"},
    {0x81080D10u, "A classifica\xE7\xE3o n\xE3o cabe nas m\xE1scaras do plano"},
    {0x81080D11u, "O c\xF3" "digo pr\xF3prio j\xE1 pertence a uma conta do plano"},
    {0x81080D12u, "O c\xF3" "digo pr\xF3prio se repete entre as contas importadas"},
    {0x81080D13u, "Falta a conta t\xEDtulo acima da classifica\xE7\xE3o"},
    {0x81080D14u, "Nome da conta vazio ou maior que 50 caracteres"},
    {0x81080D15u, "Tipo da conta inv\xE1lido: use T (t\xEDtulo) ou A (anal\xEDtica)"},
    {0x81080D16u, "C\xF3" "digo pr\xF3prio maior que 10 caracteres"},
    {0x81080D17u, "Bloco da fun\xE7\xE3o gen\xE9rica malformado"},
    {0x81080D20u, "Arquivo CSV recusado: nada foi gravado"},
    {0x81080D21u, "Arquivo n\xE3o encontrado ou ileg\xEDvel"},
    {0x81080D22u, "Servidor local n\xE3o dispon\xEDvel nesta instala\xE7\xE3o"},
    {0x81080D23u, "A verifica\xE7\xE3o encontrou problemas no plano"},
    {0x81080A04u, "Servidor n\xE3o inicializado"},
    {0x81080AA8u, "Servidor sem objeto de neg\xF3" "cio"},
    {0x81080BB1u, "Falha inesperada no servidor"},
    {0x81080BFDu, "Vers\xE3o incompat\xEDvel do registro de inicializa\xE7\xE3o"},
    {0x81080C17u, "CRC do registro de inicializa\xE7\xE3o inv\xE1lido"},
    {0x81080C19u, "Estrutura de inicializa\xE7\xE3o inv\xE1lida"},
};

} // namespace

TQ_EXPORTA int TQGetDescricaoHRESULT(HRESULT hr, char* saida, unsigned long tamanhoSaida)
{
    [[maybe_unused]] constexpr PFN_TQGetDescricaoHRESULT kConfere = &TQGetDescricaoHRESULT;
    if (!saida || tamanhoSaida == 0)
        return 0;
    *saida = '\0';
    for (const Descricao& d : kDescricoes) {
        if (d.hr != uint32_t(hr))
            continue;
        const size_t n = std::min<size_t>(std::strlen(d.texto), tamanhoSaida - 1);
        std::memcpy(saida, d.texto, n);
        saida[n] = '\0';
        return 1;
    }
    return 0;
}
