#include "server/Registrador.h"

#include <cctype>
#include <cstdlib>
#include <memory>
#include <vector>

#include "df/tqlibex/TQTrace.h"
#include "platform/Erros.h"
#include "platform/Registro.h"

using plataforma::RaizRegistro;

namespace {

constexpr const char* kFonte = "Registrador";
constexpr DWORD kNaoEncontrado = 2; // ERROR_FILE_NOT_FOUND

std::string Maiusculas(std::string s)
{
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

struct Valor {
    bool dword = false;
    std::string texto;
};

struct No {
    enum Flag { Normal, NoRemove, ForceRemove, Delete } flag = Normal;
    bool ehValor = false; // "val name = ..."
    std::string nome;
    bool temValor = false;
    Valor valor;
    std::vector<No> filhos;
};

struct Raiz {
    RaizRegistro raiz;
    std::string prefixo; // a subkey that the root stands for (per-user classes)
    std::vector<No> chaves;
};

struct Token {
    std::string texto;
    bool citado = false;
};

class Analisador {
public:
    explicit Analisador(std::vector<Token> tokens) : m_t(std::move(tokens)) {}

    bool Raizes(bool porUsuario, std::vector<Raiz>& raizes)
    {
        while (m_i < m_t.size()) {
            Raiz r;
            const std::string nome = Maiusculas(m_t[m_i++].texto);
            if (nome == "HKCR" || nome == "HKEY_CLASSES_ROOT") {
                r.raiz = porUsuario ? RaizRegistro::CurrentUser : RaizRegistro::ClassesRoot;
                r.prefixo = porUsuario ? "Software\\Classes\\" : "";
            } else if (nome == "HKCU" || nome == "HKEY_CURRENT_USER") {
                r.raiz = RaizRegistro::CurrentUser;
            } else if (nome == "HKLM" || nome == "HKEY_LOCAL_MACHINE") {
                r.raiz = RaizRegistro::LocalMachine;
            } else {
                return false;
            }
            if (!Bloco(r.chaves))
                return false;
            raizes.push_back(std::move(r));
        }
        return true;
    }

private:
    bool Simbolo(const char* s) const { return m_i < m_t.size() && !m_t[m_i].citado && m_t[m_i].texto == s; }
    bool Palavra(const char* s) const { return m_i < m_t.size() && !m_t[m_i].citado && Maiusculas(m_t[m_i].texto) == s; }

    bool Bloco(std::vector<No>& nos)
    {
        if (!Simbolo("{"))
            return false;
        ++m_i;
        while (m_i < m_t.size() && !Simbolo("}")) {
            No no;
            if (!Item(no))
                return false;
            nos.push_back(std::move(no));
        }
        if (!Simbolo("}"))
            return false;
        ++m_i;
        return true;
    }

    bool Item(No& no)
    {
        if (Palavra("VAL")) {
            ++m_i;
            no.ehValor = true;
        } else if (Palavra("NOREMOVE")) {
            ++m_i;
            no.flag = No::NoRemove;
        } else if (Palavra("FORCEREMOVE")) {
            ++m_i;
            no.flag = No::ForceRemove;
        } else if (Palavra("DELETE")) {
            ++m_i;
            no.flag = No::Delete;
        }
        if (m_i >= m_t.size() || Simbolo("{") || Simbolo("}") || Simbolo("="))
            return false;
        no.nome = m_t[m_i++].texto;
        if (Simbolo("=")) {
            ++m_i;
            if (!ValorDe(no.valor))
                return false;
            no.temValor = true;
        } else if (no.ehValor) {
            return false;
        }
        if (!no.ehValor && Simbolo("{"))
            return Bloco(no.filhos);
        return true;
    }

    bool ValorDe(Valor& v)
    {
        if (m_i + 1 >= m_t.size() || m_t[m_i].citado)
            return false;
        const std::string tipo = Maiusculas(m_t[m_i].texto);
        if (tipo != "S" && tipo != "D")
            return false;
        v.dword = tipo == "D";
        v.texto = m_t[m_i + 1].texto;
        m_i += 2;
        if (!v.dword)
            return true;
        char* fim = nullptr;
        std::strtoul(v.texto.c_str(), &fim, 0);
        return !v.texto.empty() && *fim == '\0';
    }

    std::vector<Token> m_t;
    size_t m_i = 0;
};

// Blank-separated tokens; a quoted text is one token, with '' for a quote.
bool Tokens(const std::string& texto, std::vector<Token>& tokens)
{
    size_t i = 0;
    while (i < texto.size()) {
        if (std::isspace(static_cast<unsigned char>(texto[i]))) {
            ++i;
            continue;
        }
        Token t;
        if (texto[i] == '\'') {
            t.citado = true;
            for (++i;; ++i) {
                if (i >= texto.size())
                    return false;
                if (texto[i] == '\'') {
                    if (i + 1 < texto.size() && texto[i + 1] == '\'') {
                        t.texto += '\'';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                t.texto += texto[i];
            }
        } else {
            while (i < texto.size() && !std::isspace(static_cast<unsigned char>(texto[i])))
                t.texto += texto[i++];
        }
        tokens.push_back(std::move(t));
    }
    return true;
}

bool Substitui(const std::string& texto, const std::map<std::string, std::string>& mapa, std::string& saida)
{
    for (size_t i = 0; i < texto.size(); ++i) {
        if (texto[i] != '%') {
            saida += texto[i];
            continue;
        }
        const size_t fim = texto.find('%', i + 1);
        if (fim == std::string::npos)
            return false;
        const std::string nome = texto.substr(i + 1, fim - i - 1);
        if (nome.empty()) {
            saida += '%';
        } else {
            const auto it = mapa.find(Maiusculas(nome));
            if (it == mapa.end())
                return false;
            saida += it->second;
        }
        i = fim;
    }
    return true;
}

class Execucao {
public:
    Execucao(const Raiz& raiz, bool registra) : m_raiz(raiz), m_registra(registra) {}

    HRESULT Nos(const std::vector<No>& nos, const std::string& pai)
    {
        for (const No& no : nos) {
            const HRESULT hr = no.ehValor ? ValorNomeado(no, pai) : Chave(no, pai.empty() ? no.nome : pai + "\\" + no.nome);
            if (TQFalhou(hr))
                return hr;
        }
        return S_OK;
    }

private:
    std::string Caminho(const std::string& chave) const { return m_raiz.prefixo + chave; }

    HRESULT Apaga(const std::string& chave)
    {
        const DWORD erro = plataforma::ApagaChaveRegistro(m_raiz.raiz, Caminho(chave).c_str());
        if (erro == 0 || erro == kNaoEncontrado)
            return S_OK;
        return Falha("ApagaChaveRegistro(raiz, chave)", chave, erro);
    }

    HRESULT Chave(const No& no, const std::string& chave)
    {
        if (!m_registra) {
            if (no.flag != No::NoRemove)
                return Apaga(chave);
            return Nos(no.filhos, chave);
        }
        if (no.flag == No::Delete)
            return Apaga(chave);
        if (no.flag == No::ForceRemove)
            if (const HRESULT hr = Apaga(chave); TQFalhou(hr))
                return hr;
        plataforma::ChaveRegistro k;
        if (const DWORD erro = k.Cria(m_raiz.raiz, Caminho(chave).c_str()))
            return Falha("k.Cria(raiz, chave)", chave, erro);
        if (no.temValor)
            if (const HRESULT hr = Grava(k, nullptr, no.valor, chave); TQFalhou(hr))
                return hr;
        return Nos(no.filhos, chave);
    }

    HRESULT ValorNomeado(const No& no, const std::string& chave)
    {
        plataforma::ChaveRegistro k;
        if (!m_registra) {
            if (k.Abre(m_raiz.raiz, Caminho(chave).c_str(), true) != 0)
                return S_OK;
            const DWORD erro = k.ApagaValor(no.nome.c_str());
            if (erro == 0 || erro == kNaoEncontrado)
                return S_OK;
            return Falha("k.ApagaValor(nome)", chave, erro);
        }
        if (const DWORD erro = k.Cria(m_raiz.raiz, Caminho(chave).c_str()))
            return Falha("k.Cria(raiz, chave)", chave, erro);
        return Grava(k, no.nome.c_str(), no.valor, chave);
    }

    HRESULT Grava(plataforma::ChaveRegistro& k, const char* nome, const Valor& v, const std::string& chave)
    {
        const DWORD erro = v.dword ? k.GravaDword(nome, DWORD(std::strtoul(v.texto.c_str(), nullptr, 0)))
                                   : k.GravaTexto(nome, v.texto.c_str());
        return erro ? Falha("k.Grava(nome, valor)", chave, erro) : S_OK;
    }

    HRESULT Falha(const char* expressao, const std::string& chave, DWORD erro,
                  TQOnde onde = TQOnde::Atual())
    {
        const HRESULT hr = plataforma::HResultDoErro(erro);
        const std::string texto = std::string(expressao) + " [" + chave + "]";
        TQTraceHResult(nullptr, {"CTQRegistrador::Executa", onde}, kFonte, "hr", texto.c_str(), hr);
        return hr;
    }

    const Raiz& m_raiz;
    bool m_registra;
};

} // namespace

void CTQRegistrador::AdicionaSubstituicao(const std::string& nome, const std::string& valor)
{
    m_substituicoes[Maiusculas(nome)] = valor;
}

HRESULT CTQRegistrador::Executa(const std::string& script, bool registra)
{
    std::string texto;
    std::vector<Token> tokens;
    std::vector<Raiz> raizes;
    if (!Substitui(script, m_substituicoes, texto) || !Tokens(texto, tokens) ||
        !Analisador(std::move(tokens)).Raizes(m_porUsuario, raizes)) {
        TQTraceHResult(nullptr, "CTQRegistrador::Executa", kFonte, "hr", "Analisa(script)", kErroScript);
        return kErroScript;
    }
    for (const Raiz& raiz : raizes)
        if (const HRESULT hr = Execucao(raiz, registra).Nos(raiz.chaves, ""); TQFalhou(hr))
            return hr;
    return S_OK;
}
