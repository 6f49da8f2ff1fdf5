#include "df/tqlibex/TQDma.h"

#include "platform/Tempo.h"

namespace {

constexpr int kDiasAntes[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
constexpr int kDiasMes[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool Bissexto(int ano) { return ano % 4 == 0 && (ano % 100 != 0 || ano % 400 == 0); }

} // namespace

REG_TQDMA TQDma(int dia, int mes, int ano)
{
    if (ano >= 0 && ano < 100)
        ano += ano < 84 ? 2000 : 1900;
    if (dia < 1 || mes < 1 || mes > 12 || ano < 1848 || ano > 4717)
        return 0;
    if (dia > kDiasMes[mes - 1])
        dia = kDiasMes[mes - 1];
    if (mes == 2 && dia == 29 && !Bissexto(ano))
        dia = 28;
    int valor = (ano - 1848) * 365 + kDiasAntes[mes - 1] + dia + ano / 4 - ano / 100 + ano / 400 - 446;
    if (Bissexto(ano) && mes <= 2)
        --valor;
    return REG_TQDMA(valor);
}

REG_TQDMA TQDmaHoje()
{
    const plataforma::DataHoraLocal agora = plataforma::AgoraLocal();
    return TQDma(agora.dia, agora.mes, agora.ano);
}
