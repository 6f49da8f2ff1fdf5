// A whole session through the local server leaves the same answers and the same bytes on disk
// as the same session in process.
#include <filesystem>

#include "ServidorLocal.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQPath.h"

namespace servidorlocal {
namespace {

using SessaoServidor = ServidorLocalTeste;

TEST_F(SessaoServidor, MesmasRespostasEMesmosBytesQueEmProcesso)
{
    const std::string peloServidor = cliente::SessaoCompleta(m_obj.get(), "0001", m_dir);
    m_obj.Libera();

    const std::string local = m_dir + "local/";
    std::filesystem::create_directories(local);
    GravaTexto(plataforma::RaizRegistro::LocalMachine, CTQPath::CombinaChave(kChaveSuiteBarra, "Empresas\\0002"), "DF",
               local);
    cliente::UsaModulo(ModuloEmProcesso());
    ASSERT_EQ(cliente::Cria(&m_obj), S_OK);
    EXPECT_EQ(peloServidor, cliente::SessaoCompleta(m_obj.get(), "0002", local));
    EXPECT_EQ(cliente::ArquivosDiferentes(m_dir, local), "");
}

} // namespace
} // namespace servidorlocal
