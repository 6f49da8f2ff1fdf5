// ZAZAZU.exe: the entry hands over to the module at once.
#include <windows.h>

#include "df/tqlibex/TQPath.h"
#include "platform/Processo.h"
#include "server/com/ModuloZAZAZU.h"

// Built before the entry function runs, destroyed at process end (which flushes the analytics).
CZAZAZUModule _AtlModule;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR lpCmdLine, int)
{
    // Without an installer's registry the suite's libraries are in "x64" beside the executable.
    CTQPath::DefineInstalacaoSemRegistro(CTQPath::GetDiretorio(plataforma::CaminhoExecutavel()));
    return _AtlModule.Start(lpCmdLine ? lpCmdLine : "");
}
