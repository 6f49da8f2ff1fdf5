#include "ServicoTeste.h"

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
}

void ServicoTeste::SelecionaPlano(const char* mascara)
{
    REG_DADOS_PLANO_ALT_PS d{};
    std::strcpy(d.cNomePlano, "Plano");
    LONG plano = 0;
    ASSERT_EQ(m_objeto.GravaPlano(0, d, &plano), S_OK);
    REG_MASCARA_ALT_PS m{};
    std::memcpy(m.Mascara[1], mascara, std::strlen(mascara));
    ASSERT_EQ(m_objeto.SetMascara(plano, m), S_OK);
    ASSERT_EQ(m_objeto.SetPlano(plano), S_OK);
}

} // namespace teste
