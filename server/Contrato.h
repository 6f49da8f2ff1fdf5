// The contract as C++ sees it on both builds: the header that widl generates from ZAZAZU.idl,
// with the layout that clients compiled elsewhere rely on (every field's offset) checked here at
// compile time.
#pragma once

#include <cstddef>

// The generated header names `interface` before its own includes: the base declarations first.
#include <unknwn.h>

#include "ZAZAZU.h"

#define ZAZ_CAMPO(registro, campo, posicao) static_assert(offsetof(registro, campo) == (posicao))

static_assert(sizeof(_REG_DF_INICIALIZAPS) == 296);
ZAZ_CAMPO(_REG_DF_INICIALIZAPS, ulUsuario, 0);
ZAZ_CAMPO(_REG_DF_INICIALIZAPS, ulNumeroSessao, 4);
ZAZ_CAMPO(_REG_DF_INICIALIZAPS, ulLinhaFonte, 8);
ZAZ_CAMPO(_REG_DF_INICIALIZAPS, ulFiller, 12);
ZAZ_CAMPO(_REG_DF_INICIALIZAPS, usVersaoKarvo, 16);
ZAZ_CAMPO(_REG_DF_INICIALIZAPS, usFiller, 18);
ZAZ_CAMPO(_REG_DF_INICIALIZAPS, szEmpresa, 24);
ZAZ_CAMPO(_REG_DF_INICIALIZAPS, szAplicativo, 72);
ZAZ_CAMPO(_REG_DF_INICIALIZAPS, szModuleName, 120);
ZAZ_CAMPO(_REG_DF_INICIALIZAPS, szArquivoFonte, 168);
ZAZ_CAMPO(_REG_DF_INICIALIZAPS, szNomeUsuarioDominio, 232);
ZAZ_CAMPO(_REG_DF_INICIALIZAPS, cControle, 264);
ZAZ_CAMPO(_REG_DF_INICIALIZAPS, cWTS, 265);
ZAZ_CAMPO(_REG_DF_INICIALIZAPS, szFiller, 266);
ZAZ_CAMPO(_REG_DF_INICIALIZAPS, uiCRC, 288);

static_assert(sizeof(_REG_DF_ERROPS) == 480);
ZAZ_CAMPO(_REG_DF_ERROPS, hr, 0);
ZAZ_CAMPO(_REG_DF_ERROPS, nCodigoErro, 4);
ZAZ_CAMPO(_REG_DF_ERROPS, lCodigoMensagem, 8);
ZAZ_CAMPO(_REG_DF_ERROPS, iRegistro, 12);
ZAZ_CAMPO(_REG_DF_ERROPS, iItem, 16);
ZAZ_CAMPO(_REG_DF_ERROPS, lCodigoCampo, 20);
ZAZ_CAMPO(_REG_DF_ERROPS, nModuloMensagem, 24);
ZAZ_CAMPO(_REG_DF_ERROPS, nTipoErro, 26);
ZAZ_CAMPO(_REG_DF_ERROPS, usNumeroServidor, 28);
ZAZ_CAMPO(_REG_DF_ERROPS, cMensagem, 30);
ZAZ_CAMPO(_REG_DF_ERROPS, szEmpresa, 332);
ZAZ_CAMPO(_REG_DF_ERROPS, cFiller, 380);

static_assert(sizeof(_REG_DF_FUNCAO_GENERICAPS) == 24);
ZAZ_CAMPO(_REG_DF_FUNCAO_GENERICAPS, ulQtdBytes, 0);
ZAZ_CAMPO(_REG_DF_FUNCAO_GENERICAPS, cFiller, 4);
ZAZ_CAMPO(_REG_DF_FUNCAO_GENERICAPS, pListaBytes, 8);
ZAZ_CAMPO(_REG_DF_FUNCAO_GENERICAPS, pFiller, 16);

static_assert(sizeof(REG_DADOS_PLANO_ALT_PS) == 72);
ZAZ_CAMPO(REG_DADOS_PLANO_ALT_PS, RemoverConsitenciasVinculo, 0);
ZAZ_CAMPO(REG_DADOS_PLANO_ALT_PS, lPosicaoPlano, 4);
ZAZ_CAMPO(REG_DADOS_PLANO_ALT_PS, bConsiderarCaracteristicaDaContaDragAndDrop, 8);
ZAZ_CAMPO(REG_DADOS_PLANO_ALT_PS, cNomePlano, 12);
ZAZ_CAMPO(REG_DADOS_PLANO_ALT_PS, cFiller, 62);

static_assert(sizeof(ARRAY_REG_DADOS_PLANO_ALT_PS) == 24);
ZAZ_CAMPO(ARRAY_REG_DADOS_PLANO_ALT_PS, iQtde, 0);
ZAZ_CAMPO(ARRAY_REG_DADOS_PLANO_ALT_PS, cFiller, 2);
ZAZ_CAMPO(ARRAY_REG_DADOS_PLANO_ALT_PS, pArrayDadosPlanoAlt, 8);
ZAZ_CAMPO(ARRAY_REG_DADOS_PLANO_ALT_PS, pFiller, 16);

static_assert(sizeof(ARRAY_REG_EXCLUI_PLANO_ALT_PS) == 24);
ZAZ_CAMPO(ARRAY_REG_EXCLUI_PLANO_ALT_PS, iQtd, 0);
ZAZ_CAMPO(ARRAY_REG_EXCLUI_PLANO_ALT_PS, cFiller, 4);
ZAZ_CAMPO(ARRAY_REG_EXCLUI_PLANO_ALT_PS, pPosicoes, 8);
ZAZ_CAMPO(ARRAY_REG_EXCLUI_PLANO_ALT_PS, pFiller, 16);

static_assert(sizeof(REG_MASCARA_ALT_PS) == 296);
ZAZ_CAMPO(REG_MASCARA_ALT_PS, Mascara, 0);
ZAZ_CAMPO(REG_MASCARA_ALT_PS, Caracteristica, 280);
ZAZ_CAMPO(REG_MASCARA_ALT_PS, Filler, 290);
ZAZ_CAMPO(REG_MASCARA_ALT_PS, cFiller, 294);

static_assert(sizeof(_MASCARA_PLANO_ALT) == 640);
ZAZ_CAMPO(_MASCARA_PLANO_ALT, Velha, 0);
ZAZ_CAMPO(_MASCARA_PLANO_ALT, Nova, 320);

static_assert(sizeof(REG_PLANO_ALT_PS) == 152);
ZAZ_CAMPO(REG_PLANO_ALT_PS, lPosContaEmp, 0);
ZAZ_CAMPO(REG_PLANO_ALT_PS, lPosContaAnaliticaEmp, 4);
ZAZ_CAMPO(REG_PLANO_ALT_PS, lPosicaoConta, 8);
ZAZ_CAMPO(REG_PLANO_ALT_PS, iIndTitulo, 12);
ZAZ_CAMPO(REG_PLANO_ALT_PS, iCaracteristica, 14);
ZAZ_CAMPO(REG_PLANO_ALT_PS, cNome, 16);
ZAZ_CAMPO(REG_PLANO_ALT_PS, cClassificacao, 68);
ZAZ_CAMPO(REG_PLANO_ALT_PS, cCodigoProprio, 100);
ZAZ_CAMPO(REG_PLANO_ALT_PS, cCodigoUsado, 112);
ZAZ_CAMPO(REG_PLANO_ALT_PS, cTipo, 144);
ZAZ_CAMPO(REG_PLANO_ALT_PS, cExcluida, 145);
ZAZ_CAMPO(REG_PLANO_ALT_PS, cTipoContaEmp, 146);
ZAZ_CAMPO(REG_PLANO_ALT_PS, cFiller, 147);

static_assert(sizeof(REGCON_INDEX_ALT_PS) == 24);
ZAZ_CAMPO(REGCON_INDEX_ALT_PS, Tipo_IndCon, 0);
ZAZ_CAMPO(REGCON_INDEX_ALT_PS, iCaracteristica, 4);
ZAZ_CAMPO(REGCON_INDEX_ALT_PS, Classificacao, 6);
ZAZ_CAMPO(REGCON_INDEX_ALT_PS, cFiller, 20);

static_assert(sizeof(ARRAY_REGCON_INDEX_ALT_PS) == 24);
ZAZ_CAMPO(ARRAY_REGCON_INDEX_ALT_PS, iQtde, 0);
ZAZ_CAMPO(ARRAY_REGCON_INDEX_ALT_PS, cFiller, 2);
ZAZ_CAMPO(ARRAY_REGCON_INDEX_ALT_PS, pArrayRegConIndex, 8);
ZAZ_CAMPO(ARRAY_REGCON_INDEX_ALT_PS, pFiller, 16);

static_assert(sizeof(REG_VINCULO_ALT) == 16);
ZAZ_CAMPO(REG_VINCULO_ALT, bExcluir, 0);
ZAZ_CAMPO(REG_VINCULO_ALT, lPosicaoAlt, 4);
ZAZ_CAMPO(REG_VINCULO_ALT, lPosicaoPla, 8);
ZAZ_CAMPO(REG_VINCULO_ALT, iCaracteristicaPla, 12);
ZAZ_CAMPO(REG_VINCULO_ALT, cFiller, 14);

#undef ZAZ_CAMPO
