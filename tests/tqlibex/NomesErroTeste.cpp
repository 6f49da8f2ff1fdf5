#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "df/tqlibex/TQMensagens.h"
#include "df/tqlibex/TQNomesErro.h"
#include "df/tqlibex/TQNomesErroTabelas.h"
#include "df/tqlibex/TQTrace.h"

namespace {

const std::string kFacilidadeDesconhecida = "Desconhecido ou novo c\xF3" "digo de FACILITY";

} // namespace

TEST(NomesErro, BordasDasTabelasEDasFaixas)
{
    // The binary search reaches both ends of each table, and nothing past the last.
    for (const auto tabela : {TQTabelaFacilidades(), TQTabelaErros(), TQTabelaHResults()}) {
        EXPECT_EQ(TQBuscaNome(tabela, tabela.front().numero), tabela.front().nome);
        EXPECT_EQ(TQBuscaNome(tabela, tabela.back().numero), tabela.back().nome);
        EXPECT_EQ(TQBuscaNome(tabela, tabela.back().numero + 1), nullptr);
    }
    const auto erros = TQTabelaErros();
    EXPECT_EQ(TQBuscaNome(erros, 0xFFFFFFFFu), nullptr);
    EXPECT_EQ(TQBuscaNome({}, 5), nullptr);
    EXPECT_STREQ(TQNomeHResult(S_OK), "");
    EXPECT_STREQ(TQNomeHResult(TQHResult(0x8004D000)), ""); // a transaction code: left out
    EXPECT_STREQ(TQNomeCodigo(TQHResult(0x80071799)), "");  // 6041: beyond the table
    // Code 5 would be ERROR_ACCESS_DENIED under any other facility than ITF.
    EXPECT_STREQ(TQNomeCodigo(TQHResult(0x80030005)), "ERROR_ACCESS_DENIED");
    for (uint32_t v : {0x80040005u, 0x00040005u})
        EXPECT_STREQ(TQNomeCodigo(TQHResult(v)), "") << std::hex << v;
    // Facilities at the edges of each range, and the suite's own.
    const std::pair<int, std::string> facilidades[] = {{26, "FACILITY_USERMODE_COMMONLOG"}, {84, "FACILITY_MBN"},
                                                       {236, "TQ_FACILITY_"}, {269, "TQ_FACILITY_"}};
    for (const auto& [f, nome] : facilidades)
        EXPECT_TRUE(std::string(TQNomeFacilidade(TQHResult(0x80000000u | (uint32_t(f) << 16)))).starts_with(nome)) << f;
    for (int f : {5, 27, 85, 235, 270, 0x1FFF})
        EXPECT_EQ(TQNomeFacilidade(TQHResult(0x80000000u | (uint32_t(f) << 16))), kFacilidadeDesconhecida) << f;
}

TEST(NomesErro, TabelaFixaItfETextoDaMensagem)
{
    EXPECT_STREQ(TQMensagemFixaItf(TQHResult(0x80040001)),
                 "DADADU: Modelo de relat\xF3rio deve ser definido para realizar a exporta\xE7\xE3o");
    EXPECT_EQ(TQMensagemFixaItf(TQHResult(0x800401FC)), nullptr); // 508
    // The severity bit is not looked at; the facility is.
    EXPECT_STREQ(TQMensagemFixaItf(TQHResult(0x00040001)), TQMensagemFixaItf(TQHResult(0x80040001)));
    EXPECT_EQ(TQMensagemFixaItf(TQHResult(0x80070001)), nullptr);
    EXPECT_EQ(TQTextoMensagem(TQHResult(0x80040007)), "DADADU: Servidor n\xE3o foi inicializado");
    // Outside the fixed table the text is the message-text library's.
    for (uint32_t v : {0x800401FCu, 0x80070005u})
        EXPECT_EQ(TQTextoMensagem(TQHResult(v)), TQDescricaoHResult(TQHResult(v))) << std::hex << v;
}
