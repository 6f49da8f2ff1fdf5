#include "ServidorLocal.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include "../server/Cliente.h"
#include "apoio/Apoio.h"
#include "apoio/PlanoPrincipal.h"
#include "df/tqlibex/TQPath.h"
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

} // namespace

DWORD RodaServidor(const std::vector<std::string>& argumentos) { return Roda(CaminhoServidor(), argumentos); }

DWORD RodaScript(const char* nome)
{
    const std::string script = CTQPath::Combina(CTQPath::GetDiretorio(CaminhoServidor()), nome);
    return Roda(plataforma::VariavelAmbiente("ComSpec"), {"/c", script});
}

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

void RodaSessao(ITQDF_PlanoAlt* obj, const char* empresa, const std::string& dir)
{
    teste::GravaPlanoPrincipal(dir, {{"1", 1, "", "Ativo"}, {"1.1.05", 0, "105", "Caixa"}});
    ASSERT_EQ(obj->Inicializa_Padrao(cliente::Sessao(empresa)), S_OK);
    REG_DADOS_PLANO_ALT_PS d{};
    LONG plano = 0;
    for (const char* nome : {"Gerencial", "Fiscal", "Or\xE7" "amento"}) {
        std::strcpy(d.cNomePlano, nome);
        ASSERT_EQ(obj->GravaPlano(0, d, &plano), S_OK);
    }
    std::strcpy(d.cNomePlano, "Societario");
    ASSERT_EQ(obj->GravaPlano(2, d, &plano), S_OK);
    ARRAY_REG_DADOS_PLANO_ALT_PS* planos = nullptr;
    ASSERT_EQ(obj->BuscaPlanos(&planos), S_OK);
    EXPECT_EQ(cliente::TomaBloco(planos, &ARRAY_REG_DADOS_PLANO_ALT_PS::pArrayDadosPlanoAlt).size(), 3u);

    REG_MASCARA_ALT_PS m{};
    std::memcpy(m.Mascara[1], "9.9.99", 6);
    ASSERT_EQ(obj->SetMascara(1, m), S_OK);
    ASSERT_EQ(obj->SetPlano(1), S_OK);
    cliente::GravaConta(obj, "1", 'T', "");
    cliente::GravaConta(obj, "1.1", 'T', "");
    const LONG a1 = cliente::GravaConta(obj, "1.1.01", 'A', "A1");
    const LONG a2 = cliente::GravaConta(obj, "1.1.02", 'A', "A2");
    REG_PLANO_ALT_PS lida{};
    ASSERT_EQ(obj->Le(a2, &lida), S_OK);
    EXPECT_STREQ(lida.cCodigoProprio, "A2");
    ULONG quantidade = 0;
    ASSERT_EQ(obj->GetQuantidadeRegistros(&quantidade), S_OK);
    EXPECT_GE(quantidade, 4u); // the four accounts, and whatever the file counts besides
    // Sized arrays in and out, a text in and a block out, a byte block in.
    LONG posicoes[] = {a2, a1};
    REG_PLANO_ALT_PS duas[2] = {};
    ASSERT_EQ(obj->BuscaDados(2, posicoes, duas), S_OK);
    EXPECT_EQ(duas[1].lPosicaoConta, a1);
    ARRAY_REGCON_INDEX_ALT_PS* indice = nullptr;
    ASSERT_EQ(obj->GetPlanoIndex(cliente::Texto(u"X"), 0, &indice), S_OK);
    EXPECT_EQ(cliente::TomaBloco(indice, &ARRAY_REGCON_INDEX_ALT_PS::pArrayRegConIndex).size(), 4u);
    LONG planosExcluidos[] = {3};
    ARRAY_REG_EXCLUI_PLANO_ALT_PS exclui{};
    exclui.iQtd = 1;
    exclui.pPosicoes = planosExcluidos;
    ASSERT_EQ(obj->ExcluiPlanos(exclui), S_OK);
    uint8_t bytes[] = {1, 2, 3};
    _REG_DF_FUNCAO_GENERICAPS generica{};
    generica.ulQtdBytes = 3;
    generica.pListaBytes = bytes;
    _REG_DF_FUNCAO_GENERICAPS* saida = nullptr;
    EXPECT_EQ(obj->FuncaoGenerica(0x12345678, generica, &saida), E_NOTIMPL);

    _MASCARA_PLANO_ALT mudanca{};
    std::strcpy(mudanca.Velha[1], "9.9.99");
    std::strcpy(mudanca.Nova[1], "99.9.999");
    ASSERT_EQ(obj->AlteraMascara(&mudanca), S_OK);
    ASSERT_EQ(obj->Le(a1, &lida), S_OK);
    EXPECT_STREQ(lida.cClassificacao, "10.1.001");

    ASSERT_EQ(obj->Vinculo(REG_VINCULO_ALT{0, a1, 2, 5, {}}), S_OK);
    ASSERT_EQ(obj->Vinculo(REG_VINCULO_ALT{0, a2, 2, 6, {}}), S_OK);
    ARRAY_REGCON_INDEX_ALT_PS* vinculos = nullptr;
    ASSERT_EQ(obj->BuscaVinculo(a1, &vinculos), S_OK);
    EXPECT_EQ(cliente::TomaBloco(vinculos, &ARRAY_REGCON_INDEX_ALT_PS::pArrayRegConIndex).size(), 1u);
    LONG excluir[] = {a2};
    ASSERT_EQ(obj->ExcluiContas(1, excluir), S_OK);
}

std::vector<std::pair<std::string, std::string>> ArquivosDeDados(const std::string& dir)
{
    std::vector<std::pair<std::string, std::string>> arquivos;
    for (const auto& entrada : std::filesystem::directory_iterator(dir)) {
        const std::string nome = entrada.path().filename().string();
        if (entrada.is_regular_file() && nome.find(".log") == std::string::npos)
            arquivos.emplace_back(nome, apoio::LeTudo(entrada.path().string()));
    }
    std::sort(arquivos.begin(), arquivos.end());
    return arquivos;
}

} // namespace local

#include "df/tqlibex/TQChaveSuite.h"
#include "platform/Arquivo.h"

namespace local {

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
