// The report file in each format: header, columns, rows, and texts intact in UTF-8.
#include <regex>

#include <gtest/gtest.h>

#include "RelatorioTeste.h"
#include "platform/Texto.h"

using teste::Ajusta;
using teste::Divide;
using teste::LinhaTeste;

namespace {

using FormatosRelatorio = teste::RelatorioTeste;

const std::string kMomento = R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d)";

// A summary account, an analytic account of level 2 and a line of a link to it.
const std::vector<LinhaTeste> kPlano = {
    {{101, "1"}, {102, "T"}, {103, "1"}, {104, "ATIVO"}},
    {{101, "1010020"}, {102, "A"}, {103, "1.01.002"}, {104, "Ações & <títulos>"}},
    {{101, "     0001"}, {102, "     A"}, {103, "     1.1.01"}, {104, "     Caixa 'geral'"}, {105, "+"}},
};

// The line as the text format sets it: the five fields at their widths, one blank apart.
std::string LinhaFixa(const LinhaTeste& linha)
{
    std::string s;
    for (int64_t codigo = 101; codigo <= 105; ++codigo) {
        const auto texto = linha.find(codigo);
        s += (codigo > 101 ? " " : "") + Ajusta(texto == linha.end() ? "" : texto->second, teste::LarguraDoCampo(codigo));
    }
    return s;
}

std::vector<std::string> LinhasAnsi(const std::string& utf8) { return Divide(plataforma::Utf8ParaAnsi(utf8), "\r\n"); }

} // namespace

TEST_F(FormatosRelatorio, TextoTemCabecalhoEColunasDeLarguraFixa)
{
    const std::string nomeLongo(100, 'N');
    std::vector<LinhaTeste> linhas = kPlano;
    linhas.push_back({{101, "2"}, {104, nomeLongo}});
    const std::vector<std::string> l = LinhasAnsi(Gera("plano.txt", linhas));

    ASSERT_EQ(l.size(), 4u + linhas.size());
    EXPECT_TRUE(l[0].starts_with(plataforma::Utf8ParaAnsi(teste::kRazaoSocial) + "  ")) << l[0];
    EXPECT_TRUE(l[0].ends_with(" P\xE1gina 1")) << l[0];
    EXPECT_TRUE(std::regex_match(l[1], std::regex(std::string(teste::kRelatorio) + " +" + kMomento))) << l[1];
    EXPECT_EQ(l[2], Ajusta("C\xF3" "digo", 17) + " " + Ajusta("Tipo", 6) + " " + Ajusta("Classifica\xE7\xE3o", 37) +
                        " " + Ajusta("Nome", 87) + " " + Ajusta("Sinal", 7));
    EXPECT_EQ(l[3], std::string(17, '-') + " " + std::string(6, '-') + " " + std::string(37, '-') + " " +
                        std::string(87, '-') + " " + std::string(7, '-'));
    for (size_t i = 0; i < linhas.size(); ++i) {
        LinhaTeste ansiLinha;
        for (const auto& [codigo, texto] : linhas[i])
            ansiLinha[codigo] = plataforma::Utf8ParaAnsi(texto);
        EXPECT_EQ(l[4 + i], LinhaFixa(ansiLinha)) << i;
    }
    // Cut to its width: the name's 87 characters and not one more.
    EXPECT_EQ(l.back().substr(63, 88), std::string(87, 'N') + " ");
}

TEST_F(FormatosRelatorio, TextoAbreUmaPaginaACada60Linhas)
{
    std::vector<LinhaTeste> linhas;
    for (int i = 1; i <= 130; ++i)
        linhas.push_back({{101, std::to_string(i)}, {104, "Conta " + std::to_string(i)}});
    const std::vector<std::string> paginas = Divide(Gera("paginas.txt", linhas), "\f");

    // 4 header lines and 56 account lines a page: 56 + 56 + 18.
    const std::vector<size_t> linhasPorPagina = {60, 60, 22};
    ASSERT_EQ(paginas.size(), linhasPorPagina.size());
    for (size_t p = 0; p < paginas.size(); ++p) {
        const std::vector<std::string> l = LinhasAnsi(paginas[p]);
        ASSERT_EQ(l.size(), linhasPorPagina[p]) << p;
        EXPECT_TRUE(l[0].ends_with(" P\xE1gina " + std::to_string(p + 1))) << l[0];
        EXPECT_EQ(l[4].substr(0, 17), Ajusta(std::to_string(p * 56 + 1), 17)) << p;
    }
}

TEST_F(FormatosRelatorio, CsvCitaOQuePrecisaEApara)
{
    struct Caso {
        const char* nome;
        const char* campo;
    };
    const Caso casos[] = {
        {"Ações   ", "Ações"},
        {"linha\r\nquebrada", "\"linha\r\nquebrada\""},
    };
    std::vector<LinhaTeste> linhas;
    std::string esperado = "Código,Tipo,Classificação,Nome,Sinal\r\n";
    for (const Caso& c : casos) {
        linhas.push_back({{101, "1"}, {102, "A"}, {103, "1.1"}, {104, c.nome}});
        esperado += std::string("1,A,1.1,") + c.campo + ",\r\n";
    }
    linhas.push_back(kPlano[2]);
    esperado += "     0001,     A,     1.1.01,     Caixa 'geral',+\r\n";
    EXPECT_EQ(Gera("plano.csv", linhas), esperado);
}

TEST_F(FormatosRelatorio, HtmlEhUmaPaginaSoComTextoEscapadoERecuado)
{
    const std::string html = Gera("plano.html", kPlano);

    for (const char* externo : {"<script", "<link", "src=", "href=", "@import", "url("})
        EXPECT_EQ(html.find(externo), std::string::npos) << externo;
    const char* trechos[] = {
        "<meta charset=\"utf-8\">",
        "<p class=\"empresa\">Comércio &quot;A &amp; B&quot; &lt;Ltda&gt;</p>",
        "<th>Código</th><th>Tipo</th><th>Classificação</th><th>Nome</th><th>Sinal</th>",
        "<tr class=\"conta\"><td>1</td><td>T</td><td>1</td><td>ATIVO</td><td></td></tr>",
        "<tr class=\"conta\"><td style=\"padding-left: 4em\">1010020</td><td>A</td><td>1.01.002</td>"
        "<td>Ações &amp; &lt;títulos&gt;</td>",
        "<tr class=\"vinculo\"><td>     0001</td><td>     A</td><td>     1.1.01</td><td>     Caixa &#39;geral&#39;</td>"
        "<td>+</td></tr>",
    };
    for (const char* trecho : trechos)
        EXPECT_NE(html.find(trecho), std::string::npos) << trecho;
    EXPECT_TRUE(std::regex_search(html, std::regex("<p class=\"momento\">" + kMomento + "</p>")));
}
