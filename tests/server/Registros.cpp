#include "Registros.h"

namespace contrato {

// Each record as the C++ declarations lay it out; the offsets that clients rely on are pinned at
// compile time in server/Contrato.h.
#define C(campo) Campo{#campo, offsetof(R, campo), sizeof(R::campo)}
#define REGISTRO(tipo, ...) [] { using R = tipo; return Registro{#tipo, sizeof(R), {__VA_ARGS__}}; }()

const std::vector<Registro>& Registros()
{
    static const std::vector<Registro> registros = {
        REGISTRO(_REG_DF_INICIALIZAPS, C(ulUsuario), C(ulNumeroSessao), C(ulLinhaFonte), C(ulFiller),
                 C(usVersaoKarvo), C(usFiller), C(szEmpresa), C(szAplicativo), C(szModuleName), C(szArquivoFonte),
                 C(szNomeUsuarioDominio), C(cControle), C(cWTS), C(szFiller), C(uiCRC)),
        REGISTRO(_REG_DF_ERROPS, C(hr), C(nCodigoErro), C(lCodigoMensagem), C(iRegistro), C(iItem), C(lCodigoCampo),
                 C(nModuloMensagem), C(nTipoErro), C(usNumeroServidor), C(cMensagem), C(szEmpresa), C(cFiller)),
        REGISTRO(_REG_DF_FUNCAO_GENERICAPS, C(ulQtdBytes), C(cFiller), C(pListaBytes), C(pFiller)),
        REGISTRO(REG_DADOS_PLANO_ALT_PS, C(RemoverConsitenciasVinculo), C(lPosicaoPlano),
                 C(bConsiderarCaracteristicaDaContaDragAndDrop), C(cNomePlano), C(cFiller)),
        REGISTRO(ARRAY_REG_DADOS_PLANO_ALT_PS, C(iQtde), C(cFiller), C(pArrayDadosPlanoAlt), C(pFiller)),
        REGISTRO(ARRAY_REG_EXCLUI_PLANO_ALT_PS, C(iQtd), C(cFiller), C(pPosicoes), C(pFiller)),
        REGISTRO(REG_MASCARA_ALT_PS, C(Mascara), C(Caracteristica), C(Filler), C(cFiller)),
        REGISTRO(_MASCARA_PLANO_ALT, C(Velha), C(Nova)),
        REGISTRO(REG_PLANO_ALT_PS, C(lPosContaEmp), C(lPosContaAnaliticaEmp), C(lPosicaoConta), C(iIndTitulo),
                 C(iCaracteristica), C(cNome), C(cClassificacao), C(cCodigoProprio), C(cCodigoUsado), C(cTipo),
                 C(cExcluida), C(cTipoContaEmp), C(cFiller)),
        REGISTRO(REGCON_INDEX_ALT_PS, C(Tipo_IndCon), C(iCaracteristica), C(Classificacao), C(cFiller)),
        REGISTRO(ARRAY_REGCON_INDEX_ALT_PS, C(iQtde), C(cFiller), C(pArrayRegConIndex), C(pFiller)),
        REGISTRO(REG_VINCULO_ALT, C(bExcluir), C(lPosicaoAlt), C(lPosicaoPla), C(iCaracteristicaPla), C(cFiller)),
    };
    return registros;
}

#undef REGISTRO
#undef C

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
