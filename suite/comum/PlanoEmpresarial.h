// The company's main chart of accounts, read by position from "DFPLAEMP.DAT" in the company's
// data directory: chart records of 96 bytes (packed classification at 0, status at 14, own code
// of 10 at 16, name of 50 at 26), record n holding the account at position n. Shared by the
// suite's main-chart data library and its main-chart server.
#pragma once

#include <string>

#include "df/tqlibex/TQArqEx.h"
#include "df/tqlibex/TQLDadosDFExports.h"

class CPlanoEmpresarial final : public ITQPlanoEmpresarial {
public:
    // The file's full path; empty when the company has no data directory.
    explicit CPlanoEmpresarial(std::string caminho);

    void Libera() override { delete this; }
    uint32_t Le(uint32_t posicao, TQ_CONTA_EMPRESARIAL* conta) override;
    uint32_t Quantidade(uint32_t* quantidade) override;

private:
    template <typename F>
    StatusArq Executa(F operacao);

    std::string m_sCaminho;
    CTQArqEx m_arq;
};
