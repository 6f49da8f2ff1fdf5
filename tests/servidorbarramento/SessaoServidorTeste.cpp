// A whole session through the local server leaves the same answers and the same bytes on disk
// as the same session in process.
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "ServidorLocal.h"
#include "apoio/Apoio.h"
#include "df/tqclasses/ClassificacaoCodigos.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQPath.h"

namespace servidorlocal {
namespace {

using cliente::Texto;

// Every data file of a directory (the logs carry times and process names).
std::map<std::string, std::string> Arquivos(const std::string& dir)
{
    std::map<std::string, std::string> r;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        const std::string nome = e.path().filename().string();
        if (e.is_regular_file() && e.path().extension() != ".log")
            r[nome] = apoio::LeTudo(e.path().string());
    }
    return r;
}

class SessaoServidor : public ServidorLocalTeste {
protected:
    template <class T>
    void Anota(const char* passo, HRESULT hr, const T& saida)
    {
        m_transcricao += std::string(passo) + "=" + std::to_string(hr) + ":" +
                         std::string(reinterpret_cast<const char*>(&saida), sizeof saida) + "\n";
    }

    // Catalogue, masks, accounts, links, a mask change, deletions; every answer in the transcript.
    void Sessao(const char* empresa)
    {
        Anota("Inicializa", m_obj->Inicializa_Padrao(cliente::Sessao(empresa)), 0);
        for (const char* nome : {"Gerencial", "Fiscal", "Or\xE7" "amento"}) {
            REG_DADOS_PLANO_ALT_PS d{};
            std::strcpy(d.cNomePlano, nome);
            LONG plano = 0;
            Anota("GravaPlano", m_obj->GravaPlano(0, d, &plano), plano);
        }
        REG_MASCARA_ALT_PS m{};
        std::strcpy(m.Mascara[1], "9.9.99");
        Anota("SetMascara", m_obj->SetMascara(1, m), 0);
        Anota("SetPlano", m_obj->SetPlano(1), 0);
        const char* contas[][3] = {{"1", "T", ""}, {"1.1", "T", ""}, {"1.1.01", "A", "A1"}, {"1.1.02", "A", "A2"}};
        for (const auto& c : contas)
            Anota("Grava", 0, Conta(c[0], c[1][0], c[2]));
        Anota("Vinculo", m_obj->Vinculo(REG_VINCULO_ALT{0, 3, 2, 5, {}}), 0);
        Anota("Vinculo", m_obj->Vinculo(REG_VINCULO_ALT{0, 4, 2, 1, {}}), 0);
        for (const auto& v : Vinculos(3))
            Anota("BuscaVinculo", 0, v);
        _MASCARA_PLANO_ALT mudanca{};
        std::strcpy(mudanca.Velha[1], "9.9.99");
        std::strcpy(mudanca.Nova[1], "99.9.999");
        Anota("AlteraMascara", m_obj->AlteraMascara(&mudanca), 0);
        LONG posicoes[] = {1, 2, 3, 4};
        REG_PLANO_ALT_PS lidas[4] = {};
        Anota("BuscaDados", m_obj->BuscaDados(4, posicoes, lidas), lidas);
        LONG achada = 0;
        REG_PLANO_ALT_PS conta{};
        Anota("Existe", m_obj->Existe(Texto(u"A2"), 1, &achada, &conta), conta);
        LONG exclui[] = {4};
        Anota("ExcluiContas", m_obj->ExcluiContas(1, exclui), 0);
        LONG planos[] = {2};
        Anota("ExcluiPlanos", m_obj->ExcluiPlanos(ARRAY_REG_EXCLUI_PLANO_ALT_PS{1, {}, planos, 0}), 0);
        for (const auto& p : Planos())
            Anota("BuscaPlanos", 0, p);
        _REG_DF_ERROPS erro{};
        Anota("GetUltimoErro", m_obj->GetUltimoErro(&erro), erro);
    }

    // The main chart both sessions link to: 1 summary "1", 2 analytic "1.1.05".
    static void PlanoPrincipal(const std::string& dir)
    {
        std::string principal(96 * 3, '\0');
        EmpacotaClassificacao("1", reinterpret_cast<uint8_t*>(&principal[96]));
        principal[96 + 14] = 0x01;
        EmpacotaClassificacao("1.1.05", reinterpret_cast<uint8_t*>(&principal[192]));
        apoio::GravaTudo(dir + "DFPLAEMP.DAT", principal);
    }

    std::string m_transcricao;
};

TEST_F(SessaoServidor, MesmasRespostasEMesmosBytesQueEmProcesso)
{
    PlanoPrincipal(m_dir);
    Sessao("0001");
    const std::string peloServidor = m_transcricao;
    m_obj.Libera();

    const std::string local = m_dir + "local/";
    std::filesystem::create_directories(local);
    PlanoPrincipal(local);
    GravaTexto(plataforma::RaizRegistro::LocalMachine, CTQPath::CombinaChave(kChaveSuiteBarra, "Empresas\\0002"), "DF",
               local);
    cliente::UsaModulo(ModuloEmProcesso());
    ASSERT_EQ(cliente::Cria(&m_obj), S_OK);
    m_transcricao.clear();
    Sessao("0002");

    EXPECT_EQ(peloServidor, m_transcricao);
    EXPECT_NE(peloServidor.find("ExcluiPlanos=0"), std::string::npos);
    const auto servidor = Arquivos(m_dir);
    const auto emProcesso = Arquivos(local);
    EXPECT_EQ(servidor.size(), emProcesso.size());
    for (const auto& [nome, bytes] : emProcesso) {
        const auto i = servidor.find(nome);
        ASSERT_NE(i, servidor.end()) << nome;
        EXPECT_TRUE(i->second == bytes) << nome << " differs";
    }
}

} // namespace
} // namespace servidorlocal
