#include "PlanoBench.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>

#include "EmpresaBench.h"
#include "platform/Arquivo.h"
#include "platform/Texto.h"

namespace bench {

namespace {

const char* const kNomes[] = {
    "Caixa Geral",          "Bancos Conta Movimento", "Duplicatas a Receber", "Provis\xE3o para Devedores",
    "Deprecia\xE7\xE3o Acumulada", "Im\xF3veis",            "Ve\xED" "culos",          "Estoque de Mat\xE9rias-Primas",
    "Cr\xE9" "ditos Fiscais",  "Aplica\xE7\xF5" "es Financeiras", "\xC1gua e Esgoto",     "Energia El\xE9trica",
    "Servi\xE7os de Terceiros", "\xC9" "clair Confeitaria",  "Adiantamentos",        "Impostos a Recolher",
};

void GravaArquivo(const std::string& caminho, const std::string& bytes)
{
    plataforma::ArquivoSO a;
    if (a.Abre(caminho.c_str(), {true, true, true, true, plataforma::Disposicao::CriaSempre}) != 0 ||
        a.Grava(bytes.data(), DWORD(bytes.size())) != 0)
        std::abort();
}

// Titles on levels 0 to 3 (5 × 5 × 10 × 10 at the deepest), analytic accounts on level 4,
// then the records shuffled: a chart grown over years is not in classification order.
std::vector<ContaBench> GeraContas()
{
    std::vector<ContaBench> contas;
    contas.reserve(kContasBench);
    const uint32_t titulos = 5 + 25 + 250 + 2500;
    const uint32_t porGrupo = (kContasBench - titulos + 2499) / 2500;
    uint32_t seq = 0;
    auto nome = [&](const char* sufixo) {
        return std::string(kNomes[seq % std::size(kNomes)]) + sufixo + std::to_string(seq);
    };
    auto acrescenta = [&](std::string classificacao, uint8_t status) {
        ++seq;
        contas.push_back({std::move(classificacao), status, "C" + std::to_string(seq * 7 % 1000003), nome(" ")});
    };
    for (int a = 1; a <= 5; ++a) {
        const std::string n0 = std::to_string(a);
        acrescenta(n0, kStatusTitulo);
        for (int b = 1; b <= 5; ++b) {
            const std::string n1 = n0 + "." + std::to_string(b);
            acrescenta(n1, kStatusTitulo);
            for (int c = 1; c <= 10; ++c) {
                char n2[32];
                std::snprintf(n2, sizeof n2, "%s.%02d", n1.c_str(), c);
                acrescenta(n2, kStatusTitulo);
                for (int d = 1; d <= 10; ++d) {
                    char n3[32];
                    std::snprintf(n3, sizeof n3, "%s.%03d", n2, d);
                    acrescenta(n3, kStatusTitulo);
                    for (uint32_t e = 1; e <= porGrupo && contas.size() < kContasBench; ++e) {
                        char n4[40];
                        std::snprintf(n4, sizeof n4, "%s.%04u", n3, e);
                        const uint8_t status = e % 97 == 0 ? kStatusS : e % 89 == 0 ? kStatusG : 0;
                        acrescenta(n4, status);
                    }
                }
            }
        }
    }
    std::mt19937 gerador(20240611);
    std::shuffle(contas.begin(), contas.end(), gerador);
    return contas;
}

std::string BytesPlano(const std::vector<ContaBench>& contas)
{
    std::string bytes(size_t(kTamanhoRegistroBench) * (contas.size() + 1), '\0');
    auto* p = reinterpret_cast<uint8_t*>(bytes.data()) + kTamanhoRegistroBench;
    for (const auto& conta : contas) {
        MontaRegistro(conta, p);
        p += kTamanhoRegistroBench;
    }
    return bytes;
}

struct Instalacao {
    PlanoBench plano;
    Instalacao()
    {
        plano.empresa = "EMPBENCH";
        plano.dir = DiretorioEmpresa(plano.empresa);
        plano.arquivoPlano = "DFPLA001.DAT";
        plano.arquivoIndice = "DFIND001.DAT";
        plano.contas = GeraContas();
        plano.bytesPlano = BytesPlano(plano.contas);
        GravaArquivo(plano.dir + plano.arquivoPlano, plano.bytesPlano);
    }
};

Instalacao& Instalada()
{
    static Instalacao instalacao;
    return instalacao;
}

} // namespace

void MontaRegistro(const ContaBench& conta, uint8_t registro[kTamanhoRegistroBench])
{
    std::memset(registro, 0, kTamanhoRegistroBench);
    EmpacotaClassificacao(conta.classificacao, registro);
    registro[14] = conta.status;
    std::memcpy(registro + 16, conta.codigo.data(), std::min<size_t>(conta.codigo.size(), kTamanhoCodigoBench));
    std::memcpy(registro + 16 + kTamanhoCodigoBench, conta.nome.data(),
                std::min<size_t>(conta.nome.size(), kTamanhoNomeBench));
}

const PlanoBench& Plano() { return Instalada().plano; }
std::string CaminhoPlano() { return Plano().dir + Plano().arquivoPlano; }
std::string CaminhoIndice() { return Plano().dir + Plano().arquivoIndice; }

void RestauraPlano() { GravaArquivo(CaminhoPlano(), Plano().bytesPlano); }

HRESULT InicializaPlano(CClassificacao& plano)
{
    const PlanoBench& p = Plano();
    DiretorioEmpresa(p.empresa); // the registry that names the directory, again
    const auto empresa = plataforma::AnsiParaOle(p.empresa);
    const auto arquivoPlano = plataforma::AnsiParaOle(p.arquivoPlano);
    const auto arquivoIndice = plataforma::AnsiParaOle(p.arquivoIndice);
    const HRESULT hr = plano.Inicializa(empresa.c_str(), 1, plataforma::AnsiParaOle("DF").c_str(), arquivoPlano.c_str(), kTamanhoRegistroBench,
                                        arquivoIndice.c_str(), kTamanhoNomeBench);
    return hr != 0 ? hr : plano.SetTamanhoCodigo(kTamanhoCodigoBench);
}

} // namespace bench
