#include "df/tqlibex/TQRegistro.h"

CTQRegistro::CTQRegistro(plataforma::RaizRegistro raiz, const std::string& chave, bool escrita)
{
    m_chave.Abre(raiz, chave.c_str(), escrita);
}

DWORD CTQRegistro::LeDword(const char* nome, DWORD padrao) const
{
    DWORD valor = 0;
    if (!m_chave.EstaAberta() || m_chave.LeDword(nome, valor) != 0)
        return padrao;
    return valor;
}

std::string CTQRegistro::LeTexto(const char* nome, const std::string& padrao, bool expande) const
{
    std::string valor;
    if (!m_chave.EstaAberta() || m_chave.LeTexto(nome, valor, expande) != 0)
        return padrao;
    return valor;
}

bool CTQRegistro::GravaDword(const char* nome, DWORD valor)
{
    return m_chave.EstaAberta() && m_chave.GravaDword(nome, valor) == 0;
}

bool CTQRegistro::GravaTexto(const char* nome, const std::string& valor)
{
    return m_chave.EstaAberta() && m_chave.GravaTexto(nome, valor.c_str()) == 0;
}
