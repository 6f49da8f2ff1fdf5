// The service as this client reaches it: the module loaded (in process, or the local server's
// client module), one CTQDF_PlanoAlt object initialized with a session record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Biblioteca.h"
#include "server/Contrato.h"

namespace zazazu {

struct Conexao {
    std::string empresa;
    uint32_t usuario = 1;
    bool servidor = false; // the local server's module instead of the in-process one
};

// Codes of this client's own refusals.
constexpr HRESULT kCsvRecusado = TQHResult(0x81080D20);
constexpr HRESULT kArquivoIlegivel = TQHResult(0x81080D21);
constexpr HRESULT kSemServidorLocal = TQHResult(0x81080D22);
constexpr HRESULT kPlanoComProblemas = TQHResult(0x81080D23);

// The account's position in an index entry.
inline uint32_t PosicaoDaEntrada(uint32_t tipoIndCon) { return tipoIndCon & 0x00FFFFFF; }
inline bool EntradaDeTitulo(uint32_t tipoIndCon) { return (tipoIndCon & 0x70000000) == 0; }

// The directory of the in-process module: its suite libraries are in "x64" below it.
std::string DiretorioModulo();

class Servico {
public:
    Servico() = default;
    ~Servico();
    Servico(const Servico&) = delete;
    Servico& operator=(const Servico&) = delete;

    // Loads the module, creates the object and initializes it with the session.
    HRESULT Abre(const Conexao& conexao);
    ITQDF_PlanoAlt* operator->() const { return m_obj; }

    // A BSTR of the module's allocator for the call that takes it.
    class Texto {
    public:
        Texto(const Servico& s, std::string_view ansi);
        ~Texto();
        Texto(const Texto&) = delete;
        Texto& operator=(const Texto&) = delete;
        operator BSTR() const { return m_b; }

    private:
        const Servico& m_s;
        BSTR m_b;
    };
    void Libera(void* bloco) const;

    // An extension function of FuncaoGenerica: the bytes in, the bytes out.
    HRESULT Funcao(uint32_t numero, const std::vector<uint8_t>& entrada, std::vector<uint8_t>& saida);
    // Every entry of the selected plan's index, in order.
    HRESULT Indice(std::vector<REGCON_INDEX_ALT_PS>& entradas);
    HRESULT Planos(std::vector<REG_DADOS_PLANO_ALT_PS>& planos);

private:
    plataforma::Biblioteca m_modulo;
    BSTR (*m_alocaTexto)(const OLECHAR*) = nullptr;
    void (*m_liberaTexto)(BSTR) = nullptr;
    void (*m_liberaBloco)(void*) = nullptr;
    ITQDF_PlanoAlt* m_obj = nullptr;
};

} // namespace zazazu
