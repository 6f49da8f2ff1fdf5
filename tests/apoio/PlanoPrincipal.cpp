#include "apoio/PlanoPrincipal.h"

#include <algorithm>
#include <cstring>

#include "apoio/Apoio.h"
#include "apoio/SuiteInstalada.h"
#include "df/tqclasses/ClassificacaoCodigos.h"
#include "df/tqlibex/TQLDadosDFExports.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Registro.h"
#include "platform/Texto.h"
#include "suite/comum/TQDF_Plano.h"

namespace teste {

namespace {

constexpr size_t kStatus = 14, kCodigo = 16, kTamanhoCodigo = 10, kNome = 26, kTamanhoNome = 50;

using PFN_Registro = HRESULT (*)();
using PFN_DefineFalha = void (*)(int, HRESULT);

} // namespace

void GravaPlanoPrincipal(const std::string& dir, const std::vector<ContaPlanoPrincipal>& contas)
{
    std::string arquivo(kTamanhoRegistroPlanoEmpresarial * (contas.size() + 1), '\0');
    for (size_t i = 0; i < contas.size(); ++i) {
        char* r = arquivo.data() + kTamanhoRegistroPlanoEmpresarial * (i + 1);
        EmpacotaClassificacao(contas[i].classificacao, reinterpret_cast<uint8_t*>(r));
        r[kStatus] = char(contas[i].status);
        std::memcpy(r + kCodigo, contas[i].codigo.data(), std::min(contas[i].codigo.size(), kTamanhoCodigo));
        std::memcpy(r + kNome, contas[i].nome.data(), std::min(contas[i].nome.size(), kTamanhoNome));
    }
    apoio::GravaTudo(dir + kArquivoPlanoEmpresarial, arquivo);
}

std::string PlanoPrincipalRegistrado::Caminho()
{
    return CTQPath::Combina(CTQPath::Combina(DiretorioSuite(), "x64"), "TQDF_Plano.dll");
}

#ifdef _WIN32
// Wine 8 does not show the user's classes in HKEY_CLASSES_ROOT, where its COM looks: the
// registration is copied to the machine's classes while the test runs.
const std::string kChaveMaquina = "Software\\Classes\\CLSID\\" + plataforma::GuidParaTexto(CLSID_TQDF_Plano);

HRESULT CopiaParaMaquina()
{
    const std::string servidor = kChaveMaquina + "\\InprocServer32";
    plataforma::ChaveRegistro usuario, maquina;
    std::string caminho;
    if (usuario.Abre(plataforma::RaizRegistro::CurrentUser, servidor.c_str()) || usuario.LeTexto(nullptr, caminho) ||
        maquina.Cria(plataforma::RaizRegistro::LocalMachine, servidor.c_str()) ||
        maquina.GravaTexto(nullptr, caminho.c_str()) || maquina.GravaTexto("ThreadingModel", "Both"))
        return kFalha;
    return S_OK;
}
#endif

PlanoPrincipalRegistrado::PlanoPrincipalRegistrado()
{
    m_biblioteca.Carrega(Caminho().c_str());
    m_hrRegistro = Chama("DllRegisterServer");
#ifdef _WIN32
    if (m_hrRegistro == S_OK)
        m_hrRegistro = CopiaParaMaquina();
#endif
}

PlanoPrincipalRegistrado::~PlanoPrincipalRegistrado()
{
    for (int slot : {0, 7, 8})
        DefineFalha(slot, S_OK);
    Desregistra();
}

HRESULT PlanoPrincipalRegistrado::Desregistra()
{
#ifdef _WIN32
    plataforma::ApagaChaveRegistro(plataforma::RaizRegistro::LocalMachine, kChaveMaquina.c_str());
#endif
    return Chama("DllUnregisterServer");
}

void PlanoPrincipalRegistrado::DefineFalha(int slot, HRESULT hr)
{
    if (auto define = reinterpret_cast<PFN_DefineFalha>(m_biblioteca.Simbolo("TQDefineFalhaParaTestes")))
        define(slot, hr);
}

HRESULT PlanoPrincipalRegistrado::Chama(const char* funcao)
{
    auto chamada = reinterpret_cast<PFN_Registro>(m_biblioteca.Simbolo(funcao));
    return chamada ? chamada() : kFalha;
}

} // namespace teste
