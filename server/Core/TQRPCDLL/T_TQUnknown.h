// The frame around every business object: the initialization gate, the fault guard, the
// translation of exceptions, one trace line per failure, profiler lines and call statistics.
// I is the interface (deriving from ITQUnknown), B the business class (deriving from
// CTQBaseParaRotinas).
#pragma once

#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "df/tqlibex/TQAnalytics.h"
#include "df/tqlibex/TQEstatisticas.h"
#include "df/tqlibex/TQExcecoes.h"
#include "df/tqlibex/TQProfiler.h"
#include "df/tqlibex/TQSEH.h"
#include "df/tqlibex/TQTrace.h"
#include "platform/ParametroInvalido.h"
#include "platform/Tempo.h"
#include "server/Core/TQRPCDLL/TQChamada.h"
#include "server/Core/TQRPCDLL/TQInicializacao.h"

// The qualified names of the frame's own operations for an interface: a specialization gives
// kFuncaoGenerica, kInicializaPadrao, kInicializaChamada, kConstrutor and kDestrutor.
template <class I, class B>
struct NomesTQUnknown;

template <class I, class B>
class T_TQUnknown : public ITQDF_Profiler, public I {
public:
    T_TQUnknown();
    ~T_TQUnknown();
    T_TQUnknown(const T_TQUnknown&) = delete;
    T_TQUnknown& operator=(const T_TQUnknown&) = delete;

    // The identity of profiler and trace lines: the business object's session.
    std::string GetEmpresa() override { return m_pNegocio ? m_pNegocio->GetEmpresa() : std::string(); }
    uint16_t GetUsuario() override { return m_pNegocio ? m_pNegocio->GetUsuario() : 0; }
    uint32_t GetNumeroSessao() override { return m_pNegocio ? m_pNegocio->GetNumeroSessao() : 0; }

    HRESULT STDMETHODCALLTYPE Inicializa_Padrao(_REG_DF_INICIALIZAPS regps) override;
    HRESULT STDMETHODCALLTYPE KeepAlive(LONG* pbOK) override;
    HRESULT STDMETHODCALLTYPE GetUltimoErro(_REG_DF_ERROPS* pregErrops) override;
    HRESULT STDMETHODCALLTYPE FuncaoGenerica(ULONG ulFuncao, _REG_DF_FUNCAO_GENERICAPS regInps,
                                             _REG_DF_FUNCAO_GENERICAPS** ppregOutps) override;

    // The result of constructing the business object; a failure makes the creation fail.
    HRESULT FinalConstruct() { return m_hrConstruct; }

protected:
    using Nomes = NomesTQUnknown<I, B>;
    static constexpr const char* kFonte = "Core/TQRPCDLL/T_TQUnknown";

    // One method call: the gate, then the whole wrapper around operacao(B&).
    template <class F>
    HRESULT Chama(const LocalChamada& local, F&& operacao)
    {
        std::lock_guard<std::mutex> vez(m_travaChamadas);
        if (!m_pNegocio || !m_pNegocio->EstaInicializado())
            return kObjetoNaoInicializado;
        return Envolve(local, operacao);
    }

private:
    template <class F>
    HRESULT Envolve(const LocalChamada& local, F& operacao);
    // Creates or destroys the business object under the fault guard; traces a failure.
    HRESULT ConstroiOuDestroi(const LocalChamada& local, bool constroi);

    std::unique_ptr<B> m_pNegocio;
    HRESULT m_hrConstruct = S_OK;
    // A client may call one object from several threads at once (the multithreaded apartment
    // delivers them so): its calls take turns, while calls on other objects still run at once.
    std::mutex m_travaChamadas;
    ArvoreEstatisticas m_estatisticas;
};

template <class I, class B>
template <class F>
HRESULT T_TQUnknown<I, B>::Envolve(const LocalChamada& local, F& operacao)
{
    const uint64_t inicio = plataforma::Relogio100ns();
    plataforma::Cede();
    plataforma::DefineTratadorParametroInvalido(TQTrataParametroInvalido, const_cast<LocalChamada*>(&local));
    CTQProfilerEscopo escopo(this);
    escopo.Entra(local.onde.funcao);
    // Copied before the call: the call may change the session, or fault and leave nothing to ask.
    const std::string empresa = m_pNegocio ? m_pNegocio->GetEmpresa() : "";

    HRESULT hr;
    bool doGuarda = false;
    try {
        CTQAcessoDaChamada acesso(m_pNegocio ? m_pNegocio->GetBaseParaRotinas() : nullptr);
        std::string pilha;
        bool falhou = false;
        hr = CTQSEH::Executa(
            [&]() -> HRESULT {
                if (!m_pNegocio)
                    return kSemObjetoDeNegocio;
                // A business class may look at the world before each call (a file replaced meanwhile).
                if constexpr (requires(B& b) { b.IniciaChamada(); })
                    m_pNegocio->IniciaChamada();
                return operacao(*m_pNegocio);
            },
            &pilha, &falhou);
        doGuarda = true;
        if (falhou)
            TQRelataFalhaDeMaquina(local, hr, empresa.c_str(), pilha);
        if (TQFalhou(hr))
            TQTraceHResult(this, local.onde, local.fonte, "hr", "pfInSEHFuncao()", hr);
    } catch (...) {
        hr = TQTranslateThrownExceptionToHresult();
        if (TQFalhou(hr))
            TQTraceHResult(this, local.onde, local.fonte, "hr", "TQTranslateThrownExceptionToHresult()",
                           hr);
    }
    // Code inside the guard may have been abandoned halfway: the object cannot be trusted again.
    if (doGuarda && TQEhHResultDeFalha(hr))
        m_pNegocio.reset();

    TQAdicionaEstatistica(m_estatisticas, this, local.onde.funcao, inicio, plataforma::Relogio100ns());
    return hr;
}

template <class I, class B>
HRESULT T_TQUnknown<I, B>::ConstroiOuDestroi(const LocalChamada& local, bool constroi)
{
    plataforma::Cede();
    plataforma::DefineTratadorParametroInvalido(TQTrataParametroInvalido, const_cast<LocalChamada*>(&local));
    CTQProfilerEmpresa anonimo;
    CTQProfilerEscopo escopo(&anonimo);
    escopo.Entra(local.onde.funcao);
    HRESULT hr;
    try {
        hr = CTQSEH::Executa([&]() -> HRESULT {
            if (constroi)
                m_pNegocio = std::make_unique<B>();
            else
                m_pNegocio.reset();
            return S_OK;
        });
    } catch (...) {
        hr = TQTranslateThrownExceptionToHresult();
    }
    if (hr != S_OK)
        TQTraceHResult(&anonimo, local.onde, local.fonte, "m_hrConstruct", "pfInSEHFuncao()", hr);
    return hr;
}

template <class I, class B>
T_TQUnknown<I, B>::T_TQUnknown()
{
    static constexpr LocalChamada kLocal{{Nomes::kConstrutor}, kFonte};
    m_hrConstruct = ConstroiOuDestroi(kLocal, true);
}

template <class I, class B>
T_TQUnknown<I, B>::~T_TQUnknown()
{
    static constexpr LocalChamada kLocal{{Nomes::kDestrutor}, kFonte};
    if (m_pNegocio) {
        const HRESULT hr = ConstroiOuDestroi(kLocal, false);
        if (hr != S_OK)
            m_hrConstruct = hr;
    }
    TQPostaEstatisticas(m_estatisticas);
}

template <class I, class B>
HRESULT T_TQUnknown<I, B>::Inicializa_Padrao(_REG_DF_INICIALIZAPS regps)
{
    static constexpr LocalChamada kLocal{{Nomes::kInicializaChamada}, kFonte};
    HRESULT hr;
    if (regps.usVersaoKarvo != kVersaoKarvo) {
        hr = E_TQCR_VERSAO_INCOMPATIVEL;
        TQTraceHResult(this, Nomes::kInicializaPadrao, kFonte, "hr", "E_TQCR_VERSAO_INCOMPATIVEL", hr);
        return hr;
    }
    if (!TQControleInicializacaoDesabilitado()) {
        if (TQCrcInicializacao(regps) != regps.uiCRC) {
            hr = E_TQCR_CRC_INICIALIZACAO_INVALIDO;
            TQTraceHResult(this, Nomes::kInicializaPadrao, kFonte, "hr", "E_TQCR_CRC_INICIALIZACAO_INVALIDO",
                           hr);
            return hr;
        }
        if (!TQEstruturaInicializacaoValida(regps)) {
            hr = E_TQCR_ESTRUTURA_INICIALIZACAO_INVALIDA;
            TQTraceHResult(this, Nomes::kInicializaPadrao, kFonte, "hr",
                           "E_TQCR_ESTRUTURA_INICIALIZACAO_INVALIDA", hr);
            return hr;
        }
    }
    std::lock_guard<std::mutex> vez(m_travaChamadas);
    m_regInicializacao = regps;
    auto inicializa = [&regps](B& negocio) { return negocio.Inicializa(regps); };
    hr = Envolve(kLocal, inicializa);
    if (m_pNegocio && (TQFalhou(hr) || !m_pNegocio->EstaInicializado()))
        m_pNegocio.reset();
    if (TQFalhou(hr))
        std::memset(&m_regInicializacao, 0, sizeof m_regInicializacao);
    return hr;
}

template <class I, class B>
HRESULT T_TQUnknown<I, B>::KeepAlive(LONG* pbOK)
{
    plataforma::Cede();
    if (pbOK == nullptr)
        return kPonteiroNulo;
    *pbOK = 1;
    return S_OK;
}

template <class I, class B>
HRESULT T_TQUnknown<I, B>::GetUltimoErro(_REG_DF_ERROPS* pregErrops)
{
    plataforma::Cede();
    if (pregErrops != nullptr) {
        std::memset(pregErrops, 0, sizeof *pregErrops);
        std::lock_guard<std::mutex> vez(m_travaChamadas);
        if (m_pNegocio)
            m_pNegocio->GetErro().CopiarPara(pregErrops);
    }
    return S_OK;
}

template <class I, class B>
HRESULT T_TQUnknown<I, B>::FuncaoGenerica(ULONG ulFuncao, _REG_DF_FUNCAO_GENERICAPS regInps,
                                          _REG_DF_FUNCAO_GENERICAPS** ppregOutps)
{
    static constexpr LocalChamada kLocal{{Nomes::kFuncaoGenerica}, kFonte};
    return Chama(kLocal, [&](B& negocio) { return negocio.FuncaoGenerica(ulFuncao, regInps, ppregOutps); });
}
