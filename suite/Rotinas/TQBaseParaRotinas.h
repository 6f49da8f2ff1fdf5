// The suite's routine framework as this program's business objects derive from it. The
// session lives in a routine object of TQLConx, reached through its abstract interface; this
// class adds what a derived class needs in its own module: the initialization protocol, the
// last-error holder, the per-thread default access and the main-chart access.
#pragma once

#include <cstdint>
#include <memory>

#include "df/tqlibex/RegErro.h"
#include "df/tqlibex/RegInicializa.h"
#include "df/tqlibex/TQLConxExports.h"
#include "platform/Biblioteca.h"
#include "suite/Rotinas/TQAcessoEmpresarial.h"
#include "suite/Rotinas/TQUltimoErro.h"

class CTQBaseParaRotinas : public CTQUltimoErro {
public:
    CTQBaseParaRotinas();
    ~CTQBaseParaRotinas() override;
    CTQBaseParaRotinas(const CTQBaseParaRotinas&) = delete;
    CTQBaseParaRotinas& operator=(const CTQBaseParaRotinas&) = delete;

    // Takes the session from the record, then runs OnInicializa; initialized only when both
    // succeed. Runs again on an initialized object with a new session.
    HRESULT Inicializa(const _REG_DF_INICIALIZAPS& registro);
    bool EstaInicializado() const { return m_bInicializado; }

    // A derived class overrides it and calls this one first.
    virtual HRESULT OnInicializa();
    // No generic function is known here: E_NOTIMPL, and the out pointer null.
    virtual HRESULT FuncaoGenerica(uint32_t ulFuncao, _REG_DF_FUNCAO_GENERICAPS regInps,
                                   _REG_DF_FUNCAO_GENERICAPS** ppregOutps);

    // The session; an empty company, 0 and 0 before one.
    virtual const char* GetEmpresa() const;
    virtual uint16_t GetUsuario() const;
    virtual uint32_t GetNumeroSessao() const;

    virtual CTQBaseParaRotinas* GetBaseParaRotinas() { return this; }

    // The session's main chart; never null. Belongs to this object, until the next Inicializa.
    CTQAcessoEmpresarialBuffer* GetAcessoEmpresarial();

    // The access that serves the calling thread's current call, or null. Each thread has its own.
    static void SetAcessoDefault(CTQBaseParaRotinas* acesso);
    static CTQBaseParaRotinas* GetAcessoServidoresDefault();

    const char* GetEmpresaErroVirtual() const override { return GetEmpresa(); }

private:
    HRESULT CriaRotina();

    struct Libera {
        void operator()(ITQBaseParaRotinas* p) const { p->Libera(); }
    };

    bool m_bInicializado = false;
    // Destroyed in reverse order: the objects of a library before the library.
    std::unique_ptr<plataforma::Biblioteca> m_conx;
    std::unique_ptr<ITQBaseParaRotinas, Libera> m_pRotina;
    std::unique_ptr<CTQAcessoEmpresarialBuffer> m_pAcessoEmpresarial;
};
