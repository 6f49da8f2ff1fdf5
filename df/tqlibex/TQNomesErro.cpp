#include "df/tqlibex/TQMensagens.h"
#include "df/tqlibex/TQNomesErro.h"

#include <algorithm>
#include <string_view>

#include "df/tqlibex/TQNomesErroTabelas.h"
#include "df/tqlibex/TQTrace.h"

namespace {

constexpr int kFacilidadeItf = 4;
constexpr const char* kFacilidadeDesconhecida = "Desconhecido ou novo c\xF3" "digo de FACILITY";

// Messages of two other servers of the suite (report models, products) that reach this
// server's callers as FACILITY_ITF codes, keyed by the low 16 bits. Code 508 has none.
constexpr TQNomeNumero g_mensagensItf[] = {
    {1, "DADADU: Modelo de relat\xF3rio deve ser definido para realizar a exporta\xE7\xE3o"},
    {2, "DADADU: N\xE3o foi poss\xEDvel ler o modelo de relat\xF3rio"},
    {3, "DADADU: N\xE3o buscou quantidade"},
    {4, "DADADU: Modelo de relat\xF3rio j\xE1 existe"},
    {5, "DADADU: Ocorreu um erro ao gravar o modelo do relat\xF3rio. Por favor verifique se o arquivo n\xE3o "
        "est\xE1 sendo usado por outro processo ou est\xE1 com o atributo de 'somente leitura'"},
    {6, "DADADU: Ocorreu um erro ao criar o modelo do relat\xF3rio"},
    {7, "DADADU: Servidor n\xE3o foi inicializado"},
    {8, "DADADU: Modelo de relat\xF3rio n\xE3o foi encontrado"},
    {9, "DADADU: Ocorreu um erro ao acessar o registry"},
    {10, "DADADU: N\xE3o foi poss\xEDvel reconhecer o m\xF3" "dulo informado"},
    {11, "DADADU: Arquivo j\xE1 foi alterado"},
    {12, "DADADU: Esse nome de modelo de relat\xF3rio \xE9 reservado para o Sistema"},
    {13, "DADADU: Rela\xE7\xE3o relat\xF3rio n\xE3o encontrado"},
    {501, "DUZOVI: Falta informar classifica\xE7\xE3o"},
    {502, "DUZOVI: Tipo local inv\xE1lido"},
    {503, "DUZOVI: Falta informar c\xF3" "digo"},
    {504, "DUZOVI: Falta local t\xEDtulo"},
    {505, "DUZOVI: Registro exclu\xED" "do"},
    {506, "DUZOVI: Subordinada sem t\xEDtulo"},
    {507, "DUZOVI: T\xEDtulo sem subordinada"},
    {509, "DUZOVI: Classifica\xE7\xE3o n\xE3o cadastrada"},
    {510, "DUZOVI: Classifica\xE7\xE3o inexistente"},
    {511, "DUZOVI: Encontrado mas tipo diferente"},
    {512, "DUZOVI: N\xE3o abriu arquivo de impress\xE3o de produto"},
    {1522, "DUZOVI: J\xE1 existe conta"},
    {1523, "DUZOVI: N\xE3o pode alterar n\xEDvel"},
    {1524, "DUZOVI: Erro de convers\xE3o"},
    {1525, "DUZOVI: Atingiu quantidade m\xE1xima de produtos"},
    {1733, "DUZOVI: Par\xE2metro inv\xE1lido"},
    {1739, "DUZOVI: N\xE3o inicializado"},
    {1750, "DUZOVI: Produto usando a grade, n\xE3o pode excluir"},
    {1873, "DUZOVI: Fornecedor j\xE1 \xE9 associado"},
    {1874, "DUZOVI: Conta n\xE3o \xE9 de fornecedor"},
    {1875, "DUZOVI: Unidade de medida n\xE3o cadastrada"},
    {1876, "DUZOVI: Tempo para reposi\xE7\xE3o inv\xE1lido"},
    {1908, "DUZOVI: Refer\xEAncia fornecedor j\xE1 cadastrado"},
    {1978, "DUZOVI: Fornecimento n\xE3o identificado"},
    {1979, "DUZOVI: Grava\xE7\xE3o vig\xEAncia sobreescrita"},
    {2339, "DUZOVI: C\xF3" "digo de produto com h\xED" "fen"},
};

// The callers copy the text into a 400-byte buffer.
static_assert(std::ranges::all_of(g_mensagensItf, [](const TQNomeNumero& m) {
    return std::string_view(m.nome).size() < 400;
}));
static_assert(std::ranges::is_sorted(g_mensagensItf, {}, &TQNomeNumero::numero));

} // namespace

const char* TQBuscaNome(std::span<const TQNomeNumero> tabela, uint32_t numero)
{
    const auto it = std::ranges::lower_bound(tabela, numero, {}, &TQNomeNumero::numero);
    return it != tabela.end() && it->numero == numero ? it->nome : nullptr;
}

const char* TQNomeSeveridade(HRESULT hr)
{
    return TQSeveridade(hr) ? "SEVERITY_ERROR" : "SEVERITY_SUCCESS";
}

const char* TQNomeFacilidade(HRESULT hr)
{
    const char* nome = TQBuscaNome(TQTabelaFacilidades(), uint32_t(TQFacilidade(hr)));
    return nome ? nome : kFacilidadeDesconhecida;
}

const char* TQNomeCodigo(HRESULT hr)
{
    if (TQFacilidade(hr) == kFacilidadeItf)
        return "";
    const char* nome = TQBuscaNome(TQTabelaErros(), uint32_t(TQCodigo(hr)));
    return nome ? nome : "";
}

const char* TQNomeHResult(HRESULT hr)
{
    const char* nome = TQBuscaNome(TQTabelaHResults(), uint32_t(hr));
    return nome ? nome : "";
}

const char* TQMensagemFixaItf(HRESULT hr)
{
    if (TQFacilidade(hr) != kFacilidadeItf)
        return nullptr;
    return TQBuscaNome(g_mensagensItf, uint32_t(TQCodigo(hr)));
}

std::string TQTextoMensagem(HRESULT hr)
{
    if (const char* fixa = TQMensagemFixaItf(hr))
        return fixa;
    return TQDescricaoHResult(hr);
}
