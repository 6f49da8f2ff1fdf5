#include "tools/zazazu/Lote.h"

#include <cstring>

#include "df/planoalt/FuncoesGenericas.h"

namespace zazazu {

std::vector<uint8_t> BlocoImportacao(const std::vector<LinhaCsv>& linhas, uint32_t opcoes)
{
    std::vector<uint8_t> bloco(sizeof(CabecalhoImportacao) + linhas.size() * sizeof(REG_PLANO_ALT_PS));
    const CabecalhoImportacao cab{opcoes, uint32_t(linhas.size())};
    std::memcpy(bloco.data(), &cab, sizeof cab);
    for (size_t i = 0; i < linhas.size(); ++i) {
        REG_PLANO_ALT_PS c{};
        const LinhaCsv& l = linhas[i];
        std::memcpy(c.cClassificacao, l.classificacao.data(), std::min(l.classificacao.size(), sizeof c.cClassificacao - 1));
        std::memcpy(c.cCodigoProprio, l.codigo.data(), std::min(l.codigo.size(), sizeof c.cCodigoProprio - 1));
        std::memcpy(c.cNome, l.nome.data(), std::min(l.nome.size(), sizeof c.cNome - 1));
        c.cTipo = uint8_t(l.tipo);
        c.iCaracteristica = l.caracteristica;
        std::memcpy(bloco.data() + sizeof cab + i * sizeof c, &c, sizeof c);
    }
    return bloco;
}

bool LinhasExportadas(const std::vector<uint8_t>& bloco, std::vector<LinhaCsv>& linhas, uint32_t& vinculos)
{
    linhas.clear();
    vinculos = 0;
    if (bloco.size() < sizeof(CabecalhoExportacao))
        return false;
    const auto cab = LeDoBloco<CabecalhoExportacao>(bloco, 0);
    const size_t inicioVinculos = sizeof cab + size_t(cab.ulQtdContas) * sizeof(REG_PLANO_ALT_PS);
    if (bloco.size() != inicioVinculos + size_t(cab.ulQtdVinculos) * sizeof(VinculoExportado))
        return false;
    linhas.resize(cab.ulQtdContas);
    std::vector<size_t> indicePorPosicao;
    for (uint32_t i = 0; i < cab.ulQtdContas; ++i) {
        const auto c = LeDoBloco<REG_PLANO_ALT_PS>(bloco, sizeof cab + i * sizeof(REG_PLANO_ALT_PS));
        LinhaCsv& l = linhas[i];
        l.classificacao.assign(c.cClassificacao, strnlen(c.cClassificacao, sizeof c.cClassificacao));
        l.codigo.assign(c.cCodigoProprio, strnlen(c.cCodigoProprio, sizeof c.cCodigoProprio));
        l.nome.assign(c.cNome, strnlen(c.cNome, sizeof c.cNome));
        l.tipo = char(c.cTipo);
        l.caracteristica = c.iCaracteristica;
        if (c.lPosicaoConta < 1)
            return false;
        if (size_t(c.lPosicaoConta) >= indicePorPosicao.size())
            indicePorPosicao.resize(size_t(c.lPosicaoConta) + 1, SIZE_MAX);
        indicePorPosicao[size_t(c.lPosicaoConta)] = i;
    }
    for (uint32_t k = 0; k < cab.ulQtdVinculos; ++k) {
        const auto v = LeDoBloco<VinculoExportado>(bloco, inicioVinculos + k * sizeof(VinculoExportado));
        if (v.lPosicaoAlt < 1 || size_t(v.lPosicaoAlt) >= indicePorPosicao.size() ||
            indicePorPosicao[size_t(v.lPosicaoAlt)] == SIZE_MAX)
            return false;
        linhas[indicePorPosicao[size_t(v.lPosicaoAlt)]].vinculos.push_back(v.lPosicaoPla);
    }
    vinculos = cab.ulQtdVinculos;
    return true;
}

} // namespace zazazu
