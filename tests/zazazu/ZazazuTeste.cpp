// The command-line client as people run it: the real executable, its exit codes, its output,
// and the files it leaves.
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>

#include <nlohmann/json.hpp>

#include "apoio/Apoio.h"
#include "df/tqclasses/ClassificacaoCodigos.h"
#include "platform/Processo.h"

namespace {

struct Resultado {
    int codigo;
    std::string saida, erro;
};

const char* const kCsvPlano = "classificacao,codigo,tipo,nome,caracteristica,vinculos\n"
                              "1,,T,Ativo,0,\n"
                              "1.1,,T,Ativo Circulante,0,\n"
                              "1.1.01,CX,A,Caixa e equivalentes,0,3 4\n"
                              "1.1.02,BCO,A,\"Bancos, conta movimento\",1,5\n"
                              "2,,T,Passivo,0,\n"
                              "2.1,FORN,A,Fornecedores a pagar,0,\n";

class Zazazu : public apoio::DiretorioTemporario {
protected:
    void SetUp() override
    {
        DiretorioTemporario::SetUp();
        m_dados = Caminho("dados/");
        ASSERT_EQ(Roda("company init T1 --data " + m_dados).codigo, 0);
        ASSERT_EQ(Roda("plan create Gerencial").codigo, 0);
        ASSERT_EQ(Roda("mask set 1 9.9.99").codigo, 0);
        ASSERT_EQ(Roda("plan show 1").codigo, 0); // the first selection creates the chart and its index
    }

    // The client with this test's registry file and company; what it printed and its exit code.
    Resultado Roda(const std::string& argumentos)
    {
        const std::string comando = "ZAZAZU_REGISTRY='" + Caminho("registro.reg") + "' ZAZAZU_COMPANY=T1 " +
                                    ZAZ_CLIENTE + " " + argumentos + " >'" + Caminho("saida") + "' 2>'" +
                                    Caminho("erro") + "'";
        const int estado = std::system(comando.c_str());
        return {(estado >> 8) & 0xFF, apoio::LeTudo(Caminho("saida")), apoio::LeTudo(Caminho("erro"))};
    }
    Resultado Importa(const std::string& csv, const std::string& opcoes = "", int plano = 1)
    {
        apoio::GravaTudo(Caminho("entrada.csv"), csv);
        return Roda("import " + std::to_string(plano) + " '" + Caminho("entrada.csv") + "' " + opcoes);
    }
    // Every data file of the company, by name in upper case (the error log aside).
    std::map<std::string, std::string> Arquivos() const
    {
        std::map<std::string, std::string> r;
        for (const auto& e : std::filesystem::directory_iterator(m_dados))
            if (std::string nome = e.path().filename().string(); nome.rfind("TQProfiler", 0) != 0) {
                for (char& c : nome)
                    c = char(std::toupper(static_cast<unsigned char>(c)));
                r[nome] = apoio::LeTudo(e.path().string());
            }
        return r;
    }
    // Overwrites bytes of a data file in place.
    void Planta(const std::string& arquivo, size_t deslocamento, const void* bytes, size_t n)
    {
        std::string conteudo = apoio::LeTudo(m_dados + arquivo);
        ASSERT_LE(deslocamento + n, conteudo.size()) << arquivo;
        std::memcpy(conteudo.data() + deslocamento, bytes, n);
        apoio::GravaTudo(m_dados + arquivo, conteudo);
    }

    std::string m_dados;
};

TEST_F(Zazazu, CadaSubcomandoAcertaERecusaEExportadoReimportaIgual)
{
    using nlohmann::json;
    ASSERT_EQ(Importa(kCsvPlano).codigo, 0);
    // What is exported imports into another plan as the same bytes.
    ASSERT_EQ(Roda("export 1 '" + Caminho("exportado.csv") + "'").codigo, 0);
    ASSERT_EQ(Roda("plan create Copia").codigo, 0);
    ASSERT_EQ(Roda("mask set 2 9.9.99").codigo, 0);
    ASSERT_EQ(Roda("import 2 '" + Caminho("exportado.csv") + "'").codigo, 0);
    const auto depois = Arquivos();
    for (const char* par : {"PLA", "IND", "VIN"}) {
        const auto um = depois.find(std::string("DF") + par + "001.DAT"), dois = depois.find(std::string("DF") + par + "002.DAT");
        ASSERT_TRUE(um != depois.end() && dois != depois.end()) << par;
        EXPECT_TRUE(um->second == dois->second) << par;
    }
    const json erro = json::parse(Roda("--json plan show 9").saida)["erro"];
    EXPECT_EQ(erro["hresult"], "0x80043E95");
    const struct {
        const char* argumentos;
        int codigo;
        const char* contem; // in what it printed, out or error
    } casos[] = {
        {"company list", 0, "T1"},
        {"import 1 /nao/existe.csv", 1, "cannot be read"},
        {"plan list", 0, "Gerencial"},
        {"plan rename 1 Novo", 0, "Novo"},
        {"plan create ''", 1, "0x80070057"},
        {"mask show 1", 0, "9.9.99"},
        {"mask set 1 9x9", 1, "0x80070057"},
        {"account list 1 --tree", 0, "    Caixa e equivalentes"},
        {"account show 1 3", 0, "CX"},
        {"account show 1 99", 1, "0x"},
        {"account add 1 --class 1.1.03 --code APL --type A --name Aplicacoes", 0, "APL"},
        {"account add 1 --class 1.1.04 --code CX --type A --name Outra", 1, "0x00040629"},
        {"account edit 1 7 --name 'Aplicacoes financeiras'", 0, "Aplicacoes financeiras"},
        {"account find 1 BCO", 0, "Bancos"},
        {"account find 1 NADA", 1, "0x800405E0"},
        {"account delete 1 7", 0, "deleted 1"},
        {"link add 1 6 9", 0, "added"},
        {"link remove 1 6 9", 0, "removed"},
        {"link list 1 3", 0, "MAIN"},
        {"check 1", 0, "no problems"},
        {"report 1 --out relatorio.txt", 1, "0x80043EB7"}, // the company has no main chart
        {"plan", 2, "subcommand"},
        {"plan list --bogus", 2, "bogus"},
    };
    for (const auto& c : casos) {
        const Resultado r = Roda(c.argumentos);
        EXPECT_EQ(r.codigo, c.codigo) << c.argumentos << "\n" << r.saida << r.erro;
        EXPECT_NE((r.saida + r.erro).find(c.contem), std::string::npos) << c.argumentos << "\n" << r.saida << r.erro;
    }
}

// A dry run and each bad CSV write nothing; a bad one is told with its line.
TEST_F(Zazazu, CsvRuimOuSimuladoNadaGrava)
{
    const std::string cabecalho = "classificacao,codigo,tipo,nome,caracteristica,vinculos\n";
    const struct {
        std::string csv;
        unsigned linha;
        const char* motivo;
    } casos[] = {
        {cabecalho + "1,,T,Ativo,0,\n1.1,,T,Circulante,0\n", 3, "too few columns"},
        {cabecalho + "1,,T,Ativo,0,,x\n", 2, "too many columns"},
        {cabecalho + "1,,T,\"Ativo,0,\n", 2, "not closed"},
        {cabecalho + "1,,T," + std::string(51, 'n') + ",0,\n", 2, "nome: 1 to 50"},
        {cabecalho + "1,,T,Ativo,0,\n1.123,,A,Errada,0,\n", 3, "0x81080D10"},
        {cabecalho + "1,,T,\xE2\x82\xAC ok,0,\n2,,T,\xE4\xB8\xAD,0,\n", 3, "code page 1252"},
        {"", 1, "empty file"},
        {std::string("\x7F" "ELF\x02\x01\0\0binario", 15), 1, "binary"},
    };
    const auto antes = Arquivos();
    const Resultado simulada = Importa(kCsvPlano, "--dry-run");
    EXPECT_EQ(simulada.codigo, 0) << simulada.erro;
    EXPECT_NE(simulada.saida.find("6 accepted, 0 refused, 0 written"), std::string::npos) << simulada.saida;
    EXPECT_TRUE(Arquivos() == antes);
    for (const auto& c : casos) {
        const Resultado r = Importa(c.csv);
        EXPECT_EQ(r.codigo, 1) << c.motivo;
        const std::string esperado = ":" + std::to_string(c.linha) + ": ";
        const size_t onde = r.erro.find(esperado);
        EXPECT_NE(onde, std::string::npos) << c.motivo << "\n" << r.erro;
        EXPECT_NE(r.erro.find(c.motivo, onde), std::string::npos) << c.motivo << "\n" << r.erro;
        EXPECT_TRUE(Arquivos() == antes) << c.motivo;
    }
    // With --skip-invalid the good rows go in and the bad ones are still told.
    const Resultado parcial = Importa(cabecalho + "1,,T,Ativo,0,\n1.9.99.9,,A,Fora,0,\n", "--skip-invalid");
    EXPECT_EQ(parcial.codigo, 0);
    EXPECT_NE(parcial.saida.find("1 written"), std::string::npos) << parcial.saida;
}

TEST_F(Zazazu, VerificacaoAchaCadaFalhaEReparoCorrigeOQueDiz)
{
    ASSERT_EQ(Importa(kCsvPlano).codigo, 0);
    // The index: one entry's record number changed. A chain: the link record 1 points to itself.
    const uint32_t outro = 0x10000005;
    Planta("DFIND001.DAT", 18 * 2, &outro, sizeof outro);
    const uint32_t proprio = 1;
    Planta("DFVIN001.DAT", 32 * 1 + 8, &proprio, sizeof proprio);
    // An orphan: the title 2 becomes 3; a duplicate own code: BCO becomes CX.
    uint8_t empacotada[kTamanhoEmpacotado];
    EmpacotaClassificacao("3", empacotada);
    Planta("DFPLA001.DAT", 96 * 5, empacotada, sizeof empacotada);
    Planta("DFPLA001.DAT", 96 * 4 + 16, "CX\0", 3);

    const nlohmann::json achados = nlohmann::json::parse(Roda("--json check 1").saida)["achados"];
    std::map<std::string, int> tipos;
    for (const auto& a : achados)
        ++tipos[a["problema"].get<std::string>()];
    EXPECT_EQ(tipos["index differs from the chart"], 1);
    EXPECT_EQ(tipos["link chain loops"], 1);
    EXPECT_EQ(tipos["title account missing"], 1); // 2.1 under the missing 2
    EXPECT_EQ(tipos["own code repeated"], 1);
    EXPECT_EQ(Roda("check 1").codigo, 1);

    const nlohmann::json reparo = nlohmann::json::parse(Roda("--json check 1 --repair").saida);
    EXPECT_EQ(reparo["corrigidos"], 2);
    const nlohmann::json depois = nlohmann::json::parse(Roda("--json check 1").saida)["achados"];
    ASSERT_EQ(depois.size(), 2u) << depois.dump(); // what the repair does not touch
    for (const auto& a : depois)
        EXPECT_TRUE(a["tipo"] == 5 || a["tipo"] == 6) << a.dump();
    EXPECT_EQ(nlohmann::json::parse(Roda("--json account list 1").saida).size(), 6u); // no account deleted
}

} // namespace
