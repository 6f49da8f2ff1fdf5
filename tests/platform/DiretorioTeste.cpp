#include "DiretorioTeste.h"

#include <cstdlib>

#include "platform/Arquivo.h"
#include "platform/Diretorio.h"
#include "platform/Processo.h"
#include "platform/Tempo.h"

namespace teste {

using namespace plataforma;

namespace {

struct Execucao {
    std::string dir;
    Execucao()
    {
        dir = DiretorioTemporario() + "zazazu-plat-" + std::to_string(IdProcesso()) + "-" +
              std::to_string(Relogio100ns()) + kSeparador;
        if (CriaDiretorio(dir.c_str()) != 0)
            std::abort();
    }
    // What tests keep at the top (the registry file of the POSIX build) goes with the run.
    ~Execucao()
    {
        std::vector<EntradaDiretorio> entradas;
        ListaDiretorio(dir.c_str(), entradas);
        for (const EntradaDiretorio& e : entradas)
            if (!e.diretorio)
                ApagaArquivo((dir + e.nome).c_str());
        RemoveDiretorio(dir.c_str());
    }
};

} // namespace

const std::string& DiretorioDaExecucao()
{
    static Execucao execucao;
    return execucao.dir;
}

void DiretorioTeste::SetUp()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string nome = std::string(info->test_suite_name()) + "." + info->name();
    // Parameterized tests carry '/' in their names.
    for (char& c : nome)
        if (c == '/')
            c = '_';
    m_dir = DiretorioDaExecucao() + nome + kSeparador;
    ASSERT_EQ(CriaDiretorio(m_dir.c_str()), 0u) << m_dir;
}

void DiretorioTeste::TearDown()
{
    // Whatever the test left behind, writable again so that it can go.
    for (const std::string& nome : m_nomes) {
        DefineSomenteLeitura(nome.c_str(), false);
        ApagaArquivo(nome.c_str());
    }
    EXPECT_EQ(RemoveDiretorio(m_dir.c_str()), 0u) << "a test left a file in " << m_dir;
}

std::string DiretorioTeste::Caminho(const std::string& nome)
{
    m_nomes.push_back(m_dir + nome);
    return m_nomes.back();
}

} // namespace teste
