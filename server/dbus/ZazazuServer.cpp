// zazazu-server: the local server on Linux. The bus starts it when a client asks for the class
// (or a person runs it); the registration switches write or remove its bus service file and
// its class keys.
#include "df/tqlibex/TQPath.h"
#include "platform/Processo.h"
#include "server/dbus/ServidorDbus.h"

int main(int argc, char** argv)
{
    // Without an installer the suite's libraries are in "x64" beside the server.
    CTQPath::DefineInstalacaoSemRegistro(CTQPath::GetDiretorio(plataforma::CaminhoExecutavel()));
    dbus::ServidorDbus servidor;
    HRESULT hr = servidor.Conecta();
    if (!TQFalhou(hr))
        hr = servidor.TomaNome();
    if (TQFalhou(hr))
        return hr;
    servidor.Roda();
    servidor.Desconecta();
    return 0;
}
