#include "InstalacaoTrace.h"

#include <cstdio>
#include <sstream>

#include "apoio/Apoio.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "platform/Arquivo.h"
#include "platform/Tempo.h"

namespace teste {

std::string NomeBibliotecaSuite(const std::string& nome)
{
#ifdef _WIN32
    return nome + ".dll";
#else
    return "lib" + nome + ".so";
#endif
}

void InstalacaoTrace::SetUp()
{
    SuiteInstalada::SetUp();
    const std::string x64 = m_dir + "x64";
    ASSERT_EQ(plataforma::CriaDiretorio(x64.c_str()), 0u);
    for (const char* nome : {"TQLMensagem", "TQMens"}) {
        const std::string arquivo = NomeBibliotecaSuite(nome);
        const std::string conteudo = apoio::LeTudo(DiretorioSuite() + plataforma::kSeparador + "x64" +
                                                   plataforma::kSeparador + arquivo);
        ASSERT_FALSE(conteudo.empty()) << arquivo;
        apoio::GravaTudo(x64 + plataforma::kSeparador + arquivo, conteudo);
    }
    GravaTexto(plataforma::RaizRegistro::LocalMachine, kChaveModuloDF, kValorPath, m_dir);
}

std::string InstalacaoTrace::ArquivoErrosProgramas() const
{
    const plataforma::DataHoraLocal agora = plataforma::AgoraLocal();
    char nome[64];
    std::snprintf(nome, sizeof nome, "TQProfilerErros_Pgms_%04d%02d.log", agora.ano, agora.mes);
    return m_dir + nome;
}

std::vector<std::string> Divide(const std::string& texto, char separador)
{
    std::vector<std::string> partes;
    std::istringstream fluxo(texto);
    for (std::string parte; std::getline(fluxo, parte, separador);)
        partes.push_back(parte);
    return partes;
}

std::vector<std::string> InstalacaoTrace::LinhasErro(const std::string& arquivo) const
{
    std::vector<std::string> linhas = Divide(apoio::LeTudo(arquivo), '\n');
    std::erase_if(linhas, [](const std::string& l) { return l.find("\tERRO\t") == std::string::npos; });
    return linhas;
}

} // namespace teste
