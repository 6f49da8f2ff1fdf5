#include "df/tqlibex/TQModulos.h"

#include <iterator>

#include "platform/Texto.h"

namespace {

// The suite's product list as installed; lookups scan it in this order.
constexpr ModuloSuite kModulos[] = {
    {"DF", "Contabil", 0, 0, 1},
    {"CR", "ContasReceber", 0, 0, 2},
    {"CP", "ContasPagar", 0, 0, 3},
    {"FS", "FolhaPagamento", 0, 0, 4},
    {"LF", "LivrosFiscais", 0, 0, 5},
    {"PA", "Patrimonio", 0, 0, 6},
    {"ES", "Estoque", 0, 0, 7},
    {"NF", "NotaFiscal", 0, 0, 8},
    {"CX", "Caixa", 0, 0, 9},
    {"BC", "Bancos", 0, 0, 10},
    {"FT", "Faturamento", 0, 0, 11},
    {"CM", "Compras", 0, 0, 12},
    {"PV", "PedidosVenda", 0, 0, 13},
    {"CT", "CustosProducao", 0, 0, 14},
    {"OR", "Orcamento", 0, 0, 15},
    {"RH", "RecursosHumanos", 0, 0, 16},
    {"PT", "PontoEletronico", 0, 0, 17},
    {"IR", "ImpostoRenda", 0, 0, 18},
    {"LA", "LALUR", 0, 0, 19},
    {"SP", "SPEDContabil", 0, 0, 20},
    {"SF", "SPEDFiscal", 0, 0, 21},
    {"CF", "ConciliacaoFinanceira", 0, 0, 22},
    {"NFE", "NotaFiscalEletronica", 0, 0, kModuloNFe},
    {"GE", "GestaoEmpresarial", 0, 0, 24},
    {"HO", "Honorarios", 0, 0, 25},
    {"DFC", "ContabilConsolidacao", 0, 0, kModuloDFConsolidacao},
    {"ADM", "Administrador", 0, 0, 27},
    {"TQS", "TQSDataBase", 0, 0, 28},
};
static_assert(std::size(kModulos) == 28);

const ModuloSuite* PorNumero(long numero)
{
    for (const ModuloSuite& m : kModulos)
        if (m.numero == numero)
            return &m;
    return nullptr;
}

} // namespace

std::string TQCodigoModulo(long numero)
{
    const ModuloSuite* m = PorNumero(numero);
    return m ? m->codigo : "";
}

std::string TQSubchaveModulo(long numero)
{
    const ModuloSuite* m = PorNumero(numero);
    return m ? m->subchave : "";
}

long TQNumeroModuloPorCodigo(std::string_view codigo)
{
    for (const ModuloSuite& m : kModulos)
        if (plataforma::IguaisSemCaixa(m.codigo, codigo))
            return m.numero;
    return -1;
}

long TQNumeroModuloPorSubchave(std::string_view subchave)
{
    for (const ModuloSuite& m : kModulos)
        if (plataforma::IguaisSemCaixa(m.subchave, subchave))
            return m.numero;
    return -1;
}

const ModuloSuite* TQTabelaModulos(size_t& quantos)
{
    quantos = std::size(kModulos);
    return kModulos;
}
