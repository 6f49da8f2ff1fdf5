#include "RelatorioTeste.h"

#include <algorithm>

#include "apoio/Apoio.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Arquivo.h"
#include "platform/Diretorio.h"
#include "platform/Texto.h"

namespace teste {

namespace {

std::basic_string<OLECHAR> Ole(const std::string& utf8) { return plataforma::AnsiParaOle(plataforma::Utf8ParaAnsi(utf8)); }

} // namespace

uint16_t LarguraDoCampo(int64_t codigo)
{
    static const std::map<int64_t, uint16_t> larguras = {{101, 17}, {102, 6}, {103, 37}, {104, 87}, {105, 7}};
    return larguras.at(codigo);
}

std::string Ajusta(const std::string& texto, size_t largura)
{
    std::string s = texto.substr(0, largura);
    s.resize(largura, ' ');
    return s;
}

std::vector<std::string> Divide(const std::string& texto, const std::string& separador)
{
    std::vector<std::string> partes;
    size_t inicio = 0;
    for (size_t fim; (fim = texto.find(separador, inicio)) != std::string::npos; inicio = fim + separador.size())
        partes.push_back(texto.substr(inicio, fim - inicio));
    if (inicio < texto.size())
        partes.push_back(texto.substr(inicio));
    return partes;
}

void RelatorioTeste::SetUp()
{
    SuiteInstalada::SetUp();
    m_dados = m_dir + "dados" + plataforma::kSeparador;
    ASSERT_EQ(plataforma::CriaDiretorio(m_dados.c_str()), 0u);
    GravaTexto(plataforma::RaizRegistro::LocalMachine,
               CTQPath::CombinaChave(CTQPath::CombinaChave(kChaveSuite, kSubchaveEmpresas), kEmpresa), "DF", m_dados);
}

HRESULT RelatorioTeste::Inicia(CMontaRelatorio& monta, const std::string& arquivo, const std::string& empresa)
{
    const std::string caminho = arquivo.empty() ? arquivo : m_dir + arquivo;
    return monta.Inicializa(Ole(empresa).c_str(), 7, 42, Ole(kRazaoSocial).c_str(), Ole("DF").c_str(),
                            Ole("ALT").c_str(), Ole(caminho).c_str(), Ole(kRelatorio).c_str(), 0);
}

void RelatorioTeste::Preenche(CMontaRelatorio& monta, const std::vector<LinhaTeste>& linhas, bool descreve)
{
    for (const LinhaTeste& linha : linhas) {
        monta.InicializaLinha();
        for (uint16_t i = 0; i < monta.GetQtdeCampos(); ++i) {
            int64_t codigo = 0;
            monta.GetCampoEscolhido(i, codigo);
            const auto texto = linha.find(codigo);
            monta.Adiciona(plataforma::Utf8ParaAnsi(texto == linha.end() ? "" : texto->second), LarguraDoCampo(codigo));
            if (descreve && &linha == &linhas.front())
                monta.AdicionaDetalhe(codigo, 1, LarguraDoCampo(codigo), 0, "", true, false);
        }
        monta.FinalizaLinha();
    }
}

std::string RelatorioTeste::Gera(const std::string& nome, const std::vector<LinhaTeste>& linhas, bool descreve)
{
    CMontaRelatorio monta;
    EXPECT_EQ(Inicia(monta, nome), S_OK);
    Preenche(monta, linhas, descreve);
    EXPECT_EQ(monta.GeraRelatorio(), 0);
    return apoio::LeTudo(m_dir + nome);
}

void RelatorioTeste::GravaRelatoriosIni(const std::string& conteudo)
{
    apoio::GravaTudo(m_dados + "Relatorios.ini", conteudo);
}

std::vector<std::string> RelatorioTeste::Nomes() const
{
    std::vector<plataforma::EntradaDiretorio> entradas;
    EXPECT_EQ(plataforma::ListaDiretorio(m_dir.c_str(), entradas), 0u);
    std::vector<std::string> nomes;
    for (const auto& e : entradas)
        nomes.push_back(e.nome);
    std::sort(nomes.begin(), nomes.end());
    return nomes;
}

} // namespace teste
