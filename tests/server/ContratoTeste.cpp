// The contract as both builds compile it (server/Contrato.h pins the record layouts): identifiers
// and the order of the slots that clients compiled elsewhere call by position.
#include <cstring>
#include <string>
#include <utility>

#include <gtest/gtest.h>

// The diagnostics layer's own headers of the session and error records come first: the
// contract's generated header must reuse them, not declare the records a second time.
#include "df/tqlibex/RegErro.h"
#include "df/tqlibex/RegInicializa.h"

#include "server/Contrato.h"
#include "platform/Texto.h"

namespace {

using plataforma::GuidParaTexto;

TEST(Contrato, IdentificadoresSaoOsDoServidor)
{
    EXPECT_EQ(GuidParaTexto(IID_ITQUnknown), "{1756CF8E-B27F-48A2-A362-64C617F9DC50}");
    EXPECT_EQ(GuidParaTexto(IID_ITQDF_PlanoAlt), "{9BFEA788-E1A1-42DD-8147-D25D6BDFE507}");
    EXPECT_EQ(GuidParaTexto(CLSID_TQDF_PlanoAlt), "{BFF9E78E-4966-4F37-99E4-6AA640C3705E}");
    EXPECT_EQ(GuidParaTexto(LIBID_ZAZAZULib), "{AE4936D3-574B-476F-AB6C-9E6C1571821D}");
    EXPECT_EQ(GuidParaTexto(IID_IUnknown), "{00000000-0000-0000-C000-000000000046}");
}

// The slot a virtual method occupies: g++ (mingw's too) keeps a pointer to one as 1 plus its
// byte offset in the table.
template <class Metodo>
size_t Slot(Metodo metodo)
{
    static_assert(sizeof metodo == 2 * sizeof(ptrdiff_t));
    ptrdiff_t p = 0;
    std::memcpy(&p, &metodo, sizeof p);
    return size_t(p - 1) / sizeof(void*);
}

// Clients compiled elsewhere call by position: each method in the slot of the table.
TEST(Contrato, CadaMetodoNoSlotDaSuaPosicao)
{
    using I = ITQDF_PlanoAlt;
#define SLOT(m) {#m, Slot(&I::m)}
    const std::pair<std::string, size_t> slots[] = {
        {"QueryInterface",
         Slot(static_cast<HRESULT (STDMETHODCALLTYPE IUnknown::*)(REFIID, void**)>(&I::QueryInterface))},
        SLOT(AddRef), SLOT(Release), SLOT(Inicializa_Padrao), SLOT(KeepAlive), SLOT(GetUltimoErro),
        SLOT(FuncaoGenerica), SLOT(BuscaPlanos), SLOT(GravaPlano), SLOT(ExcluiPlanos), SLOT(SetPlano),
        SLOT(SetMascara), SLOT(BuscaMascara), SLOT(Le), SLOT(Grava), SLOT(GetQuantidadeRegistros), SLOT(BuscaDados),
        SLOT(GetPlanoIndex), SLOT(AlteraMascara), SLOT(Existe), SLOT(ExisteContaTitulo), SLOT(ExisteSubordinadas),
        SLOT(Vinculo), SLOT(BuscaVinculo), SLOT(GeraRelatorioPlanoAlternativo), SLOT(ExcluiContas),
    };
#undef SLOT
    for (size_t i = 0; i < std::size(slots); ++i)
        EXPECT_EQ(slots[i].second, i) << slots[i].first;
}

} // namespace
