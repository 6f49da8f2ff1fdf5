#include "server/Core/TQRPCDLL/TQInicializacao.h"

#include <string_view>

#include "df/planoalt/CopiaCampo.h"
#include "df/tqlibex/FuncoesArq.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQPath.h"
#include "df/tqlibex/TQProfiler.h"
#include "df/tqlibex/TQRegistro.h"
#include "platform/Processo.h"

uint64_t TQCrcInicializacao(const _REG_DF_INICIALIZAPS& registro)
{
    return TQCrc64(std::string_view(reinterpret_cast<const char*>(&registro), offsetof(_REG_DF_INICIALIZAPS, uiCRC)));
}

bool TQControleInicializacaoDesabilitado()
{
    const CTQRegistro chave(plataforma::RaizRegistro::LocalMachine, kChaveSuite);
    return chave.LeDword(kValorDesabilitaControleInicializacao, 0) != 0;
}

bool TQEstruturaInicializacaoValida(const _REG_DF_INICIALIZAPS& registro)
{
    return registro.szAplicativo[0] != '\0' && registro.szModuleName[0] != '\0' &&
           registro.szArquivoFonte[0] != '\0' && registro.ulLinhaFonte != 0 && registro.cControle == 'B';
}

_REG_DF_INICIALIZAPS TQRegistroParaOutroServidor(ITQDF_Profiler& identidade, const char* fonte, int linha)
{
    _REG_DF_INICIALIZAPS r{};
    r.ulUsuario = identidade.GetUsuario();
    r.ulNumeroSessao = identidade.GetNumeroSessao();
    r.ulLinhaFonte = static_cast<uint32_t>(linha);
    r.usVersaoKarvo = kVersaoKarvo;
    TQCopiaCampo(r.szEmpresa, sizeof r.szEmpresa, identidade.GetEmpresa());
    TQCopiaCampo(r.szAplicativo, sizeof r.szAplicativo, CTQPath::GetNomeSemExtensao(plataforma::CaminhoExecutavel()));
    TQCopiaCampo(r.szModuleName, sizeof r.szModuleName, CTQPath::GetNomeSemExtensao(plataforma::CaminhoEsteModulo()));
    TQCopiaCampo(r.szArquivoFonte, sizeof r.szArquivoFonte, fonte ? fonte : "");
    TQCopiaCampo(r.szNomeUsuarioDominio, sizeof r.szNomeUsuarioDominio, plataforma::NomeUsuarioSO());
    r.cControle = 'B';
    r.cWTS = plataforma::SessaoRemota() ? 1 : 0;
    r.uiCRC = TQCrcInicializacao(r);
    return r;
}
