// The main-chart server's object, its class object, and the codes they answer.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "suite/comum/PlanoEmpresarial.h"
#include "suite/comum/TQDF_Plano.h"

// A company without a data directory: ERROR_PATH_NOT_FOUND as an HRESULT.
constexpr HRESULT kEmpresaSemDiretorio = TQHResult(0x80070003);
constexpr HRESULT kInesperado = TQHResult(0x8000FFFF);        // E_UNEXPECTED: slot 8 before slot 7
constexpr HRESULT kSemAgregacao = TQHResult(0x80040110);      // CLASS_E_NOAGGREGATION
constexpr HRESULT kClasseIndisponivel = TQHResult(0x80040111); // CLASS_E_CLASSNOTAVAILABLE

// Objects and server locks alive, for DllCanUnloadNow.
extern std::atomic<long> g_vivos;

// The answer that the test hook set for a slot (0 = creation, 7, 8), or S_OK.
HRESULT FalhaDeTeste(int slot);

class CTQDF_Plano final : public ITQDF_Plano {
public:
    CTQDF_Plano() { ++g_vivos; }
    ~CTQDF_Plano() { --g_vivos; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(++m_referencias); }
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Reservado3() override { return kNaoImplementado; }
    HRESULT STDMETHODCALLTYPE Reservado4() override { return kNaoImplementado; }
    HRESULT STDMETHODCALLTYPE Reservado5() override { return kNaoImplementado; }
    HRESULT STDMETHODCALLTYPE Reservado6() override { return kNaoImplementado; }
    HRESULT STDMETHODCALLTYPE Inicializa(const uint8_t* sessao) override;
    HRESULT STDMETHODCALLTYPE LeConta(LONG posicao, uint8_t* conta) override;

private:
    std::atomic<long> m_referencias{1};
    std::mutex m_trava; // "Both": calls may come from several threads
    std::unique_ptr<CPlanoEmpresarial> m_leitor;
};
