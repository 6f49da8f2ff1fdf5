#include "server/dbus/ArquivoServico.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "df/tqlibex/TQTrace.h"
#include "platform/Erros.h"
#include "platform/Processo.h"
#include "server/dbus/Barramento.h"

namespace dbus {

namespace {

constexpr const char* kFonte = "ArquivoServico";

std::string Arquivo(bool porUsuario) { return DiretorioServicos(porUsuario) + kNomeServico + ".service"; }

HRESULT Falhou(TQLocal onde, const std::string& caminho, const std::error_code& erro)
{
    TQTrace(nullptr, onde, kFonte, "%s: %s", caminho.c_str(), erro.message().c_str());
    return plataforma::HResultDoErro(DWORD(erro.value()));
}

// dbus-daemon splits Exec like a shell: a path with blanks or quotes goes in double quotes.
std::string Exec(const std::string& servidor)
{
    if (servidor.find_first_of(" \t\"'\\") == std::string::npos)
        return servidor;
    std::string r = "\"";
    for (const char c : servidor) {
        if (c == '"' || c == '\\' || c == '$' || c == '`')
            r += '\\';
        r += c;
    }
    return r + '"';
}

} // namespace

std::string DiretorioServicos(bool porUsuario)
{
    if (!porUsuario)
        return "/usr/share/dbus-1/services/";
    std::string dados = plataforma::VariavelAmbiente("XDG_DATA_HOME");
    if (dados.empty())
        dados = plataforma::VariavelAmbiente("HOME") + "/.local/share";
    return dados + "/dbus-1/services/";
}

HRESULT GravaArquivoServico(bool porUsuario, const std::string& servidor)
{
    const std::string destino = Arquivo(porUsuario);
    const std::string temporario = destino + ".novo";
    std::error_code erro;
    std::filesystem::create_directories(DiretorioServicos(porUsuario), erro);
    if (erro)
        return Falhou("GravaArquivoServico", DiretorioServicos(porUsuario), erro);
    {
        std::ofstream f(temporario, std::ios::binary | std::ios::trunc);
        f << "[D-BUS Service]\nName=" << kNomeServico << "\nExec=" << Exec(servidor) << "\n";
        f.close();
        if (!f) {
            std::filesystem::remove(temporario, erro);
            return Falhou("GravaArquivoServico", temporario, std::make_error_code(std::errc::io_error));
        }
    }
    std::filesystem::rename(temporario, destino, erro);
    if (erro) {
        std::error_code ignorado;
        std::filesystem::remove(temporario, ignorado);
        return Falhou("GravaArquivoServico", destino, erro);
    }
    return S_OK;
}

HRESULT RemoveArquivoServico(bool porUsuario)
{
    std::error_code erro;
    std::filesystem::remove(Arquivo(porUsuario), erro);
    return erro ? Falhou("RemoveArquivoServico", Arquivo(porUsuario), erro) : S_OK;
}

} // namespace dbus
