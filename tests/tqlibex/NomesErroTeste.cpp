#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "df/tqlibex/TQMensagens.h"
#include "df/tqlibex/TQNomesErro.h"
#include "df/tqlibex/TQNomesErroTabelas.h"
#include "df/tqlibex/TQTrace.h"

namespace {

const std::string kFacilidadeDesconhecida = "Desconhecido ou novo c\xF3" "digo de FACILITY";

// Binary search is only right on strictly ascending numbers; names must be real ones.
void ConfereTabela(std::span<const TQNomeNumero> tabela, std::string_view prefixo)
{
    ASSERT_FALSE(tabela.empty());
    for (size_t i = 0; i < tabela.size(); ++i) {
        ASSERT_NE(tabela[i].nome, nullptr);
        const std::string_view nome = tabela[i].nome;
        EXPECT_TRUE(!nome.empty() && nome.starts_with(prefixo)) << nome;
        EXPECT_TRUE(i == 0 || tabela[i - 1].numero < tabela[i].numero) << nome;
        // Every entry is reachable through the lookup.
        EXPECT_EQ(TQBuscaNome(tabela, tabela[i].numero), tabela[i].nome);
    }
}

} // namespace

TEST(NomesErro, TabelasOrdenadas)
{
    ConfereTabela(TQTabelaFacilidades(), "");
    ConfereTabela(TQTabelaErros(), "ERROR_");
    ConfereTabela(TQTabelaHResults(), "");
}

TEST(NomesErro, BordasDasTabelasEDasFaixas)
{
    const auto erros = TQTabelaErros();
    EXPECT_STREQ(TQBuscaNome(erros, 0), "ERROR_SUCCESS");
    EXPECT_EQ(TQBuscaNome(erros, erros.back().numero + 1), nullptr);
    EXPECT_EQ(TQBuscaNome(erros, 0xFFFFFFFFu), nullptr);
    EXPECT_EQ(TQBuscaNome({}, 5), nullptr);
    EXPECT_STREQ(TQNomeHResult(S_OK), "");
    EXPECT_STREQ(TQNomeHResult(TQHResult(0x8004D000)), ""); // a transaction code: left out
    EXPECT_STREQ(TQNomeCodigo(TQHResult(0x80071799)), "");  // 6041: beyond the table
    // Code 5 would be ERROR_ACCESS_DENIED under any other facility than ITF.
    EXPECT_STREQ(TQNomeCodigo(TQHResult(0x80030005)), "ERROR_ACCESS_DENIED");
    for (uint32_t v : {0x80040005u, 0x00040005u, 0x80040000u, 0x8004FFFFu})
        EXPECT_STREQ(TQNomeCodigo(TQHResult(v)), "") << std::hex << v;
    // Facilities at the edges of each range, and the suite's own.
    const std::pair<int, std::string> facilidades[] = {{26, "FACILITY_USERMODE_COMMONLOG"}, {84, "FACILITY_MBN"},
                                                       {236, "TQ_FACILITY_"}, {269, "TQ_FACILITY_"}};
    for (const auto& [f, nome] : facilidades)
        EXPECT_TRUE(std::string(TQNomeFacilidade(TQHResult(0x80000000u | (uint32_t(f) << 16)))).starts_with(nome)) << f;
    for (int f : {5, 6, 27, 30, 43, 47, 62, 79, 85, 235, 270, 300, 0x1FFF})
        EXPECT_EQ(TQNomeFacilidade(TQHResult(0x80000000u | (uint32_t(f) << 16))), kFacilidadeDesconhecida) << f;
}

TEST(NomesErro, TabelaFixaItf)
{
    EXPECT_STREQ(TQMensagemFixaItf(TQHResult(0x80040001)),
                 "DADADU: Modelo de relat\xF3rio deve ser definido para realizar a exporta\xE7\xE3o");
    EXPECT_EQ(TQMensagemFixaItf(TQHResult(0x800401FC)), nullptr); // 508
    // The severity bit is not looked at; the facility is.
    EXPECT_STREQ(TQMensagemFixaItf(TQHResult(0x00040001)), TQMensagemFixaItf(TQHResult(0x80040001)));
    EXPECT_EQ(TQMensagemFixaItf(TQHResult(0x80070001)), nullptr);
    EXPECT_EQ(TQMensagemFixaItf(TQHResult(0x81080001)), nullptr);

    int quantas = 0;
    for (uint32_t codigo = 0; codigo <= 0xFFFF; ++codigo) {
        const char* texto = TQMensagemFixaItf(TQHResult(0x80040000u | codigo));
        if (!texto)
            continue;
        ++quantas;
        const std::string_view t = texto;
        EXPECT_TRUE(t.starts_with(codigo < 500 ? "DADADU: " : "DUZOVI: ")) << codigo;
        EXPECT_LT(t.size(), 400u);
        // Only ASCII and the accented letters of Portuguese in code page 1252.
        for (unsigned char c : t)
            EXPECT_TRUE((c >= 0x20 && c < 0x7F) || std::string_view("\xE1\xE2\xE3\xE7\xE9\xEA\xED\xF3").find(char(c)) !=
                                                        std::string_view::npos)
                << codigo << ": " << int(c);
    }
    EXPECT_EQ(quantas, 39);
}

TEST(NomesErro, TextoDaMensagem)
{
    EXPECT_EQ(TQTextoMensagem(TQHResult(0x80040007)), "DADADU: Servidor n\xE3o foi inicializado");
    // Outside the fixed table the text is the message-text library's.
    for (uint32_t v : {0x800401FCu, 0x80070005u, 0x81080A04u, 0x80000001u})
        EXPECT_EQ(TQTextoMensagem(TQHResult(v)), TQDescricaoHResult(TQHResult(v))) << std::hex << v;
}
