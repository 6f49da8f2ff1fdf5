#include "suite/TQGERADOR/Formatos.h"

#include "df/tqlibex/TQPath.h"
#include "platform/Texto.h"

namespace gerador {

Formato FormatoDoCaminho(const std::string& caminho)
{
    const std::string extensao = CTQPath::GetExtensao(caminho);
    if (plataforma::IguaisSemCaixa(extensao, "txt"))
        return Formato::Texto;
    if (plataforma::IguaisSemCaixa(extensao, "csv"))
        return Formato::Csv;
    if (plataforma::IguaisSemCaixa(extensao, "html"))
        return Formato::Html;
    return Formato::Nenhum;
}

std::string Formata(Formato formato, const Relatorio& relatorio)
{
    switch (formato) {
    case Formato::Texto: return FormataTexto(relatorio);
    case Formato::Csv: return FormataCsv(relatorio);
    case Formato::Html: return FormataHtml(relatorio);
    case Formato::Nenhum: break;
    }
    return {};
}

} // namespace gerador
