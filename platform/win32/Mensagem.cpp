#include <windows.h>

#include "platform/Mensagem.h"
#include "platform/win32/Largo.h"

namespace plataforma {

bool MostraDialogo(const std::string& titulo, const std::string& texto, EstiloMensagem estilo)
{
    // Only a visible window station has a person in front of it.
    USEROBJECTFLAGS flags{};
    HWINSTA estacao = GetProcessWindowStation();
    if (!estacao || !GetUserObjectInformationW(estacao, UOI_FLAGS, &flags, sizeof flags, nullptr) ||
        !(flags.dwFlags & WSF_VISIBLE))
        return false;
    const UINT icone = estilo == EstiloMensagem::Erro         ? MB_ICONERROR
                       : estilo == EstiloMensagem::Exclamacao ? MB_ICONEXCLAMATION
                                                              : MB_ICONINFORMATION;
    MessageBoxW(nullptr, win32::Largo(texto.c_str()).c_str(), win32::Largo(titulo.c_str()).c_str(),
                MB_OK | icone | MB_SETFOREGROUND);
    return true;
}

} // namespace plataforma
