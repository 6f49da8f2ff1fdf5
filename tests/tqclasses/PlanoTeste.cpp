#include "PlanoTeste.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "apoio/Apoio.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQModulos.h"
#include "platform/Texto.h"

namespace teste {

namespace {

void CopiaCampo(uint8_t* destino, size_t largura, std::string_view texto)
{
    std::memcpy(destino, texto.data(), std::min(largura, texto.size()));
}

} // namespace

std::vector<uint8_t> RegistroPlano(const ContaPlano& conta)
{
    std::vector<uint8_t> registro(kTamanhoRegistroPlano, 0);
    EmpacotaClassificacao(conta.classificacao, registro.data());
    registro[14] = conta.status;
    CopiaCampo(&registro[16], kTamanhoCodigoPlano, conta.codigo);
    CopiaCampo(&registro[16 + kTamanhoCodigoPlano], kTamanhoNomePlano, conta.nome);
    return registro;
}

std::string ConteudoPlano(const std::vector<ContaPlano>& contas)
{
    std::string conteudo(kTamanhoRegistroPlano, '\0');
    conteudo.reserve(kTamanhoRegistroPlano * (contas.size() + 1));
    for (const auto& conta : contas) {
        const auto registro = RegistroPlano(conta);
        conteudo.append(reinterpret_cast<const char*>(registro.data()), registro.size());
    }
    return conteudo;
}

std::vector<REGCON_INDEX> LeIndice(const std::string& caminho)
{
    const std::string bytes = apoio::LeTudo(caminho);
    std::vector<REGCON_INDEX> entradas(bytes.size() / sizeof(REGCON_INDEX));
    if (!entradas.empty())
        std::memcpy(entradas.data(), bytes.data(), entradas.size() * sizeof(REGCON_INDEX));
    return entradas;
}

REGCON_INDEX EntradaIndice(uint32_t tipoIndCon, std::string_view classificacao)
{
    REGCON_INDEX entrada{};
    entrada.Tipo_IndCon = tipoIndCon;
    EmpacotaClassificacao(classificacao, entrada.Classificacao);
    return entrada;
}

std::string DescreveEntrada(const REGCON_INDEX& entrada)
{
    char tipo[16];
    std::snprintf(tipo, sizeof tipo, "%08X", static_cast<unsigned>(entrada.Tipo_IndCon));
    return std::string(tipo) + " " + DesempacotaClassificacao(entrada.Classificacao);
}

std::vector<std::string> ExpressoesDoTrace(const std::vector<LinhaTrace>& linhas)
{
    constexpr std::string_view kPrefixo = "CClassificacao::";
    std::vector<std::string> r;
    for (const auto& l : linhas) {
        const std::string_view funcao = l.funcao;
        if (funcao.substr(0, kPrefixo.size()) != kPrefixo)
            continue;
        std::string texto = l.texto.substr(0, l.texto.find('\t'));
        if (texto.rfind("hr = ", 0) == 0)
            texto.erase(0, 5);
        r.push_back(std::string(funcao.substr(kPrefixo.size())) + ": " + texto);
    }
    return r;
}

void PlanoTeste::SetUp()
{
    RegistroIsolado::SetUp();
    m_dir = apoio::CriaDiretorioDoTeste();
    GravaTexto(plataforma::RaizRegistro::LocalMachine,
               std::string(kChaveSuiteBarra) + kSubchaveEmpresas + "\\" + kEmpresaPlano,
               TQCodigoModulo(kModuloDF).c_str(), m_dir);
}

void PlanoTeste::TearDown()
{
    m_plano.reset(); // closes its files before the directory goes
    apoio::RemoveArvore(m_dir);
    RegistroIsolado::TearDown();
}

void PlanoTeste::GravaPlano(const std::vector<ContaPlano>& contas)
{
    apoio::GravaTudo(CaminhoPlano(), ConteudoPlano(contas));
}

HRESULT PlanoTeste::Inicializa(CClassificacao& plano)
{
    const auto empresa = plataforma::AnsiParaOle(kEmpresaPlano);
    const auto plano_ = plataforma::AnsiParaOle(kArquivoPlano);
    const auto indice = plataforma::AnsiParaOle(kArquivoIndice);
    const auto modulo = plataforma::AnsiParaOle("DF"); // OLECHAR is wchar_t on Windows
    const HRESULT hr = plano.Inicializa(empresa.c_str(), 1, modulo.c_str(), plano_.c_str(), kTamanhoRegistroPlano,
                                        indice.c_str(), kTamanhoNomePlano);
    if (hr != 0)
        return hr;
    return plano.SetTamanhoCodigo(kTamanhoCodigoPlano);
}

CClassificacao& PlanoTeste::Plano()
{
    if (!m_plano) {
        m_plano = std::make_unique<CClassificacao>();
        EXPECT_EQ(Inicializa(*m_plano), 0);
    }
    return *m_plano;
}

} // namespace teste
