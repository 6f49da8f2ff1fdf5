#include "platform/posix/FormatoReg.h"

#include <cstdio>
#include <cstdlib>

#include "platform/Texto.h"

namespace plataforma::posix {

namespace {

constexpr std::string_view kCabecalho = "Windows Registry Editor Version 5.00";
constexpr size_t kBytesPorLinhaHex = 25;

// Names compare as Windows compares them: code page 1252 letters without case.
std::string Dobra(std::string_view utf8)
{
    std::string ansi = Utf8ParaAnsi(utf8);
    for (char& c : ansi)
        c = MinusculaAnsi(c);
    return ansi;
}

// '\x01' sorts below every printable character, so parents come before children.
std::string Indice(const std::vector<std::string>& componentes, size_t quantos)
{
    std::string indice;
    for (size_t i = 0; i < quantos; ++i) {
        if (i)
            indice += '\x01';
        indice += Dobra(componentes[i]);
    }
    return indice;
}

std::string_view Apara(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool ComecaCom(std::string_view s, std::string_view prefixo)
{
    return s.substr(0, prefixo.size()) == prefixo;
}

// A quoted text starting at s[pos] == '"'; pos ends after the closing quote.
bool LeAspas(std::string_view s, size_t& pos, std::string& saida)
{
    saida.clear();
    for (size_t i = pos + 1; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"') {
            pos = i + 1;
            return true;
        }
        if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"'))
            c = s[++i];
        saida += c;
    }
    return false;
}

std::string EscreveAspas(std::string_view s)
{
    std::string saida = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"')
            saida += '\\';
        saida += c;
    }
    return saida + '"';
}

bool LeBytesHex(std::string_view s, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    size_t i = 0;
    while (i < s.size()) {
        size_t fim = s.find(',', i);
        std::string_view par = Apara(s.substr(i, fim == std::string_view::npos ? std::string_view::npos : fim - i));
        if (!par.empty()) {
            if (par.size() > 2)
                return false;
            char* resto = nullptr;
            std::string texto(par);
            unsigned long b = std::strtoul(texto.c_str(), &resto, 16);
            if (*resto)
                return false;
            bytes.push_back(static_cast<uint8_t>(b));
        }
        if (fim == std::string_view::npos)
            break;
        i = fim + 1;
    }
    return true;
}

std::string TextoDeUtf16(const std::vector<uint8_t>& bytes)
{
    std::u16string u16;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        u16 += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    while (!u16.empty() && u16.back() == u'\0')
        u16.pop_back();
    return AnsiParaUtf8(Utf16ParaAnsi(u16));
}

std::vector<uint8_t> Utf16DeTexto(std::string_view utf8)
{
    std::vector<uint8_t> bytes;
    for (char16_t c : AnsiParaUtf16(Utf8ParaAnsi(utf8))) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

std::string EscreveHex(std::string prefixo, const std::vector<uint8_t>& bytes)
{
    char par[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i && i % kBytesPorLinhaHex == 0)
            prefixo += "\\\n  ";
        std::snprintf(par, sizeof par, "%02x", bytes[i]);
        prefixo += par;
        if (i + 1 < bytes.size())
            prefixo += ',';
    }
    return prefixo;
}

// Data of a value line after '='. false when it cannot be read.
bool LeDado(std::string_view dado, ValorReg& valor)
{
    if (!dado.empty() && dado.front() == '"') {
        size_t pos = 0;
        valor.tipo = kRegSz;
        return LeAspas(dado, pos, valor.texto);
    }
    if (ComecaCom(dado, "dword:")) {
        std::string hex(Apara(dado.substr(6)));
        char* resto = nullptr;
        valor.tipo = kRegDword;
        valor.dword = static_cast<DWORD>(std::strtoul(hex.c_str(), &resto, 16));
        return !hex.empty() && hex.size() <= 8 && !*resto;
    }
    if (!ComecaCom(dado, "hex"))
        return false;
    size_t doisPontos = dado.find(':');
    if (doisPontos == std::string_view::npos)
        return false;
    std::string_view tipo = dado.substr(3, doisPontos - 3);
    valor.tipo = kRegBinario;
    if (!tipo.empty()) {
        if (tipo.size() < 3 || tipo.front() != '(' || tipo.back() != ')')
            return false;
        std::string numero(tipo.substr(1, tipo.size() - 2));
        char* resto = nullptr;
        valor.tipo = static_cast<DWORD>(std::strtoul(numero.c_str(), &resto, 16));
        if (numero.empty() || *resto)
            return false;
    }
    if (!LeBytesHex(dado.substr(doisPontos + 1), valor.bruto))
        return false;
    if (valor.tipo == kRegSz || valor.tipo == kRegExpandSz) {
        valor.texto = TextoDeUtf16(valor.bruto);
        valor.bruto.clear();
    } else if (valor.tipo == kRegDword && valor.bruto.size() == 4) {
        valor.dword = valor.bruto[0] | valor.bruto[1] << 8 | valor.bruto[2] << 16 | static_cast<DWORD>(valor.bruto[3]) << 24;
        valor.bruto.clear();
    }
    return true;
}

std::string EscreveDado(const ValorReg& valor)
{
    switch (valor.tipo) {
    case kRegSz:
        // A line break cannot stand inside quotes: such texts go as UTF-16 bytes.
        if (valor.texto.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos)
            return EscreveAspas(valor.texto);
        return EscreveHex("hex(1):", Utf16DeTexto(valor.texto));
    case kRegExpandSz:
        return EscreveHex("hex(2):", Utf16DeTexto(valor.texto));
    case kRegDword: {
        char texto[16];
        std::snprintf(texto, sizeof texto, "dword:%08x", static_cast<unsigned>(valor.dword));
        return texto;
    }
    case kRegBinario:
        return EscreveHex("hex:", valor.bruto);
    default: {
        char prefixo[24];
        std::snprintf(prefixo, sizeof prefixo, "hex(%x):", static_cast<unsigned>(valor.tipo));
        return EscreveHex(prefixo, valor.bruto);
    }
    }
}

// A value line ("name"=data or @=data); hex data may continue on the following lines.
void LeLinhaValor(const std::vector<std::string_view>& linhas, size_t& i, ChaveReg* chave)
{
    std::string_view linha = Apara(linhas[i]);
    std::string nome;
    const bool padrao = linha.front() == '@';
    size_t pos = padrao ? 1 : 0;
    if (!padrao && !LeAspas(linha, pos, nome))
        return;
    std::string_view resto = Apara(linha.substr(pos));
    if (resto.empty() || resto.front() != '=')
        return;
    std::string dado(Apara(resto.substr(1)));
    if (ComecaCom(dado, "hex")) {
        while (!dado.empty() && dado.back() == '\\' && i + 1 < linhas.size()) {
            dado.pop_back();
            dado += Apara(linhas[++i]);
        }
    }
    if (!chave)
        return;
    if (dado == "-") {
        chave->ApagaValor(nome);
        return;
    }
    ValorReg lido;
    if (!LeDado(dado, lido))
        return;
    ValorReg& destino = chave->DefineValor(nome);
    lido.nome = destino.nome;
    destino = std::move(lido);
}

} // namespace

const ValorReg* ChaveReg::Valor(std::string_view procurado) const
{
    const std::string dobrado = Dobra(procurado);
    for (const ValorReg& v : valores)
        if (Dobra(v.nome) == dobrado)
            return &v;
    return nullptr;
}

ValorReg& ChaveReg::DefineValor(std::string_view procurado)
{
    if (const ValorReg* v = Valor(procurado))
        return const_cast<ValorReg&>(*v);
    ValorReg& novo = valores.emplace_back();
    novo.nome = procurado;
    return novo;
}

bool ChaveReg::ApagaValor(std::string_view procurado)
{
    const std::string dobrado = Dobra(procurado);
    for (auto it = valores.begin(); it != valores.end(); ++it) {
        if (Dobra(it->nome) == dobrado) {
            valores.erase(it);
            return true;
        }
    }
    return false;
}

std::vector<std::string> ComponentesChave(std::string_view caminho)
{
    std::vector<std::string> componentes;
    size_t i = 0;
    while (i <= caminho.size()) {
        size_t fim = caminho.find('\\', i);
        if (fim == std::string_view::npos)
            fim = caminho.size();
        if (fim > i)
            componentes.emplace_back(caminho.substr(i, fim - i));
        i = fim + 1;
    }
    return componentes;
}

const ChaveReg* BaseReg::Chave(std::string_view caminho) const
{
    const auto componentes = ComponentesChave(caminho);
    auto it = m_chaves.find(Indice(componentes, componentes.size()));
    return it == m_chaves.end() ? nullptr : &it->second;
}

ChaveReg* BaseReg::Chave(std::string_view caminho)
{
    return const_cast<ChaveReg*>(static_cast<const BaseReg*>(this)->Chave(caminho));
}

bool BaseReg::Existe(std::string_view caminho) const
{
    return ComponentesChave(caminho).size() <= 1 || Chave(caminho) != nullptr;
}

ChaveReg* BaseReg::Cria(std::string_view caminho)
{
    const auto componentes = ComponentesChave(caminho);
    ChaveReg* chave = nullptr;
    std::string nome;
    for (size_t n = 1; n <= componentes.size(); ++n) {
        nome = n == 1 ? componentes[0] : nome + '\\' + componentes[n - 1];
        // A root gets a section of its own only when it is what was asked for.
        if (n == 1 && componentes.size() > 1)
            continue;
        auto [it, nova] = m_chaves.try_emplace(Indice(componentes, n));
        if (nova)
            it->second.nome = nome;
        nome = it->second.nome;
        chave = &it->second;
    }
    return chave;
}

bool BaseReg::Apaga(std::string_view caminho)
{
    const auto componentes = ComponentesChave(caminho);
    const std::string indice = Indice(componentes, componentes.size());
    auto it = m_chaves.lower_bound(indice);
    if (it == m_chaves.end() || it->first != indice)
        return false;
    const std::string prefixoFilhos = indice + '\x01';
    auto fim = std::next(it);
    while (fim != m_chaves.end() && ComecaCom(fim->first, prefixoFilhos))
        ++fim;
    m_chaves.erase(it, fim);
    return true;
}

BaseReg LeFormatoReg(std::string_view texto)
{
    if (ComecaCom(texto, "\xEF\xBB\xBF"))
        texto.remove_prefix(3);
    std::vector<std::string_view> linhas;
    for (size_t i = 0; i <= texto.size();) {
        size_t fim = texto.find('\n', i);
        if (fim == std::string_view::npos)
            fim = texto.size();
        linhas.push_back(texto.substr(i, fim - i));
        i = fim + 1;
    }

    BaseReg base;
    ChaveReg* atual = nullptr;
    for (size_t i = 0; i < linhas.size(); ++i) {
        std::string_view linha = Apara(linhas[i]);
        if (linha.empty() || linha.front() == ';' || ComecaCom(linha, "Windows Registry Editor") || linha == "REGEDIT4")
            continue;
        if (linha.front() == '[') {
            size_t fecha = linha.rfind(']');
            if (fecha == std::string_view::npos) {
                atual = nullptr;
                continue;
            }
            if (ComecaCom(linha, "[-")) {
                base.Apaga(linha.substr(2, fecha - 2));
                atual = nullptr;
            } else {
                atual = base.Cria(linha.substr(1, fecha - 1));
            }
            continue;
        }
        if (linha.front() == '"' || linha.front() == '@')
            LeLinhaValor(linhas, i, atual);
    }
    return base;
}

std::string EscreveFormatoReg(const BaseReg& base)
{
    std::string texto(kCabecalho);
    texto += "\n\n";
    for (const auto& [indice, chave] : base.Chaves()) {
        texto += '[' + chave.nome + "]\n";
        for (const ValorReg& valor : chave.valores)
            texto += (valor.nome.empty() ? std::string("@") : EscreveAspas(valor.nome)) + '=' + EscreveDado(valor) + '\n';
        texto += '\n';
    }
    return texto;
}

} // namespace plataforma::posix
