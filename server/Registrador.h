// Our own registrar (mingw has none): runs a registry script of the registrar syntax
//
//   HKCR
//   {
//       NoRemove CLSID
//       {
//           ForceRemove {guid} = s 'text'
//           {
//               LocalServer32 = s '%MODULE%'
//               val AppID = s '%APPID%'
//           }
//       }
//   }
//
// over platform/Registro.h (the registry file on POSIX). Tokens are separated by blanks; texts
// in single quotes double a quote inside; %NAME% is replaced (names in any case, %% is one %).
// Roots: HKCR, HKCU, HKLM or their long names. Key flags: NoRemove (kept by unregistration),
// ForceRemove (removed whole before it is written), Delete (removed by registration). Values:
// "= s 'text'" for the key's default value, "val name = s 'text'"; d 'number' for a DWORD.
// Unregistration removes each key without NoRemove whole, and the named values of NoRemove keys.
// The whole script is parsed before the registry is touched: a script with a syntax error
// changes nothing and answers DISP_E_EXCEPTION.
#pragma once

#include <map>
#include <string>

#include "platform/Tipos.h"

constexpr HRESULT kErroScript = TQHResult(0x80020009); // DISP_E_EXCEPTION

class CTQRegistrador {
public:
    void AdicionaSubstituicao(const std::string& nome, const std::string& valor);
    // HKEY_CLASSES_ROOT written as HKEY_CURRENT_USER\Software\Classes (per-user registration).
    void MapeiaClassesParaUsuario(bool porUsuario) { m_porUsuario = porUsuario; }

    HRESULT Registra(const std::string& script) { return Executa(script, true); }
    HRESULT Desregistra(const std::string& script) { return Executa(script, false); }

private:
    HRESULT Executa(const std::string& script, bool registra);

    std::map<std::string, std::string> m_substituicoes; // names in upper case
    bool m_porUsuario = false;
};
