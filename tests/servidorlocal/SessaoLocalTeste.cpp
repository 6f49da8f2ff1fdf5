// A client activates the class out of process and runs a whole session through the proxy: the
// answers and the bytes on disk equal those of the same session in process. Two clients at once
// share one server.
#include <cstdio>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "../server/Cliente.h"
#include "ServidorLocal.h"
#include "apoio/Apoio.h"
#include "apoio/FilhoTeste.h"

namespace local {
namespace {

constexpr HRESULT kMarcaOcupada = TQHResult(0x80040000 | 16250);
constexpr int kPlanosPorFilho = 5;

class SessaoLocal : public ServidorInstalado {};

TEST_F(SessaoLocal, MesmasRespostasEMesmosBytesQueEmProcesso)
{
    const std::string emProcesso = Empresa("0001", "A"), foraDoProcesso = Empresa("0002", "B");
    std::string respostas;
    {
        cliente::Ptr<ITQDF_PlanoAlt> obj;
        ASSERT_EQ(cliente::Cria(&obj), S_OK);
        respostas = cliente::SessaoCompleta(obj.get(), "0001", emProcesso);
    }
    cliente::Ptr<ITQDF_PlanoAlt> obj;
    ASSERT_EQ(CriaLocal(&obj), S_OK);
    EXPECT_EQ(ProcessosServidor().size(), 1u);
    EXPECT_EQ(cliente::SessaoCompleta(obj.get(), "0002", foraDoProcesso), respostas);
    EXPECT_EQ(cliente::ArquivosDiferentes(emProcesso, foraDoProcesso), "");
}

// Run only as a child: the barrier directory and the child's number.
TEST(SessaoLocalFilhoLado, GravaPlanos)
{
    if (!teste::SouFilho())
        GTEST_SKIP() << "only as a child";
    const std::vector<std::string> args = teste::ArgumentosDoFilho();
    ASSERT_EQ(args.size(), 2u);
    plataforma::ApartamentoCom com;
    cliente::Ptr<ITQDF_PlanoAlt> obj;
    ASSERT_EQ(CriaLocal(&obj), S_OK);
    ASSERT_EQ(obj->Inicializa_Padrao(cliente::Sessao("0001")), S_OK);
    apoio::GravaTudo(args[0] + "pronto" + args[1], "");
    ASSERT_TRUE(apoio::EsperaArquivo(args[0] + "vai"));
    for (int i = 0; i < kPlanosPorFilho; ++i) {
        REG_DADOS_PLANO_ALT_PS d{};
        std::snprintf(d.cNomePlano, sizeof d.cNomePlano, "Filho %s plano %d", args[1].c_str(), i);
        LONG plano = 0;
        HRESULT hr;
        for (int n = 0; (hr = obj->GravaPlano(0, d, &plano)) == kMarcaOcupada && n < 100; ++n) {
        }
        ASSERT_EQ(hr, S_OK) << i;
    }
}

TEST_F(SessaoLocal, DoisClientesUmServidorNadaPerdido)
{
    const std::string dir = Empresa("0001", "D");
    plataforma::ProcessoFilho filhos[2];
    for (int n = 0; n < 2; ++n)
        ASSERT_EQ(teste::RodaFilho("SessaoLocalFilhoLado.GravaPlanos", {dir, std::to_string(n + 1)}, filhos[n]), 0u);
    ASSERT_TRUE(apoio::EsperaArquivo(dir + "pronto1", 60000));
    ASSERT_TRUE(apoio::EsperaArquivo(dir + "pronto2", 60000));
    EXPECT_EQ(ProcessosServidor().size(), 1u);
    apoio::GravaTudo(dir + "vai", "");
    for (auto& f : filhos) {
        DWORD codigo = 1;
        ASSERT_TRUE(f.Espera(120000, &codigo));
        EXPECT_EQ(codigo, 0u);
    }
    cliente::Ptr<ITQDF_PlanoAlt> obj;
    ASSERT_EQ(CriaLocal(&obj), S_OK);
    ASSERT_EQ(obj->Inicializa_Padrao(cliente::Sessao("0001")), S_OK);
    ARRAY_REG_DADOS_PLANO_ALT_PS* lista = nullptr;
    ASSERT_EQ(obj->BuscaPlanos(&lista), S_OK);
    std::set<std::string> nomes, esperados;
    for (const auto& p : cliente::TomaBloco(lista, &ARRAY_REG_DADOS_PLANO_ALT_PS::pArrayDadosPlanoAlt))
        nomes.insert(p.cNomePlano);
    for (int n = 1; n <= 2; ++n)
        for (int i = 0; i < kPlanosPorFilho; ++i)
            esperados.insert("Filho " + std::to_string(n) + " plano " + std::to_string(i));
    EXPECT_EQ(nomes, esperados);
}

} // namespace
} // namespace local
