#include "ServicoTeste.h"

#include <algorithm>

#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQPath.h"

namespace teste {

void ServicoTeste::SetUp()
{
    SuiteInstalada::SetUp();
    GravaTexto(plataforma::RaizRegistro::LocalMachine, CTQPath::CombinaChave(kChaveSuiteBarra, "Empresas\\0001"), "DF",
               m_dir);
    _REG_DF_INICIALIZAPS r{};
    r.ulUsuario = 7;
    std::strcpy(r.szEmpresa, "0001");
    ASSERT_EQ(m_objeto.Inicializa(r), S_OK);
    EXPECT_EQ(m_objeto.m_sDiretorioDados, m_dir);
}

LONG ServicoTeste::NovoPlano(const char* nome)
{
    REG_DADOS_PLANO_ALT_PS d{};
    std::memcpy(d.cNomePlano, nome, std::min(std::strlen(nome), sizeof d.cNomePlano));
    LONG plano = 0;
    EXPECT_EQ(m_objeto.GravaPlano(0, d, &plano), S_OK) << nome;
    return plano;
}

void ServicoTeste::SelecionaPlano(const char* mascara)
{
    const LONG plano = NovoPlano();
    REG_MASCARA_ALT_PS m{};
    std::memcpy(m.Mascara[1], mascara, std::strlen(mascara));
    ASSERT_EQ(m_objeto.SetMascara(plano, m), S_OK);
    ASSERT_EQ(m_objeto.SetPlano(plano), S_OK);
}

LONG ServicoTeste::NovaConta(const char* classificacao, char tipo, const char* codigo)
{
    REG_PLANO_ALT_PS r{};
    std::strcpy(r.cClassificacao, classificacao);
    std::strcpy(r.cCodigoProprio, codigo);
    std::strcpy(r.cNome, "Conta");
    r.cTipo = uint8_t(tipo);
    r.iCaracteristica = 9;
    LONG posicao = 0;
    EXPECT_EQ(m_objeto.Grava(0, r, &posicao), S_OK) << classificacao;
    return posicao;
}

} // namespace teste
