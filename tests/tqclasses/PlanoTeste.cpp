#include "PlanoTeste.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "apoio/Apoio.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQModulos.h"

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

std::vector<ContaPlano> ContasExemplo()
{
    return {
        {"1", T, "ATV", "Ativo"},
        {"1.1", T, "CIRC", "Circulante"},
        {"1.1.01", A, "7", "Caixa"},
        {"1.1.02", A, "ACAO", "Bancos"},
        {"1.1.03", kStatusG, "CX5", "Aplica\xE7\xF5" "es"},
        {"1.2", T, "NC", "Imobilizado"},
        {"1.2.01", A | kStatusExcluido, "IMO", "Im\xF3veis"},
        {"1.2.02", kStatusS, "VEI", "Ve\xED" "culos"},
        {"5.2", T, "X52", "Outras"},
    };
}

std::vector<REGCON_INDEX> LeIndice(const std::string& caminho)
{
    const std::string bytes = apoio::LeTudo(caminho);
    std::vector<REGCON_INDEX> entradas(bytes.size() / sizeof(REGCON_INDEX));
    if (!entradas.empty())
        std::memcpy(entradas.data(), bytes.data(), entradas.size() * sizeof(REGCON_INDEX));
    return entradas;
}

std::string BytesIndice(const std::vector<REGCON_INDEX>& entradas)
{
    return std::string(reinterpret_cast<const char*>(entradas.data()), entradas.size() * sizeof(REGCON_INDEX));
}

REGCON_INDEX EntradaIndice(uint32_t tipoIndCon, std::string_view classificacao)
{
    REGCON_INDEX entrada{};
    entrada.Tipo_IndCon = tipoIndCon;
    EmpacotaClassificacao(classificacao, entrada.Classificacao);
    return entrada;
}

std::vector<REGCON_INDEX> IndiceDasContas(const std::vector<ContaPlano>& contas, const std::vector<uint32_t>& registros)
{
    std::vector<REGCON_INDEX> indice(1, REGCON_INDEX{});
    for (uint32_t r : registros) {
        const ContaPlano& c = contas.at(r - 1);
        indice.push_back(EntradaIndice(AplicaTipo(r, TipoDoStatus(c.status)), c.classificacao));
    }
    return indice;
}

std::string DescreveEntrada(const REGCON_INDEX& entrada)
{
    const std::string texto = DesempacotaClassificacao(entrada.Classificacao);
    char r[96];
    int n = std::snprintf(r, sizeof r, "%08X %s", static_cast<unsigned>(entrada.Tipo_IndCon), texto.c_str());
    if (std::memcmp(EntradaIndice(0, texto).Classificacao, entrada.Classificacao, kTamanhoEmpacotado) != 0)
        for (uint8_t b : entrada.Classificacao)
            n += std::snprintf(r + n, sizeof r - size_t(n), " %02X", b);
    return r;
}

std::vector<std::string> Descreve(const std::vector<REGCON_INDEX>& entradas)
{
    std::vector<std::string> r;
    for (const auto& e : entradas)
        r.push_back(DescreveEntrada(e));
    return r;
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

void PlanoTeste::GravaIndice(const std::vector<REGCON_INDEX>& entradas)
{
    apoio::GravaTudo(CaminhoIndice(), BytesIndice(entradas));
}

std::vector<std::string> PlanoTeste::IndiceDescrito() const
{
    auto r = Descreve(LeIndice(CaminhoIndice()));
    if (const size_t resto = apoio::LeTudo(CaminhoIndice()).size() % sizeof(REGCON_INDEX))
        r.push_back("and " + std::to_string(resto) + " bytes");
    return r;
}

std::pair<std::string, std::string> PlanoTeste::Arquivos() const
{
    return {apoio::LeTudo(CaminhoPlano()), apoio::LeTudo(CaminhoIndice())};
}

HRESULT PlanoTeste::Inicializa(CClassificacao& plano)
{
    const auto empresa = Ole(kEmpresaPlano);
    const auto plano_ = Ole(kArquivoPlano);
    const auto indice = Ole(kArquivoIndice);
    const auto modulo = Ole("DF"); // OLECHAR is wchar_t on Windows
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

HRESULT PlanoTeste::Grava(const ContaPlano& c, uint32_t& pos)
{
    const auto registro = RegistroPlano(c);
    const uint32_t antes = pos;
    const HRESULT hr = Plano().GravaDados(registro.data(), &pos);
    if (hr != 0) {
        EXPECT_EQ(pos, antes) << c.classificacao;
        return hr;
    }
    EXPECT_EQ(pos, antes ? antes : uint32_t(m_contas.size() + 1)) << c.classificacao;
    if (pos > m_contas.size())
        m_contas.resize(pos);
    m_contas[pos - 1] = c;
    return hr;
}

HRESULT PlanoTeste::Exclui(uint32_t pos)
{
    m_contas.at(pos - 1).status |= kStatusExcluido;
    return Plano().Exclui(pos);
}

void PlanoExemplo::SetUp()
{
    PlanoTeste::SetUp();
    m_contas = ContasExemplo();
    GravaPlano(m_contas);
    GravaIndice(IndiceDasContas(m_contas, {1, 2, 3, 4, 5, 6, 8, 9}));
}

} // namespace teste
