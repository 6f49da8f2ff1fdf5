#include "platform/Registro.h"

#include <cstring>
#include <vector>

#include "platform/win32/Largo.h"

namespace plataforma {

using win32::Largo;
using win32::NuloSeVazio;

namespace {

// The access rights that the readers and writers of this system ask for.
constexpr REGSAM kLeitura = 0x20019;  // KEY_READ
constexpr REGSAM kEscrita = 0x20006;  // KEY_WRITE

HKEY Raiz(RaizRegistro raiz)
{
    switch (raiz) {
    case RaizRegistro::CurrentUser: return HKEY_CURRENT_USER;
    case RaizRegistro::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RaizRegistro::LocalMachine: break;
    }
    return HKEY_LOCAL_MACHINE;
}

HKEY K(void* h) { return static_cast<HKEY>(h); }

// The whole value with its type; retries while another writer makes it grow.
DWORD LeValor(HKEY chave, const char* nome, DWORD& tipo, std::vector<BYTE>& dados)
{
    const std::wstring n = Largo(nome);
    DWORD tamanho = 0;
    LONG r = RegQueryValueExW(chave, NuloSeVazio(n), nullptr, &tipo, nullptr, &tamanho);
    while (r == ERROR_SUCCESS || r == ERROR_MORE_DATA) {
        dados.resize(tamanho);
        r = RegQueryValueExW(chave, NuloSeVazio(n), nullptr, &tipo, dados.data(), &tamanho);
        if (r == ERROR_SUCCESS) {
            dados.resize(tamanho);
            return 0;
        }
    }
    return static_cast<DWORD>(r);
}

std::wstring TextoDeDados(const std::vector<BYTE>& dados)
{
    std::wstring s(dados.size() / sizeof(wchar_t), L'\0');
    if (!s.empty())
        std::memcpy(s.data(), dados.data(), s.size() * sizeof(wchar_t));
    // Stored texts may or may not carry their terminator.
    const size_t fim = s.find(L'\0');
    if (fim != std::wstring::npos)
        s.resize(fim);
    return s;
}

std::wstring Expande(const std::wstring& s)
{
    DWORD n = ExpandEnvironmentStringsW(s.c_str(), nullptr, 0);
    while (n > 0) {
        std::wstring saida(n, L'\0');
        const DWORD usados = ExpandEnvironmentStringsW(s.c_str(), saida.data(), n);
        if (usados == 0)
            break;
        if (usados <= n) {
            saida.resize(usados - 1);
            return saida;
        }
        n = usados;
    }
    return s;
}

} // namespace

ChaveRegistro::~ChaveRegistro()
{
    Fecha();
}

DWORD ChaveRegistro::Abre(RaizRegistro raiz, const char* subchave, bool escrita)
{
    Fecha();
    HKEY h = nullptr;
    const LONG r = RegOpenKeyExW(Raiz(raiz), Largo(subchave).c_str(), 0, kLeitura | (escrita ? kEscrita : 0), &h);
    if (r != ERROR_SUCCESS)
        return static_cast<DWORD>(r);
    m_hkey = h;
    return 0;
}

DWORD ChaveRegistro::Cria(RaizRegistro raiz, const char* subchave)
{
    Fecha();
    HKEY h = nullptr;
    const LONG r = RegCreateKeyExW(Raiz(raiz), Largo(subchave).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   kLeitura | kEscrita, nullptr, &h, nullptr);
    if (r != ERROR_SUCCESS)
        return static_cast<DWORD>(r);
    m_hkey = h;
    return 0;
}

void ChaveRegistro::Fecha()
{
    if (m_hkey)
        RegCloseKey(K(m_hkey));
    m_hkey = nullptr;
}

bool ChaveRegistro::EstaAberta() const
{
    return m_hkey != nullptr;
}

DWORD ChaveRegistro::LeDword(const char* nome, DWORD& valor) const
{
    if (!m_hkey)
        return ERROR_INVALID_HANDLE;
    DWORD tipo = 0;
    std::vector<BYTE> dados;
    if (const DWORD r = LeValor(K(m_hkey), nome, tipo, dados))
        return r;
    if (tipo != REG_DWORD || dados.size() != sizeof(DWORD))
        return ERROR_UNSUPPORTED_TYPE;
    std::memcpy(&valor, dados.data(), sizeof(DWORD));
    return 0;
}

DWORD ChaveRegistro::LeTexto(const char* nome, std::string& valor, bool expande) const
{
    if (!m_hkey)
        return ERROR_INVALID_HANDLE;
    DWORD tipo = 0;
    std::vector<BYTE> dados;
    if (const DWORD r = LeValor(K(m_hkey), nome, tipo, dados))
        return r;
    if (tipo != REG_SZ && tipo != REG_EXPAND_SZ)
        return ERROR_UNSUPPORTED_TYPE;
    std::wstring texto = TextoDeDados(dados);
    if (expande && tipo == REG_EXPAND_SZ)
        texto = Expande(texto);
    valor = win32::Estreito(texto);
    return 0;
}

DWORD ChaveRegistro::GravaDword(const char* nome, DWORD valor)
{
    if (!m_hkey)
        return ERROR_INVALID_HANDLE;
    const std::wstring n = Largo(nome);
    return static_cast<DWORD>(RegSetValueExW(K(m_hkey), NuloSeVazio(n), 0, REG_DWORD,
                                             reinterpret_cast<const BYTE*>(&valor), sizeof valor));
}

DWORD ChaveRegistro::GravaTexto(const char* nome, const char* valor)
{
    if (!m_hkey)
        return ERROR_INVALID_HANDLE;
    const std::wstring n = Largo(nome);
    const std::wstring v = Largo(valor);
    const DWORD bytes = static_cast<DWORD>((v.size() + 1) * sizeof(wchar_t));
    return static_cast<DWORD>(RegSetValueExW(K(m_hkey), NuloSeVazio(n), 0, REG_SZ,
                                             reinterpret_cast<const BYTE*>(v.c_str()), bytes));
}

DWORD ChaveRegistro::ApagaValor(const char* nome)
{
    if (!m_hkey)
        return ERROR_INVALID_HANDLE;
    const std::wstring n = Largo(nome);
    return static_cast<DWORD>(RegDeleteValueW(K(m_hkey), NuloSeVazio(n)));
}

DWORD ApagaChaveRegistro(RaizRegistro raiz, const char* subchave)
{
    // An empty subkey would empty the whole root.
    if (!subchave || !*subchave)
        return ERROR_INVALID_PARAMETER;
    // With a subkey named, the tree call removes that key itself too.
    return static_cast<DWORD>(RegDeleteTreeW(Raiz(raiz), Largo(subchave).c_str()));
}

DWORD SubchavesRegistro(RaizRegistro raiz, const char* subchave, std::vector<std::string>& nomes)
{
    nomes.clear();
    HKEY h = nullptr;
    if (const LONG r = RegOpenKeyExW(Raiz(raiz), Largo(subchave).c_str(), 0, kLeitura, &h); r != ERROR_SUCCESS)
        return static_cast<DWORD>(r);
    wchar_t nome[256];
    for (DWORD i = 0;; ++i) {
        DWORD tamanho = 256;
        const LONG r = RegEnumKeyExW(h, i, nome, &tamanho, nullptr, nullptr, nullptr, nullptr);
        if (r != ERROR_SUCCESS)
            break;
        nomes.push_back(win32::Estreito(std::wstring_view(nome, tamanho)));
    }
    RegCloseKey(h);
    return 0;
}

} // namespace plataforma
