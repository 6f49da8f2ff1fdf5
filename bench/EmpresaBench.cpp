#include "EmpresaBench.h"

#include <cstdlib>
#include <map>
#include <vector>

#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQModulos.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Arquivo.h"
#include "platform/Diretorio.h"
#include "platform/Processo.h"
#include "platform/Registro.h"
#include "platform/Tempo.h"

namespace bench {

namespace {

void GravaValor(const std::string& chave, const char* nome, const std::string& valor)
{
    plataforma::ChaveRegistro k;
    if (k.Cria(plataforma::RaizRegistro::LocalMachine, chave.c_str()) != 0 || k.GravaTexto(nome, valor.c_str()) != 0)
        std::abort();
}

// A scratch root holding the registry file and one directory per company.
struct Instalacao {
    std::string raiz;
    std::string registro;
    std::map<std::string, std::string> empresas;

    Instalacao()
    {
        raiz = plataforma::DiretorioTemporario() + "zazazu-bench-" + std::to_string(plataforma::IdProcesso()) + "-" +
               std::to_string(plataforma::Relogio100ns()) + plataforma::kSeparador;
        if (plataforma::CriaDiretorio(raiz.c_str()) != 0)
            std::abort();
        registro = raiz + "registro.reg";
        Aponta();
        // The bench executable lives in <build>/bench, the suite in <build>/suite.
        const std::string bench = CTQPath::GetDiretorio(plataforma::CaminhoExecutavel());
        GravaValor(CTQPath::CombinaChave(kChaveSuiteBarra, TQSubchaveModulo(kModuloDF)), kValorPath,
                   CTQPath::Combina(CTQPath::GetParentPath(bench), "suite"));
    }
    ~Instalacao()
    {
        for (const auto& [empresa, dir] : empresas) {
            EsvaziaDiretorio(dir);
            plataforma::RemoveDiretorio(dir.c_str());
        }
        EsvaziaDiretorio(raiz);
        plataforma::RemoveDiretorio(raiz.c_str());
    }
    void Aponta() const { plataforma::DefineVariavelAmbiente("ZAZAZU_REGISTRY", registro.c_str()); }
};

} // namespace

std::string DiretorioEmpresa(const std::string& empresa)
{
    static Instalacao instalacao;
    instalacao.Aponta();
    auto [it, nova] = instalacao.empresas.try_emplace(empresa, instalacao.raiz + empresa + plataforma::kSeparador);
    if (nova) {
        if (plataforma::CriaDiretorio(it->second.c_str()) != 0)
            std::abort();
        GravaValor(CTQPath::CombinaChave(kChaveSuiteBarra, std::string(kSubchaveEmpresas) + "\\" + empresa),
                   TQCodigoModulo(kModuloDF).c_str(), it->second);
    }
    return it->second;
}

void EsvaziaDiretorio(const std::string& dir)
{
    std::vector<plataforma::EntradaDiretorio> entradas;
    plataforma::ListaDiretorio(dir.c_str(), entradas);
    for (const auto& e : entradas)
        if (!e.diretorio)
            plataforma::ApagaArquivo((dir + e.nome).c_str());
}

} // namespace bench
