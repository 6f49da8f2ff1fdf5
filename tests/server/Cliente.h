// The module as a client reaches it: on Linux the shared library's C exports, on Windows the
// same objects linked in. A session record filled as an independent client fills it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "apoio/SuiteInstalada.h"
#include "server/Contrato.h"

namespace cliente {

struct Modulo {
    HRESULT (*DllGetClassObject)(REFCLSID, REFIID, void**);
    HRESULT (*DllCanUnloadNow)();
    BSTR (*SysAllocString)(const OLECHAR*);
    void (*SysFreeString)(BSTR);
    uint32_t (*SysStringLen)(BSTR);
    void (*CoTaskMemFree)(void*);
};
// The module the client uses: the in-process one, unless a test chose another with UsaModulo.
const Modulo& Zazazu();
#ifndef _WIN32
// From now on Zazazu() answers the module at this path (loaded once, kept loaded).
void UsaModulo(const std::string& caminho);
#endif

// Reflected CRC-64 of the ECMA-182 polynomial, initial value 0, no final complement; bit by bit.
uint64_t Crc64(const void* dados, size_t bytes);

// A record that passes every check, for the company and user.
_REG_DF_INICIALIZAPS Sessao(const char* empresa, uint32_t usuario = 7);

// Owns one reference.
template <class T>
class Ptr {
public:
    Ptr() = default;
    ~Ptr() { Libera(); }
    Ptr(const Ptr&) = delete;
    Ptr& operator=(const Ptr&) = delete;
    T** operator&() { Libera(); return &m_p; }
    T* operator->() const { return m_p; }
    T* get() const { return m_p; }
    void Libera()
    {
        if (m_p)
            m_p->Release();
        m_p = nullptr;
    }

private:
    T* m_p = nullptr;
};

// A text of the module's allocator.
class Texto {
public:
    explicit Texto(const char16_t* texto) : m_b(Zazazu().SysAllocString(reinterpret_cast<const OLECHAR*>(texto))) {}
    ~Texto() { Zazazu().SysFreeString(m_b); }
    Texto(const Texto&) = delete;
    Texto& operator=(const Texto&) = delete;
    operator BSTR() const { return m_b; }

private:
    BSTR m_b;
};

// The items of a block the module allocated, copied; the block and its items freed with the
// module's allocator (a null block gives none).
template <class Bloco, class Item>
std::vector<Item> TomaBloco(Bloco* bloco, Item* Bloco::*itens)
{
    std::vector<Item> r;
    if (bloco == nullptr)
        return r;
    r.assign(bloco->*itens, bloco->*itens + bloco->iQtde);
    Zazazu().CoTaskMemFree(bloco->*itens);
    Zazazu().CoTaskMemFree(bloco);
    return r;
}

// A new account named "Conta" in the object's selected plan: its position.
LONG GravaConta(ITQDF_PlanoAlt* obj, const char* classificacao, char tipo, const char* codigo);

// A new object through the class object (S_OK or the failure).
HRESULT Cria(ITQDF_PlanoAlt** pp);

// A whole session in the company's directory dir (its main chart written there first): one pass
// per group of slots, each answer checked. The transcript of every answer and record that came
// back, to compare one transport with another.
std::string SessaoCompleta(ITQDF_PlanoAlt* obj, const char* empresa, const std::string& dir);
// The names of the data files (logs left out) that differ between two directories, or empty.
std::string ArquivosDiferentes(const std::string& a, const std::string& b);

// Company "0001" whose data directory is the test's own, and an object not yet initialized.
class ClienteTeste : public teste::SuiteInstalada {
protected:
    void SetUp() override;
    void TearDown() override;
    // What a test needs before the object is created (a bus to reach the server by).
    virtual void AntesDeCriar() {}
    void Inicializa();
    // Creates plan 1 named "Plano" with the mask in slot 1, and selects it.
    void SelecionaPlano(const char* mascara = "9.9.99");
    // The catalogue's plans, copied out of the module's block.
    std::vector<REG_DADOS_PLANO_ALT_PS> Planos();
    // The ERRO lines of the company's monthly error log (empty when it has none).
    std::string LogDeErros() const;
    // The ERRO lines, or those of them holding `com`.
    size_t LinhasDeErro(const std::string& com = {}) const;

    Ptr<ITQDF_PlanoAlt> m_obj;

private:
    std::map<std::string, size_t> m_logsSemEmpresa; // sizes at the start of the test
};

} // namespace cliente
