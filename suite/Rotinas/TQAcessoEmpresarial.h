// A session's access to the company's main chart of accounts, through TQLDadosDF.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "df/tqlibex/TQLDadosDFExports.h"
#include "platform/Biblioteca.h"

// One account of the main chart.
class CTQDadosDF_PlanoEmpresarial {
public:
    CTQDadosDF_PlanoEmpresarial() : m_conta{} {}

    uint32_t GetPosicao() const { return m_conta.ulPosicao; }
    // The status byte: bit 0 set for a summary account.
    uint8_t GetTipo() const { return m_conta.cStatus; }
    const char* GetClassificacao() const { return m_conta.szClassificacao; }
    const char* GetCodigo() const { return m_conta.szCodigo; }
    const char* GetNome() const { return m_conta.szNome; }

private:
    friend class CTQAcessoEmpresarialBuffer;
    TQ_CONTA_EMPRESARIAL m_conta;
};

class CTQAcessoEmpresarialBuffer {
public:
    explicit CTQAcessoEmpresarialBuffer(std::string empresa);
    ~CTQAcessoEmpresarialBuffer();
    CTQAcessoEmpresarialBuffer(const CTQAcessoEmpresarialBuffer&) = delete;
    CTQAcessoEmpresarialBuffer& operator=(const CTQAcessoEmpresarialBuffer&) = delete;

    // 0 when the account at lPosicao was read into conta (left empty otherwise); any other
    // value is a record-file status. iOpcoes: 0, the only reading there is.
    uint32_t LePlanoEmpresarial(const uint32_t& lPosicao, CTQDadosDF_PlanoEmpresarial& conta, int iOpcoes);
    // The number of accounts of the main chart, or a record-file status.
    uint32_t GetQuantidade(uint32_t& quantidade);

private:
    // Loads the library at the first read; null when it cannot be had.
    ITQPlanoEmpresarial* Plano();

    struct Libera {
        void operator()(ITQPlanoEmpresarial* p) const { p->Libera(); }
    };

    std::string m_sEmpresa;
    bool m_bCarregou = false;
    // The reader dies before its library.
    std::unique_ptr<plataforma::Biblioteca> m_biblioteca;
    std::unique_ptr<ITQPlanoEmpresarial, Libera> m_pPlano;
};
