#include "suite/Rotinas/TQUltimoErro.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

template <size_t N>
void CopiaTexto(char (&campo)[N], const char* texto)
{
    const size_t n = texto ? strnlen(texto, N - 1) : 0;
    std::memcpy(campo, texto ? texto : "", n);
    std::memset(campo + n, 0, N - n);
}

} // namespace

void CTQDadosDF_Erro::Limpa() { std::memset(&m_reg, 0, sizeof m_reg); }

void CTQDadosDF_Erro::SetMensagem(const char* texto) { CopiaTexto(m_reg.cMensagem, texto); }

void CTQDadosDF_Erro::SetEmpresa(const char* texto) { CopiaTexto(m_reg.szEmpresa, texto); }

void CTQDadosDF_Erro::CopiarPara(_REG_DF_ERROPS* destino) const
{
    if (destino)
        std::memcpy(destino, &m_reg, sizeof m_reg);
}

void CTQUltimoErro::SetErro(const CTQDadosDF_Erro* erro)
{
    if (erro)
        m_erro = *erro;
    else
        m_erro.Limpa();
}

void CTQUltimoErro::Registra(HRESULT hr, int nCodigoErro, int32_t lCodigoMensagem)
{
    m_erro.Limpa();
    m_erro.SetHR(hr);
    m_erro.SetCodigoErro(nCodigoErro);
    m_erro.SetCodigoMensagem(lCodigoMensagem);
    m_erro.SetEmpresa(GetEmpresaErroVirtual());
}

HRESULT CTQUltimoErro::SetErro(HRESULT hr, int nCodigoErro, int32_t lCodigoMensagem, const char* formato, ...)
{
    Registra(hr, nCodigoErro, lCodigoMensagem);
    if (formato) {
        char texto[sizeof(_REG_DF_ERROPS::cMensagem)];
        va_list args;
        va_start(args, formato);
        std::vsnprintf(texto, sizeof texto, formato, args);
        va_end(args);
        m_erro.SetMensagem(texto);
    }
    return hr;
}

HRESULT CTQUltimoErro::SetErro(HRESULT hr, int nCodigoErro, int32_t lCodigoMensagem)
{
    Registra(hr, nCodigoErro, lCodigoMensagem);
    return hr;
}
