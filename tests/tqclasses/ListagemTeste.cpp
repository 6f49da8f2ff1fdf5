// Index listings: which entries each kind keeps below a base, the count against what GetIndex
// copies, inactive accounts, sorting by record number, and bad kinds and bases.
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PlanoTeste.h"
#include "apoio/Apoio.h"
#include "df/tqclasses/Classificacao.h"
#include "platform/Arquivo.h"
#include "platform/Texto.h"

namespace {

using teste::ContaPlano;

constexpr uint8_t T = kStatusTitulo;
constexpr uint8_t A = 0;

// Index order is record order here: 1 "1" T; 2 "1.1" T; 3, 4 analytic; 5 'G'; 6 "1.2" T;
// 7 excluded; 8 'S'; 9 "5.2" T.
const std::vector<ContaPlano> kContas = {
    {"1", T, "C1", "Ativo"},          {"1.1", T, "C2", "Circulante"},       {"1.1.01", A, "C3", "Caixa"},
    {"1.1.02", A, "C4", "Bancos"},    {"1.1.03", kStatusG, "C5", "Aplica"}, {"1.2", T, "C6", "Imobilizado"},
    {"1.2.01", A | kStatusExcluido, "C7", "Velho"}, {"1.2.02", kStatusS, "C8", "Ve\xED" "culos"},
    {"5.2", T, "C9", "Outras"},
};

class Listagem : public teste::PlanoTeste {
protected:
    void SetUp() override
    {
        PlanoTeste::SetUp();
        GravaPlano(kContas);
    }

    // Count of a listing, then the record numbers that GetIndex copies with that count; a
    // status other than 0 comes back alone.
    struct Resultado {
        HRESULT hr;
        uint32_t quantidade;
        std::vector<uint32_t> registros; // the slots GetIndex filled
        HRESULT hrCopia = 0;
        bool operator==(const Resultado&) const = default;
        friend void PrintTo(const Resultado& r, std::ostream* os)
        {
            *os << std::hex << "hr " << r.hr << std::dec << ", " << r.quantidade << " {";
            for (uint32_t x : r.registros)
                *os << ' ' << x;
            *os << " }";
        }
    };
    Resultado Lista(CClassificacao& p, const std::string& tipo, uint32_t base, bool ordena = false)
    {
        Resultado r{0, 0xDEAD, {}};
        r.hr = p.GetTamanhoIndex(plataforma::AnsiParaOle(tipo).c_str(), base, &r.quantidade);
        if (r.hr != 0 || r.quantidade == 0)
            return r;
        // One slot more than asked for, which must stay untouched.
        std::vector<REGCON_INDEX> saida(r.quantidade + 1, REGCON_INDEX{0xABCDEF, {}});
        r.hrCopia = p.GetIndex(r.quantidade, saida.data(), ordena);
        EXPECT_EQ(uint32_t(saida.back().Tipo_IndCon), 0xABCDEFu) << tipo;
        for (uint32_t i = 0; i < r.quantidade && saida[i].Tipo_IndCon != 0xABCDEF; ++i) {
            EXPECT_EQ(saida[i].Tipo_IndCon & kBitInativo, 0u) << tipo;
            r.registros.push_back(IDX_INDCON(saida[i].Tipo_IndCon));
        }
        return r;
    }
    Resultado Lista(const std::string& tipo, uint32_t base, bool ordena = false)
    {
        return Lista(Plano(), tipo, base, ordena);
    }
    static Resultado Ok(std::vector<uint32_t> registros)
    {
        return {0, uint32_t(registros.size()), std::move(registros)};
    }
    // Without a base entry in the listing the count is one more than GetIndex fills.
    static Resultado UmAMais(std::vector<uint32_t> registros)
    {
        return {0, uint32_t(registros.size() + 1), std::move(registros)};
    }
    static Resultado Status(HRESULT hr, uint32_t quantidade = 0, HRESULT hrCopia = 0)
    {
        return {hr, quantidade, {}, hrCopia};
    }

    void GravaIndice(const std::vector<REGCON_INDEX>& indice)
    {
        apoio::GravaTudo(CaminhoIndice(), std::string(reinterpret_cast<const char*>(indice.data()),
                                                      indice.size() * sizeof(REGCON_INDEX)));
    }
};

TEST_F(Listagem, TodasETitulos)
{
    EXPECT_EQ(Lista("X", 0), Ok({1, 2, 3, 4, 5, 6, 8, 9}));
    EXPECT_EQ(Lista("x", 0), Ok({1, 2, 3, 4, 5, 6, 8, 9}));
    EXPECT_EQ(Lista("X", 2), Ok({3, 4, 5, 6, 8, 9})) << "everything after the base, without it";
    EXPECT_EQ(Lista("X", 3), Ok({4, 5, 6, 8, 9})) << "an analytic base is dropped before it is looked at";
    EXPECT_EQ(Lista("T", 0), Ok({1, 2, 6, 9}));
    EXPECT_EQ(Lista("t", 2), Ok({6, 9}));
}

TEST_F(Listagem, SubarvoreDaBase)
{
    EXPECT_EQ(Lista("G", 2), Ok({2, 3, 4, 5})) << "the base and its subtree";
    EXPECT_EQ(Lista("G", 1), Ok({1, 2, 3, 4, 5, 6, 8}));
    EXPECT_EQ(Lista("GT", 1), Ok({1, 2, 5, 6, 8})) << "without analytic accounts";
    EXPECT_EQ(Lista("gt", 2), UmAMais({5})) << "'g' drops the base";
    EXPECT_EQ(Lista("P", 1), Ok({1, 2, 3, 4, 5, 6})) << "without 'S' accounts";
    EXPECT_EQ(Lista("G", 9), Ok({9})) << "a base without subordinates";
    EXPECT_EQ(Lista("G", 0), UmAMais({1, 2, 3, 4, 5, 6, 8, 9}));
    EXPECT_EQ(Lista("P", 0), UmAMais({1, 2, 3, 4, 5, 6, 9}));
    EXPECT_EQ(Lista("g", 2), UmAMais({3, 4, 5}));
}

TEST_F(Listagem, ContasAbaixoDaBase)
{
    EXPECT_EQ(Lista("A", 2), Ok({3, 4, 5})) << "up to the next title at the base's level";
    EXPECT_EQ(Lista("a", 2), Ok({3, 4, 5}));
    EXPECT_EQ(Lista("A", 6), Ok({8}));
    EXPECT_EQ(Lista("A", 1), Status(0)) << "only grandchildren below titles: nothing";
    EXPECT_EQ(Lista("A", 0), Status(0)) << "the first title ends the scan at once";
    EXPECT_EQ(Lista("AX", 1), Ok({3, 4, 5, 8})) << "titles never end the scan";
    EXPECT_EQ(Lista("AX", 0), Ok({3, 4, 5, 8}));
    EXPECT_EQ(Lista("AG", 1), Ok({3, 4, 5, 8}));
    EXPECT_EQ(Lista("AG", 0), Status(0));
    EXPECT_EQ(Lista("ASG", 1), Ok({3, 4, 5, 8})) << "acts as AG";
    EXPECT_EQ(Lista("asg", 2), Ok({3, 4, 5}));

    // Direct analytic children of a top-level title, with a remembered title in between.
    const auto e = teste::EntradaIndice;
    GravaIndice({REGCON_INDEX{}, e(1, "1"), e(3 | kTipoA, "1.1"), e(2, "1.2"), e(4 | kTipoA, "1.2.01"),
                 e(5 | kTipoA, "1.3"), e(6 | kTipoA, "1.4"), e(9, "2"), e(8 | kTipoA, "2.1")});
    EXPECT_EQ(Lista("A", 1), Ok({3, 5, 6}));
    EXPECT_EQ(Lista("AG", 1), Ok({3, 4, 5, 6}));
    EXPECT_EQ(Lista("AX", 1), Ok({3, 4, 5, 6, 8}));
}

TEST_F(Listagem, BasesQueNaoServem)
{
    EXPECT_EQ(Lista("X", 7), Status(statusclass::ForaDoIndice)) << "excluded: no entry";
    EXPECT_EQ(Lista("G", 99), Status(statusclass::ForaDoIndice));
    EXPECT_EQ(Lista("G", 3), Status(statusclass::BaseAnalitica));
    EXPECT_EQ(Lista("P", 8), Status(statusclass::BaseAnalitica)) << "an 'S' base";
    EXPECT_EQ(Lista("G", 5), Ok({5})) << "a 'G' base is no analytic base";
    // Each refusal leaves nothing to copy.
    REGCON_INDEX saida[4] = {};
    EXPECT_EQ(Plano().GetIndex(4, saida, false), statusclass::ListagemVazia);
}

TEST_F(Listagem, TiposInvalidos)
{
    for (const char* tipo : {"Q", "", "I", "B", "XX", "AS", "GTI2", "gT", "Ga", "ASGX", "p", "xb", "XIB"})
        EXPECT_EQ(Lista(tipo, 0), Status(statusclass::ArgumentoInvalido, 0)) << tipo;
    std::string tipo = "ASGI", tipo1;
    bool filtra = false, apenas = true;
    ASSERT_EQ(CClassificacao::ValidaTipoGetTamanhoIndex(tipo, tipo1, filtra, apenas), 0);
    EXPECT_EQ(tipo, "A");
    EXPECT_EQ(tipo1, "G");
    EXPECT_TRUE(filtra);
    EXPECT_FALSE(apenas);
    tipo = "tB";
    ASSERT_EQ(CClassificacao::ValidaTipoGetTamanhoIndex(tipo, tipo1, filtra, apenas), 0);
    EXPECT_EQ(tipo, "t");
    EXPECT_EQ(tipo1, "");
    EXPECT_FALSE(filtra);
    EXPECT_TRUE(apenas);
}

// A store whose accounts with the chosen classifications are inactive.
class PlanoComInativas : public CClassificacao {
public:
    explicit PlanoComInativas(std::set<std::string> inativas) : m_inativas(std::move(inativas)) {}
    bool RegistroEhInativo(const uint8_t* registro) override
    {
        return m_inativas.count(DesempacotaClassificacao(registro)) != 0;
    }

private:
    std::set<std::string> m_inativas;
};

TEST_F(Listagem, ContasInativas)
{
    PlanoComInativas p({"1.1.02", "1.2"});
    ASSERT_EQ(Inicializa(p), 0);
    ASSERT_EQ(p.GeraClassificacao(), 0);
    const auto indice = teste::LeIndice(CaminhoIndice());
    ASSERT_EQ(indice.size(), 9u);
    EXPECT_EQ(uint32_t(indice[4].Tipo_IndCon), 4u | kTipoA | kBitInativo);
    EXPECT_EQ(uint32_t(indice[6].Tipo_IndCon), 6u | kBitInativo);

    EXPECT_EQ(Lista(p, "GI", 1), Ok({1, 2, 3, 5, 8})) << "inactive accounts left out";
    EXPECT_EQ(Lista(p, "GB", 1), Ok({1, 4, 6})) << "the base, then only inactive accounts";
    EXPECT_EQ(Lista(p, "XB", 0), Ok({4, 6}));
    EXPECT_EQ(Lista(p, "XI", 0), Ok({1, 2, 3, 5, 8, 9}));
    EXPECT_EQ(Lista(p, "X", 0), Ok({1, 2, 3, 4, 5, 6, 8, 9})) << "copied without the inactive bit";
    EXPECT_EQ(Lista(p, "TI", 0), Ok({1, 2, 9}));
    EXPECT_EQ(Lista(p, "AI", 2), Ok({3, 5, 8})) << "the inactive title 1.2 is left out before it can end the scan";
    EXPECT_EQ(Lista(p, "GB", 4), Status(statusclass::BaseAnalitica)) << "an inactive analytic base";
    EXPECT_EQ(Lista(p, "GB", 6), Ok({6})) << "the inactive base itself";
}

TEST_F(Listagem, OrdenadaPorRegistro)
{
    const auto e = teste::EntradaIndice;
    GravaIndice({REGCON_INDEX{}, e(5, "1"), e(7 | kTipoA, "1.1"), e(3 | kTipoA, "1.2"), e(2, "2"),
                 e(1 | kTipoA, "2.1")});
    EXPECT_EQ(Lista("X", 0, false), Ok({5, 7, 3, 2, 1}));
    EXPECT_EQ(Lista("X", 0, true), Ok({1, 2, 3, 5, 7}));
    // What lies after the end of a scan stays out, whatever the sort brings forward.
    EXPECT_EQ(Lista("G", 5, true), Ok({3, 5, 7}));
    EXPECT_EQ(Lista("A", 5, true), Ok({3, 7}));
}

TEST_F(Listagem, GetIndexCopiaOQuePedemUmaVez)
{
    CClassificacao& p = Plano();
    uint32_t q = 0;
    ASSERT_EQ(p.GetTamanhoIndex(plataforma::AnsiParaOle("X").c_str(), 0, &q), 0);
    ASSERT_EQ(q, 8u);
    REGCON_INDEX saida[8] = {};
    EXPECT_EQ(p.GetIndex(0, saida, false), 0) << "a count of 0 keeps the listing";
    EXPECT_EQ(p.GetIndex(3, nullptr, false), statusclass::ArgumentoInvalido);
    ASSERT_EQ(p.GetIndex(3, saida, false), 0);
    EXPECT_EQ(IDX_INDCON(saida[2].Tipo_IndCon), 3u);
    EXPECT_EQ(uint32_t(saida[3].Tipo_IndCon), 0u) << "only the count asked for";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(saida[1].Classificacao), kTamanhoEmpacotado),
              std::string(reinterpret_cast<const char*>(teste::EntradaIndice(0, "1.1").Classificacao),
                          kTamanhoEmpacotado));
    EXPECT_EQ(p.GetIndex(3, saida, false), statusclass::ListagemVazia) << "the listing went with the copy";
    // A refused listing empties what an earlier one left.
    ASSERT_EQ(p.GetTamanhoIndex(plataforma::AnsiParaOle("X").c_str(), 0, &q), 0);
    EXPECT_EQ(p.GetTamanhoIndex(plataforma::AnsiParaOle("Q").c_str(), 0, &q), statusclass::ArgumentoInvalido);
    EXPECT_EQ(q, 0u);
    EXPECT_EQ(p.GetIndex(3, saida, false), statusclass::ListagemVazia);
    EXPECT_EQ(p.GetTamanhoIndex(plataforma::AnsiParaOle("X").c_str(), 0, nullptr), statusclass::ArgumentoInvalido);
}

// Bad index files: a torn tail, nothing at all, a missing file, entry 0 not zero.
TEST_F(Listagem, IndicesEstragados)
{
    const auto e = teste::EntradaIndice;
    const std::vector<REGCON_INDEX> indice = {REGCON_INDEX{}, e(1, "1"), e(2 | kTipoA, "1.1")};
    const std::string bytes(reinterpret_cast<const char*>(indice.data()), indice.size() * sizeof(REGCON_INDEX));
    apoio::GravaTudo(CaminhoIndice(), bytes + std::string(10, '\x7F'));
    EXPECT_EQ(Lista("X", 0), Ok({1, 2})) << "a torn tail is no entry";
    EXPECT_EQ(Lista("G", 2), Status(statusclass::BaseAnalitica));
    apoio::GravaTudo(CaminhoIndice(), std::string(17, '\x7F'));
    EXPECT_EQ(Lista("X", 0), Status(0));
    EXPECT_EQ(Lista("G", 1), Status(statusclass::ForaDoIndice));
    apoio::GravaTudo(CaminhoIndice(), "");
    EXPECT_EQ(Lista("G", 0), Status(0, 1, statusclass::ListagemVazia)) << "nothing to copy";
    // Entries naming record 0 are no accounts, entry 0 included.
    GravaIndice({e(4 | kTipoA, "9"), e(1, "1"), e(kTipoA, "1.1"), e(2 | kTipoA, "1.2")});
    EXPECT_EQ(Lista("X", 0), Ok({1, 2}));
    // A 24-bit record number as base.
    GravaIndice({REGCON_INDEX{}, e(1, "1"), e(0xFFFFFF | kTipoA, "1.1")});
    EXPECT_EQ(Lista("G", 1), Ok({1, 0xFFFFFF}));
    EXPECT_EQ(Lista("X", 0x1000001), Status(statusclass::ForaDoIndice)) << "no record 1 beyond 24 bits";


    // No index file at all: a failure, traced, and nothing left to copy.
    ASSERT_EQ(Lista("X", 0), Ok({1, 0xFFFFFF}));
    ASSERT_EQ(plataforma::ApagaArquivo(CaminhoIndice().c_str()), 0u);
    apoio::CapturaTrace captura;
    EXPECT_EQ(Lista("X", 0), Status(TQHResult(0x80040000 | 16055), 0));
    ASSERT_EQ(captura.quantidade(), 1u);
    EXPECT_STREQ(captura.linhas()[0].funcao, "CClassificacao::GetTamanhoIndex");
    EXPECT_NE(captura.linhas()[0].texto.find("ArqIndex.Abre( m_sArquivoIndex, 'L' )"), std::string::npos);
    REGCON_INDEX saida[2] = {};
    EXPECT_EQ(Plano().GetIndex(2, saida, false), statusclass::ListagemVazia);
}

} // namespace
