#include "apoio/SuiteInstalada.h"

#include "apoio/Apoio.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQModulos.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Arquivo.h"
#include "platform/Processo.h"

namespace teste {

const std::string kChaveModuloDF = CTQPath::CombinaChave(kChaveSuiteBarra, TQSubchaveModulo(kModuloDF));
const std::string kChaveTQSDataBase = CTQPath::CombinaChave(kChaveSuiteBarra, kSubchaveTQSDataBase);

std::string DiretorioSuite()
{
    const std::string testes = CTQPath::GetDiretorio(plataforma::CaminhoExecutavel());
    return CTQPath::Combina(CTQPath::GetParentPath(testes), "suite");
}

void SuiteInstalada::SetUp()
{
    RegistroIsolado::SetUp();
    static int contador = 0;
    m_dir = apoio::DiretorioDaExecucao() + "suite-" + std::to_string(++contador) + plataforma::kSeparador;
    ASSERT_EQ(plataforma::CriaDiretorio(m_dir.c_str()), 0u) << m_dir;
    GravaTexto(plataforma::RaizRegistro::LocalMachine, kChaveModuloDF, kValorPath, DiretorioSuite());
}

void SuiteInstalada::TearDown()
{
    apoio::RemoveArvore(m_dir);
    RegistroIsolado::TearDown();
}

} // namespace teste
