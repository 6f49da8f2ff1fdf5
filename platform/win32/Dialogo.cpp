#include <windows.h>

#include "platform/Mensagem.h"
#include "platform/Texto.h"

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
    const std::u16string t = AnsiParaUtf16(titulo), m = AnsiParaUtf16(texto);
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(m.c_str()), reinterpret_cast<const wchar_t*>(t.c_str()),
                MB_OK | icone | MB_SETFOREGROUND);
    return true;
}

} // namespace plataforma
