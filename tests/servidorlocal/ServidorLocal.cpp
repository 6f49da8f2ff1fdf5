#include "ServidorLocal.h"

#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Arquivo.h"
#include "platform/Processo.h"

namespace local {

std::string CaminhoServidor()
{
    const std::string testes = CTQPath::GetDiretorio(plataforma::CaminhoExecutavel());
    return CTQPath::Combina(CTQPath::Combina(CTQPath::GetParentPath(testes), "server"), "ZAZAZU.exe");
}

namespace {

DWORD Roda(const std::string& programa, const std::vector<std::string>& argumentos)
{
    plataforma::ProcessoFilho p;
    DWORD codigo = 0xFFFFFFFF;
    if (p.Inicia(programa, argumentos) != 0 || !p.Espera(60000, &codigo))
        return 0xFFFFFFFF;
    return codigo;
}

// A .cmd of the server's folder through the command interpreter.
DWORD RodaScript(const char* nome)
{
    const std::string script = CTQPath::Combina(CTQPath::GetDiretorio(CaminhoServidor()), nome);
    return Roda(plataforma::VariavelAmbiente("ComSpec"), {"/c", script});
}

} // namespace

DWORD RodaServidor(const std::vector<std::string>& argumentos) { return Roda(CaminhoServidor(), argumentos); }

std::vector<DWORD> ProcessosServidor()
{
    std::vector<DWORD> pids;
    HANDLE foto = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (foto == INVALID_HANDLE_VALUE)
        return pids;
    PROCESSENTRY32W e{};
    e.dwSize = sizeof e;
    for (BOOL ok = Process32FirstW(foto, &e); ok; ok = Process32NextW(foto, &e))
        if (_wcsicmp(e.szExeFile, L"ZAZAZU.exe") == 0)
            pids.push_back(e.th32ProcessID);
    CloseHandle(foto);
    return pids;
}

bool EsperaFimProcesso(DWORD pid, DWORD limiteMs)
{
    HANDLE p = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!p)
        return true; // already gone
    const bool fim = WaitForSingleObject(p, limiteMs) == WAIT_OBJECT_0;
    CloseHandle(p);
    return fim;
}

HRESULT CriaLocal(ITQDF_PlanoAlt** pp)
{
    return CoCreateInstance(CLSID_TQDF_PlanoAlt, nullptr, CLSCTX_LOCAL_SERVER, IID_ITQDF_PlanoAlt,
                            reinterpret_cast<void**>(pp));
}

void ServidorInstalado::SetUpTestSuite() { ASSERT_EQ(RodaScript("install.cmd"), 0u); }

void ServidorInstalado::TearDownTestSuite() { EXPECT_EQ(RodaScript("uninstall.cmd"), 0u); }

std::string ServidorInstalado::Empresa(const char* empresa, const char* nome)
{
    const std::string dir = m_dir + nome + plataforma::kSeparador;
    EXPECT_EQ(plataforma::CriaDiretorio(dir.c_str()), 0u);
    GravaTexto(plataforma::RaizRegistro::LocalMachine,
               CTQPath::CombinaChave(kChaveSuiteBarra, std::string("Empresas\\") + empresa), "DF", dir);
    return dir;
}

} // namespace local
