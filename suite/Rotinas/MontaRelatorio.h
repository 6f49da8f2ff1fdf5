// The suite's report builder as a service uses it: TQGERADOR, loaded from module 1's "x64"
// directory while the builder lives. Texts of lines are ANSI (code page 1252).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "df/tqlibex/TQGeradorExports.h"
#include "platform/Biblioteca.h"

// TQGERADOR cannot be loaded, or has no factory (from ERROR_MOD_NOT_FOUND).
constexpr HRESULT kMontaRelatorioSemBiblioteca = TQHResult(0x8007007E);

class CMontaRelatorio {
public:
    CMontaRelatorio();
    ~CMontaRelatorio();
    CMontaRelatorio(const CMontaRelatorio&) = delete;
    CMontaRelatorio& operator=(const CMontaRelatorio&) = delete;

    // Negative: failure (kMontaRelatorioSemBiblioteca without the library); the builder then
    // knows the fields the user chose for the report.
    HRESULT Inicializa(const OLECHAR* empresa, uint16_t usuario, uint32_t sessao, const OLECHAR* razaoSocial,
                       const OLECHAR* modulo, const OLECHAR* sistema, const OLECHAR* arquivo,
                       const OLECHAR* relatorio, int32_t opcoes);
    void InicializaLinha();
    uint16_t GetQtdeCampos();
    // The code of the chosen field at the index (0 upward); 0 past the last.
    void GetCampoEscolhido(uint16_t indice, int64_t& codigo);
    void Adiciona(const std::string& texto, uint16_t largura);
    void AdicionaDetalhe(int64_t codigo, int32_t tipo, uint16_t largura, int32_t decimais, const std::string& mascara,
                         bool visivel, bool totaliza);
    void FinalizaLinha();
    // 0: the report file was written whole; anything else: a failure, and no file.
    HRESULT GeraRelatorio();
    void Finaliza(bool descarta);

private:
    struct Libera {
        void operator()(ITQMontaRelatorio* p) const { p->Libera(); }
    };

    // The builder dies before its library.
    std::unique_ptr<plataforma::Biblioteca> m_biblioteca;
    std::unique_ptr<ITQMontaRelatorio, Libera> m_pMonta;
};
