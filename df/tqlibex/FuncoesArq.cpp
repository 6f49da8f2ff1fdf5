#include "df/tqlibex/FuncoesArq.h"

#include <array>
#include <string>

#include "platform/Texto.h"

using namespace statusarq;

const RegrasCausa kRegrasAbertura = {
    {}, {}, {NaoEncontrado, true}, {CaminhoInvalido, true}, {MuitosAbertos, false}, {AcessoNegado, false},
    {ArquivoInvalido, true}, {}, {DiretorioCheio, true}, {}, {}, {Compartilhamento, false}, {Bloqueio, false},
    {DiscoCheio, false}, {},
};

StatusArq StatusDaCausa(plataforma::TipoErroArquivo causa, const RegrasCausa& regras, bool ultimaTentativa)
{
    const int i = int(causa);
    if (i > 0 && i < 15 && regras[i].codigo) {
        if (regras[i].imediato || ultimaTentativa)
            return regras[i].codigo;
        return Ok;
    }
    return ultimaTentativa ? TentativasEsgotadas : Ok;
}

bool ModoDaLetra(char letra, plataforma::ModoArquivo& modo)
{
    using plataforma::Disposicao;
    switch (letra) {
    case 'L':
        modo = {true, false, true, true, Disposicao::AbreExistente};
        return true;
    case 'G':
        modo = {true, true, true, false, Disposicao::AbreExistente};
        return true;
    case 'C':
        modo = {true, true, true, false, Disposicao::CriaSempre};
        return true;
    default:
        return false;
    }
}

namespace {

constexpr std::array<uint64_t, 256> TabelaCrc64()
{
    std::array<uint64_t, 256> t{};
    for (uint64_t i = 0; i < 256; ++i) {
        uint64_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? (c >> 1) ^ 0xC96C5795D7870F42ull : c >> 1;
        t[i] = c;
    }
    return t;
}
constexpr auto kTabelaCrc64 = TabelaCrc64();

} // namespace

uint64_t TQCrc64(std::string_view dados, uint64_t anterior)
{
    uint64_t crc = anterior;
    for (unsigned char b : dados)
        crc = kTabelaCrc64[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return crc;
}

uint64_t ChaveNomeArquivo(std::string_view caminho)
{
    std::string minusculo(caminho);
    for (char& c : minusculo)
        c = plataforma::MinusculaAnsi(c);
    return TQCrc64(minusculo);
}

bool TQLeArquivoInteiro(const std::string& caminho, std::string& conteudo, uint64_t maximo)
{
    plataforma::ArquivoSO arquivo;
    uint64_t tamanho = 0;
    if (arquivo.Abre(caminho.c_str(), {}) != 0 || arquivo.Tamanho(tamanho) != 0)
        return false;
    conteudo.assign(size_t(tamanho < maximo ? tamanho : maximo), '\0');
    DWORD lidos = 0;
    if (arquivo.Le(conteudo.data(), DWORD(conteudo.size()), lidos) != 0)
        return false;
    conteudo.resize(lidos);
    return true;
}
