// zazazu-server: the local server on Linux. The bus starts it when a client asks for the class
// (or a person runs it); the registration switches write or remove its bus service file and its
// class keys. The module logic is the one both local servers share; these are its D-Bus steps.
#include <string>

#include "df/tqlibex/TQPath.h"
#include "platform/Processo.h"
#include "server/ModuloExe.h"
#include "server/RegistroServidor.h"
#include "server/dbus/ArquivoServico.h"
#include "server/dbus/ServidorDbus.h"

namespace {

class CZAZAZUModule : public CTQExeModuleT<CZAZAZUModule> {
public:
    ~CZAZAZUModule() override { ParaMonitor(); }

protected:
    HRESULT InicializaTransporte() override { return S_OK; }
    void FinalizaTransporte() override {}

    // The class keys first; the service file only once they are written, and removed first.
    HRESULT Registro(EChaveLinha chave) override
    {
        const std::string servidor = plataforma::CaminhoExecutavel();
        const bool porUsuario = chave == EChaveLinha::RegServerPerUser || chave == EChaveLinha::UnregServerPerUser;
        if (chave == EChaveLinha::RegServer || chave == EChaveLinha::RegServerPerUser) {
            const HRESULT hr = TQExecutaRegistro(chave, servidor);
            return TQFalhou(hr) ? hr : dbus::GravaArquivoServico(porUsuario, servidor);
        }
        const HRESULT hr = dbus::RemoveArquivoServico(porUsuario);
        return TQFalhou(hr) ? hr : TQExecutaRegistro(chave, servidor);
    }

    // Published but not yet under the bus name: no activation reaches it (suspended).
    HRESULT RegistraObjetosClasse() override { return m_servidor.Conecta(); }
    HRESULT RetomaObjetosClasse() override { return m_servidor.TomaNome(); }
    void SuspendeObjetosClasse() override { m_servidor.LiberaNome(); }
    void ReativaObjetosClasse() override { m_servidor.TomaNome(); }
    void LacoMensagens() override { m_servidor.Roda(); }
    void EncerraLacoMensagens() override { m_servidor.Para(); }
    HRESULT RevogaObjetosClasse() override
    {
        m_servidor.Desconecta();
        return S_OK;
    }

private:
    dbus::ServidorDbus m_servidor;
};

} // namespace

int main(int argc, char** argv)
{
    // Without an installer the suite's libraries are in "x64" beside the server.
    CTQPath::DefineInstalacaoSemRegistro(CTQPath::GetDiretorio(plataforma::CaminhoExecutavel()));
    std::string argumentos;
    for (int i = 1; i < argc; ++i)
        argumentos += (i > 1 ? " " : "") + std::string(argv[i]);
    CZAZAZUModule modulo;
    return modulo.Start(argumentos);
}
