#include "df/tqclasses/ClassificacaoCodigos.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr uint8_t kFimDoTexto = 0xA;

constexpr uint8_t MeioByte(char c)
{
    if (c >= '0' && c <= '9')
        return uint8_t(c - '0');
    if (c == ' ' || c == '\0')
        return kFimDoTexto;
    return uint8_t(c & 0x0F);
}

constexpr char Caractere(uint8_t meio)
{
    if (meio <= 9)
        return char('0' + meio);
    if (meio == kFimDoTexto)
        return '\0';
    if (meio <= 0xC)
        return char(meio + 0x30); // ';' and '<'
    return "-./"[meio - 0xD];
}

// Code page 1252 accents folded as the lookups do; every other byte maps to itself.
constexpr std::array<unsigned char, 256> TabelaAcentos()
{
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[size_t(i)] = (unsigned char)i;
    auto faixa = [&](int de, int ate, char para) {
        for (int i = de; i <= ate; ++i)
            t[size_t(i)] = (unsigned char)para;
    };
    faixa(0xC0, 0xC5, 'A');
    faixa(0xC7, 0xC7, 'C');
    faixa(0xC8, 0xCB, 'E');
    faixa(0xCC, 0xCF, 'I');
    faixa(0xD1, 0xD1, 'N');
    faixa(0xD2, 0xD6, 'O');
    faixa(0xD9, 0xDC, 'U');
    faixa(0xDD, 0xDD, 'Y');
    faixa(0xE0, 0xE5, 'a');
    faixa(0xE7, 0xE7, 'c');
    faixa(0xE8, 0xEB, 'e');
    faixa(0xEC, 0xEF, 'i');
    faixa(0xF1, 0xF1, 'n');
    faixa(0xF2, 0xF6, 'o');
    faixa(0xF9, 0xFC, 'u');
    faixa(0xFD, 0xFD, 'y');
    faixa(0xFF, 0xFF, 'y');
    return t;
}
constexpr auto kAcentos = TabelaAcentos();

// The name key of index generation: upper case, and a smaller set of accents than the lookups
// fold (À, Ä and Ü, among others, stay as they are).
constexpr std::array<unsigned char, 256> TabelaChaveNome()
{
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[size_t(i)] = (unsigned char)i;
    for (int c = 'a'; c <= 'z'; ++c)
        t[size_t(c)] = (unsigned char)(c - 'a' + 'A');
    for (int c : {0xC1, 0xC2, 0xC3, 0xE1, 0xE2, 0xE3})
        t[size_t(c)] = 'A';
    for (int c : {0xC7, 0xE7})
        t[size_t(c)] = 'C';
    for (int c : {0xC9, 0xCA, 0xE9, 0xEA})
        t[size_t(c)] = 'E';
    for (int c : {0xCD, 0xED})
        t[size_t(c)] = 'I';
    for (int c : {0xD3, 0xD4, 0xD5, 0xF3, 0xF4, 0xF5})
        t[size_t(c)] = 'O';
    for (int c : {0xDA, 0xFA})
        t[size_t(c)] = 'U';
    return t;
}
constexpr auto kChaveNome = TabelaChaveNome();

size_t Comprimento(std::string_view texto)
{
    const size_t n = std::min(texto.size(), kTamanhoClassificacao);
    const void* zero = std::memchr(texto.data(), '\0', n);
    return zero ? size_t(static_cast<const char*>(zero) - texto.data()) : n;
}

// Both directions by table: packing and unpacking run for every record of an index generation.
constexpr std::array<uint8_t, 256> TabelaMeioByte()
{
    std::array<uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[size_t(c)] = MeioByte(char(c));
    return t;
}
constexpr auto kMeioByte = TabelaMeioByte();

constexpr std::array<char, 16> TabelaCaractere()
{
    std::array<char, 16> t{};
    for (int m = 0; m < 16; ++m)
        t[size_t(m)] = Caractere(uint8_t(m));
    return t;
}
constexpr auto kCaractere = TabelaCaractere();

} // namespace

void EmpacotaClassificacao(std::string_view texto, uint8_t empacotado[kTamanhoEmpacotado])
{
    // The text padded with zeros to 28 positions; a zero packs as the end (0xA).
    char posicoes[kTamanhoClassificacao] = {};
    std::memcpy(posicoes, texto.data(), Comprimento(texto));
    for (size_t i = 0; i < kTamanhoEmpacotado; ++i)
        empacotado[i] = uint8_t(kMeioByte[(unsigned char)posicoes[2 * i]] << 4 |
                                kMeioByte[(unsigned char)posicoes[2 * i + 1]]);
}

void DesempacotaClassificacao(const uint8_t empacotado[kTamanhoEmpacotado], char texto[kTamanhoClassificacao + 1])
{
    for (size_t i = 0; i < kTamanhoEmpacotado; ++i) {
        texto[2 * i] = kCaractere[empacotado[i] >> 4];
        texto[2 * i + 1] = kCaractere[empacotado[i] & 0x0F];
    }
    texto[kTamanhoClassificacao] = '\0';
}

std::string DesempacotaClassificacao(const uint8_t empacotado[kTamanhoEmpacotado])
{
    char texto[kTamanhoClassificacao + 1];
    DesempacotaClassificacao(empacotado, texto);
    return texto;
}

std::string_view TextoDeClassificacao(std::string_view texto)
{
    size_t inicio = 0;
    while (inicio < texto.size() && (texto[inicio] == ' ' || (texto[inicio] >= '\t' && texto[inicio] <= '\r')))
        ++inicio;
    return texto.substr(inicio, kTamanhoClassificacao);
}

int ComparaTextoClassificacao(std::string_view a, std::string_view b)
{
    const size_t na = Comprimento(a), nb = Comprimento(b);
    const int r = std::memcmp(a.data(), b.data(), std::min(na, nb));
    if (r != 0)
        return r;
    return na < nb ? -1 : na > nb ? 1 : 0;
}

int ComparaEmpacotado(const uint8_t a[kTamanhoEmpacotado], const uint8_t b[kTamanhoEmpacotado])
{
    return std::memcmp(a, b, kTamanhoEmpacotado);
}

int NivelClassificacao(std::string_view texto)
{
    return int(std::count(texto.begin(), texto.begin() + Comprimento(texto), '.'));
}

char TipoDoStatus(uint8_t status)
{
    if (status & kStatusS)
        return 'S';
    if (status & kStatusG)
        return 'G';
    if (status & kStatusTitulo)
        return 'T';
    return 'A';
}

uint32_t AplicaTipo(uint32_t tipoIndCon, char letra)
{
    switch (letra) {
    case 'S':
    case 's': return tipoIndCon | kTipoS;
    case 'G':
    case 'g': return tipoIndCon | kTipoG;
    case 'A':
    case 'a': return tipoIndCon | kTipoA;
    default: return tipoIndCon & ~kBitsTipo;
    }
}

std::string TQDigitoConta(uint32_t n)
{
    if (n == 0)
        return "00000";
    std::string codigo = std::to_string(n);
    uint16_t soma = 0; // kept in 16 bits, as the suite computes it
    uint16_t peso = uint16_t(codigo.size() + 3);
    for (char c : codigo)
        soma = uint16_t(soma + (c - '0') * peso--);
    const int d = 11 - soma % 11;
    codigo += d == 11 ? '1' : d == 10 ? '0' : char('0' + d);
    return codigo;
}

int ComparaSemCaixa(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        const int ca = (*a >= 'A' && *a <= 'Z') ? *a + 32 : (unsigned char)*a;
        const int cb = (*b >= 'A' && *b <= 'Z') ? *b + 32 : (unsigned char)*b;
        if (ca != cb || ca == 0)
            return ca - cb;
    }
}

char DobraAcento(char c) { return char(kAcentos[(unsigned char)c]); }

void DobraAcentos(std::string& texto)
{
    for (char& c : texto)
        c = DobraAcento(c);
}

size_t ChaveNomeIndice(const char* nome, size_t tamanho, char* saida)
{
    const size_t limite = std::min<size_t>(tamanho, kMaxChaveNome + 1);
    size_t n = 0;
    for (; n + 1 < limite && nome[n]; ++n)
        saida[n] = char(kChaveNome[(unsigned char)nome[n]]);
    return n;
}

std::string ChaveNomeIndice(const char* nome, size_t tamanho)
{
    char chave[kMaxChaveNome];
    return std::string(chave, ChaveNomeIndice(nome, tamanho, chave));
}

std::string ClassificacaoPelaMascara(std::string_view texto, const char mascaras[kMascaras][kTamanhoClassificacao])
{
    texto = texto.substr(0, kTamanhoClassificacao);
    if (texto.find('.') != std::string_view::npos || texto.size() < 2 || texto[0] < '0' || texto[0] > '9')
        return std::string(texto);
    const char* mascara = mascaras[texto[0] - '0'];
    std::string resultado;
    size_t lido = 0;
    for (size_t i = 0; i < kTamanhoClassificacao; ++i) {
        if (lido >= texto.size() || mascara[i] == '\0')
            break;
        resultado += mascara[i] == '.' ? '.' : texto[lido++];
    }
    return resultado;
}
