// Index listings: which entries each kind keeps below a base, the count against what GetIndex
// copies, sorting by record number, and bad kinds and bases. (Inactive accounts need a store
// that overrides RegistroEhInativo, which nothing in this system does: their kinds go untested.)
#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PlanoTeste.h"
#include "apoio/Apoio.h"
#include "df/tqclasses/Classificacao.h"
#include "platform/Arquivo.h"

namespace {

using namespace teste;

const auto e = EntradaIndice;

class Listagem : public PlanoExemplo {
protected:
    // Count of a listing, then the record numbers that GetIndex copies with that count; after a
    // refusal or an empty listing, what GetIndex then answers.
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
            *os << " }, copy " << std::hex << r.hrCopia;
        }
    };
    Resultado Lista(CClassificacao& p, const std::string& tipo, uint32_t base, bool ordena = false)
    {
        Resultado r{0, 0xDEAD, {}};
        r.hr = p.GetTamanhoIndex(Ole(tipo).c_str(), base, &r.quantidade);
        // One slot more than asked for, which must stay untouched.
        std::vector<REGCON_INDEX> saida(std::max<uint32_t>(r.quantidade, 1) + 1, REGCON_INDEX{0xABCDEF, {}});
        // Nothing counted leaves nothing to copy, whatever an earlier listing left.
        r.hrCopia = p.GetIndex(r.hr != 0 || r.quantidade == 0 ? 1 : r.quantidade, saida.data(), ordena);
        EXPECT_EQ(uint32_t(saida.back().Tipo_IndCon), 0xABCDEFu) << tipo;
        for (uint32_t i = 0; i < r.quantidade && saida[i].Tipo_IndCon != 0xABCDEF; ++i) {
            r.registros.push_back(IDX_INDCON(saida[i].Tipo_IndCon));
        }
        return r;
    }
    Resultado Lista(const std::string& tipo, uint32_t base, bool ordena = false)
    {
        return Lista(Plano(), tipo, base, ordena);
    }
    static Resultado Ok(std::vector<uint32_t> r) { return {0, uint32_t(r.size()), std::move(r)}; }
    // Without a base entry in the listing the count is one more than GetIndex fills.
    static Resultado UmAMais(std::vector<uint32_t> r) { return {0, uint32_t(r.size() + 1), std::move(r)}; }
    static Resultado Status(HRESULT hr, uint32_t n = 0) { return {hr, n, {}, statusclass::ListagemVazia}; }
};

TEST_F(Listagem, TiposEBases)
{
    using namespace statusclass;
    const struct { const char* tipo; uint32_t base; Resultado esperado; } casos[] = {
        {"x", 0, Ok({1, 2, 3, 4, 5, 6, 8, 9})},
        {"X", 2, Ok({3, 4, 5, 6, 8, 9})}, // everything after the base, without it
        {"X", 3, Ok({4, 5, 6, 8, 9})},    // an analytic base is dropped before it is looked at
        // The base and its subtree; "GT" without analytic accounts, "P" without 'S' ones.
        {"G", 1, Ok({1, 2, 3, 4, 5, 6, 8})}, {"GT", 1, Ok({1, 2, 5, 6, 8})},
        {"P", 1, Ok({1, 2, 3, 4, 5, 6})},
        {"G", 9, Ok({9})}, // a base without subordinates
        {"G", 5, Ok({5})}, // a 'G' base is no analytic base
        {"gt", 2, UmAMais({5})}, {"g", 2, UmAMais({3, 4, 5})}, // 'g' drops the base
        // Accounts below the base up to the next title at the base's level or above.
        {"a", 2, Ok({3, 4, 5})}, {"A", 6, Ok({8})},
        {"A", 1, Status(0)}, // only grandchildren below titles: nothing
        {"A", 0, Status(0)}, // the first title ends the scan at once
        {"AX", 0, Ok({3, 4, 5, 8})}, // titles never end the scan
        {"AG", 1, Ok({3, 4, 5, 8})}, {"AG", 0, Status(0)},
        // Bases that do not serve: excluded (no entry), absent, analytic, 'S'.
        {"X", 7, Status(ForaDoIndice)},
        {"G", 3, Status(BaseAnalitica)}, {"P", 8, Status(BaseAnalitica)},
    };
    for (const auto& c : casos)
        EXPECT_EQ(Lista(c.tipo, c.base), c.esperado) << c.tipo << " below " << c.base;

    // Direct analytic children of a top-level title, with a remembered title in between.
    GravaIndice({REGCON_INDEX{}, e(1, "1"), e(3 | kTipoA, "1.1"), e(2, "1.2"), e(4 | kTipoA, "1.2.01"),
                 e(5 | kTipoA, "1.3"), e(6 | kTipoA, "1.4"), e(9, "2"), e(8 | kTipoA, "2.1")});
    EXPECT_EQ(Lista("A", 1), Ok({3, 5, 6}));
    EXPECT_EQ(Lista("AG", 1), Ok({3, 4, 5, 6}));

    for (const char* tipo : {"Q", "", "I", "XX", "AS", "gT", "ASGX", "p", "XIB"})
        EXPECT_EQ(Lista(tipo, 0), Status(statusclass::ArgumentoInvalido)) << tipo;
}

TEST_F(Listagem, OrdenadaPorRegistro)
{
    GravaIndice({REGCON_INDEX{}, e(5, "1"), e(7 | kTipoA, "1.1"), e(3 | kTipoA, "1.2"), e(2, "2"),
                 e(1 | kTipoA, "2.1")});
    EXPECT_EQ(Lista("X", 0, false), Ok({5, 7, 3, 2, 1}));
    EXPECT_EQ(Lista("X", 0, true), Ok({1, 2, 3, 5, 7}));
    // What lies after the end of a scan stays out, whatever the sort brings forward.
    EXPECT_EQ(Lista("G", 5, true), Ok({3, 5, 7}));
}

TEST_F(Listagem, GetIndexCopiaOQuePedemUmaVezEIndicesEstragados)
{
    CClassificacao& p = Plano();
    uint32_t q = 0;
    ASSERT_EQ(p.GetTamanhoIndex(Ole("X").c_str(), 0, &q), 0);
    ASSERT_EQ(q, 8u);
    REGCON_INDEX saida[8] = {};
    EXPECT_EQ(p.GetIndex(0, saida, false), 0) << "a count of 0 keeps the listing";
    EXPECT_EQ(p.GetIndex(3, nullptr, false), statusclass::ArgumentoInvalido);
    ASSERT_EQ(p.GetIndex(3, saida, false), 0);
    EXPECT_EQ(DescreveEntrada(saida[1]), DescreveEntrada(e(2, "1.1")));
    EXPECT_EQ(uint32_t(saida[3].Tipo_IndCon), 0u) << "only the count asked for";
    EXPECT_EQ(p.GetIndex(3, saida, false), statusclass::ListagemVazia) << "the listing went with the copy";
    EXPECT_EQ(p.GetTamanhoIndex(Ole("X").c_str(), 0, nullptr), statusclass::ArgumentoInvalido);

    // Bad index files: a torn tail, an empty one, a missing file.
    const std::vector<REGCON_INDEX> indice = {REGCON_INDEX{}, e(1, "1"), e(2 | kTipoA, "1.1")};
    apoio::GravaTudo(CaminhoIndice(), BytesIndice(indice) + std::string(10, '\x7F'));
    EXPECT_EQ(Lista("X", 0), Ok({1, 2})) << "a torn tail is no entry";
    apoio::GravaTudo(CaminhoIndice(), "");
    EXPECT_EQ(Lista("G", 0), Status(0, 1)) << "counted, with nothing to copy";
    // A 24-bit record number as base.
    GravaIndice({REGCON_INDEX{}, e(1, "1"), e(0xFFFFFF | kTipoA, "1.1")});
    EXPECT_EQ(Lista("G", 1), Ok({1, 0xFFFFFF}));
    EXPECT_EQ(Lista("X", 0x1000001), Status(statusclass::ForaDoIndice)) << "no record 1 beyond 24 bits";

    // No index file at all: a failure, traced, which empties what an earlier listing left.
    ASSERT_EQ(Plano().GetTamanhoIndex(Ole("X").c_str(), 0, &q), 0);
    ASSERT_EQ(plataforma::ApagaArquivo(CaminhoIndice().c_str()), 0u);
    apoio::CapturaTrace captura;
    EXPECT_EQ(Lista("X", 0), Status(TQHResult(0x80040000 | 16055)));
    EXPECT_EQ(ExpressoesDoTrace(captura.linhas()),
              std::vector<std::string>{"GetTamanhoIndex: ArqIndex.Abre( m_sArquivoIndex, 'L' )"});
}

} // namespace
