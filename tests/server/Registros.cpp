#include "Registros.h"

namespace contrato {

namespace {

#define CAMPO(registro, campo) Campo{#campo, offsetof(registro, campo), sizeof(registro::campo)}

std::vector<Registro> Monta()
{
    std::vector<Registro> r;
    r.push_back({"_REG_DF_INICIALIZAPS", sizeof(_REG_DF_INICIALIZAPS), 296,
                 {{"ulUsuario", 0, 4}, {"ulNumeroSessao", 4, 4}, {"ulLinhaFonte", 8, 4}, {"ulFiller", 12, 4},
                  {"usVersaoKarvo", 16, 2}, {"usFiller", 18, 6}, {"szEmpresa", 24, 48}, {"szAplicativo", 72, 48},
                  {"szModuleName", 120, 48}, {"szArquivoFonte", 168, 64}, {"szNomeUsuarioDominio", 232, 32},
                  {"cControle", 264, 1}, {"cWTS", 265, 1}, {"szFiller", 266, 22}, {"uiCRC", 288, 8}},
                 {CAMPO(_REG_DF_INICIALIZAPS, ulUsuario), CAMPO(_REG_DF_INICIALIZAPS, ulNumeroSessao),
                  CAMPO(_REG_DF_INICIALIZAPS, ulLinhaFonte), CAMPO(_REG_DF_INICIALIZAPS, ulFiller),
                  CAMPO(_REG_DF_INICIALIZAPS, usVersaoKarvo), CAMPO(_REG_DF_INICIALIZAPS, usFiller),
                  CAMPO(_REG_DF_INICIALIZAPS, szEmpresa), CAMPO(_REG_DF_INICIALIZAPS, szAplicativo),
                  CAMPO(_REG_DF_INICIALIZAPS, szModuleName), CAMPO(_REG_DF_INICIALIZAPS, szArquivoFonte),
                  CAMPO(_REG_DF_INICIALIZAPS, szNomeUsuarioDominio), CAMPO(_REG_DF_INICIALIZAPS, cControle),
                  CAMPO(_REG_DF_INICIALIZAPS, cWTS), CAMPO(_REG_DF_INICIALIZAPS, szFiller),
                  CAMPO(_REG_DF_INICIALIZAPS, uiCRC)}});
    r.push_back({"_REG_DF_ERROPS", sizeof(_REG_DF_ERROPS), 480,
                 {{"hr", 0, 4}, {"nCodigoErro", 4, 4}, {"lCodigoMensagem", 8, 4}, {"iRegistro", 12, 4},
                  {"iItem", 16, 4}, {"lCodigoCampo", 20, 4}, {"nModuloMensagem", 24, 2}, {"nTipoErro", 26, 2},
                  {"usNumeroServidor", 28, 2}, {"cMensagem", 30, 302}, {"szEmpresa", 332, 48},
                  {"cFiller", 380, 100}},
                 {CAMPO(_REG_DF_ERROPS, hr), CAMPO(_REG_DF_ERROPS, nCodigoErro),
                  CAMPO(_REG_DF_ERROPS, lCodigoMensagem), CAMPO(_REG_DF_ERROPS, iRegistro),
                  CAMPO(_REG_DF_ERROPS, iItem), CAMPO(_REG_DF_ERROPS, lCodigoCampo),
                  CAMPO(_REG_DF_ERROPS, nModuloMensagem), CAMPO(_REG_DF_ERROPS, nTipoErro),
                  CAMPO(_REG_DF_ERROPS, usNumeroServidor), CAMPO(_REG_DF_ERROPS, cMensagem),
                  CAMPO(_REG_DF_ERROPS, szEmpresa), CAMPO(_REG_DF_ERROPS, cFiller)}});
    r.push_back({"_REG_DF_FUNCAO_GENERICAPS", sizeof(_REG_DF_FUNCAO_GENERICAPS), 24,
                 {{"ulQtdBytes", 0, 4}, {"cFiller", 4, 4}, {"pListaBytes", 8, 8}, {"pFiller", 16, 8}},
                 {CAMPO(_REG_DF_FUNCAO_GENERICAPS, ulQtdBytes), CAMPO(_REG_DF_FUNCAO_GENERICAPS, cFiller),
                  CAMPO(_REG_DF_FUNCAO_GENERICAPS, pListaBytes), CAMPO(_REG_DF_FUNCAO_GENERICAPS, pFiller)}});
    r.push_back({"REG_DADOS_PLANO_ALT_PS", sizeof(REG_DADOS_PLANO_ALT_PS), 72,
                 {{"RemoverConsitenciasVinculo", 0, 4}, {"lPosicaoPlano", 4, 4},
                  {"bConsiderarCaracteristicaDaContaDragAndDrop", 8, 4}, {"cNomePlano", 12, 50}, {"cFiller", 62, 10}},
                 {CAMPO(REG_DADOS_PLANO_ALT_PS, RemoverConsitenciasVinculo), CAMPO(REG_DADOS_PLANO_ALT_PS, lPosicaoPlano),
                  CAMPO(REG_DADOS_PLANO_ALT_PS, bConsiderarCaracteristicaDaContaDragAndDrop),
                  CAMPO(REG_DADOS_PLANO_ALT_PS, cNomePlano), CAMPO(REG_DADOS_PLANO_ALT_PS, cFiller)}});
    r.push_back({"ARRAY_REG_DADOS_PLANO_ALT_PS", sizeof(ARRAY_REG_DADOS_PLANO_ALT_PS), 24,
                 {{"iQtde", 0, 2}, {"cFiller", 2, 6}, {"pArrayDadosPlanoAlt", 8, 8}, {"pFiller", 16, 8}},
                 {CAMPO(ARRAY_REG_DADOS_PLANO_ALT_PS, iQtde), CAMPO(ARRAY_REG_DADOS_PLANO_ALT_PS, cFiller),
                  CAMPO(ARRAY_REG_DADOS_PLANO_ALT_PS, pArrayDadosPlanoAlt), CAMPO(ARRAY_REG_DADOS_PLANO_ALT_PS, pFiller)}});
    r.push_back({"ARRAY_REG_EXCLUI_PLANO_ALT_PS", sizeof(ARRAY_REG_EXCLUI_PLANO_ALT_PS), 24,
                 {{"iQtd", 0, 4}, {"cFiller", 4, 4}, {"pPosicoes", 8, 8}, {"pFiller", 16, 8}},
                 {CAMPO(ARRAY_REG_EXCLUI_PLANO_ALT_PS, iQtd), CAMPO(ARRAY_REG_EXCLUI_PLANO_ALT_PS, cFiller),
                  CAMPO(ARRAY_REG_EXCLUI_PLANO_ALT_PS, pPosicoes), CAMPO(ARRAY_REG_EXCLUI_PLANO_ALT_PS, pFiller)}});
    r.push_back({"REG_MASCARA_ALT_PS", sizeof(REG_MASCARA_ALT_PS), 296,
                 {{"Mascara", 0, 280}, {"Caracteristica", 280, 10}, {"Filler", 290, 4}, {"cFiller", 294, 2}},
                 {CAMPO(REG_MASCARA_ALT_PS, Mascara), CAMPO(REG_MASCARA_ALT_PS, Caracteristica),
                  CAMPO(REG_MASCARA_ALT_PS, Filler), CAMPO(REG_MASCARA_ALT_PS, cFiller)}});
    r.push_back({"_MASCARA_PLANO_ALT", sizeof(_MASCARA_PLANO_ALT), 640, {{"Velha", 0, 320}, {"Nova", 320, 320}},
                 {CAMPO(_MASCARA_PLANO_ALT, Velha), CAMPO(_MASCARA_PLANO_ALT, Nova)}});
    r.push_back({"REG_PLANO_ALT_PS", sizeof(REG_PLANO_ALT_PS), 152,
                 {{"lPosContaEmp", 0, 4}, {"lPosContaAnaliticaEmp", 4, 4}, {"lPosicaoConta", 8, 4},
                  {"iIndTitulo", 12, 2}, {"iCaracteristica", 14, 2}, {"cNome", 16, 52}, {"cClassificacao", 68, 32},
                  {"cCodigoProprio", 100, 12}, {"cCodigoUsado", 112, 32}, {"cTipo", 144, 1}, {"cExcluida", 145, 1},
                  {"cTipoContaEmp", 146, 1}, {"cFiller", 147, 5}},
                 {CAMPO(REG_PLANO_ALT_PS, lPosContaEmp), CAMPO(REG_PLANO_ALT_PS, lPosContaAnaliticaEmp),
                  CAMPO(REG_PLANO_ALT_PS, lPosicaoConta), CAMPO(REG_PLANO_ALT_PS, iIndTitulo),
                  CAMPO(REG_PLANO_ALT_PS, iCaracteristica), CAMPO(REG_PLANO_ALT_PS, cNome),
                  CAMPO(REG_PLANO_ALT_PS, cClassificacao), CAMPO(REG_PLANO_ALT_PS, cCodigoProprio),
                  CAMPO(REG_PLANO_ALT_PS, cCodigoUsado), CAMPO(REG_PLANO_ALT_PS, cTipo),
                  CAMPO(REG_PLANO_ALT_PS, cExcluida), CAMPO(REG_PLANO_ALT_PS, cTipoContaEmp),
                  CAMPO(REG_PLANO_ALT_PS, cFiller)}});
    r.push_back({"REGCON_INDEX_ALT_PS", sizeof(REGCON_INDEX_ALT_PS), 24,
                 {{"Tipo_IndCon", 0, 4}, {"iCaracteristica", 4, 2}, {"Classificacao", 6, 14}, {"cFiller", 20, 4}},
                 {CAMPO(REGCON_INDEX_ALT_PS, Tipo_IndCon), CAMPO(REGCON_INDEX_ALT_PS, iCaracteristica),
                  CAMPO(REGCON_INDEX_ALT_PS, Classificacao), CAMPO(REGCON_INDEX_ALT_PS, cFiller)}});
    r.push_back({"ARRAY_REGCON_INDEX_ALT_PS", sizeof(ARRAY_REGCON_INDEX_ALT_PS), 24,
                 {{"iQtde", 0, 2}, {"cFiller", 2, 6}, {"pArrayRegConIndex", 8, 8}, {"pFiller", 16, 8}},
                 {CAMPO(ARRAY_REGCON_INDEX_ALT_PS, iQtde), CAMPO(ARRAY_REGCON_INDEX_ALT_PS, cFiller),
                  CAMPO(ARRAY_REGCON_INDEX_ALT_PS, pArrayRegConIndex), CAMPO(ARRAY_REGCON_INDEX_ALT_PS, pFiller)}});
    r.push_back({"REG_VINCULO_ALT", sizeof(REG_VINCULO_ALT), 16,
                 {{"bExcluir", 0, 4}, {"lPosicaoAlt", 4, 4}, {"lPosicaoPla", 8, 4}, {"iCaracteristicaPla", 12, 2},
                  {"cFiller", 14, 2}},
                 {CAMPO(REG_VINCULO_ALT, bExcluir), CAMPO(REG_VINCULO_ALT, lPosicaoAlt),
                  CAMPO(REG_VINCULO_ALT, lPosicaoPla), CAMPO(REG_VINCULO_ALT, iCaracteristicaPla),
                  CAMPO(REG_VINCULO_ALT, cFiller)}});
    return r;
}

#undef CAMPO

} // namespace

const std::vector<Registro>& Registros()
{
    static const std::vector<Registro> registros = Monta();
    return registros;
}

const std::vector<Metodo>& Slots()
{
    constexpr Direcao E = Direcao::Entra, S = Direcao::Sai;
    static const std::vector<Metodo> slots = {
        {"QueryInterface", {{"riid", E}, {"ppvObject", S}}},
        {"AddRef", {}},
        {"Release", {}},
        {"Inicializa_Padrao", {{"regps", E}}},
        {"KeepAlive", {{"pbOK", S}}},
        {"GetUltimoErro", {{"pregErrops", S}}},
        {"FuncaoGenerica", {{"ulFuncao", E}, {"regInps", E}, {"ppregOutps", S}}},
        {"BuscaPlanos", {{"ppArrayDadosPlanoAltps", S}}},
        {"GravaPlano", {{"lPosicaoIn", E}, {"RegDadosPlanoAlt", E}, {"lPosicaoOut", S}}},
        {"ExcluiPlanos", {{"RegExclui", E}}},
        {"SetPlano", {{"lPosicaoPlano", E}}},
        {"SetMascara", {{"lPosicaoPlano", E}, {"RegMascaraps", E}}},
        {"BuscaMascara", {{"lPosicaoPlano", E}, {"RegMascaraps", S}}},
        {"Le", {{"lPosicaoIn", E}, {"RegPlanoAltps", S}}},
        {"Grava", {{"lPosicaoIn", E}, {"RegPlanoAltps", E}, {"lPosicaoOut", S}}},
        {"GetQuantidadeRegistros", {{"lQuantidade", S}}},
        {"BuscaDados", {{"lQtd", E}, {"lPosicoes", E}, {"RegPlanoAltps", S}}},
        {"GetPlanoIndex", {{"bsTipo", E}, {"lPosicao", E}, {"ppArrayRegConIndexps", S}}},
        {"AlteraMascara", {{"Mascara", E}}},
        {"Existe", {{"bsCodigo", E}, {"iPrioridade", E}, {"lPosicao", S}, {"RegPlanoAltps", S}}},
        {"ExisteContaTitulo", {{"bsClassificacao", E}, {"lPosicao", S}}},
        {"ExisteSubordinadas", {{"bsClassificacao", E}}},
        {"Vinculo", {{"RegVinculo", E}}},
        {"BuscaVinculo", {{"lPosicaoAlt", E}, {"ppArrayRegConIndexps", S}}},
        {"GeraRelatorioPlanoAlternativo", {{"bsArquivoTmp", E}, {"bsRelatorio", E}, {"bsRazaoSocial", E}, {"lPlano", E}}},
        {"ExcluiContas", {{"iQtd", E}, {"pPosicoes", E}}},
    };
    return slots;
}

} // namespace contrato
