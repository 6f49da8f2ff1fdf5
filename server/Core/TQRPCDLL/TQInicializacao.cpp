#include "server/Core/TQRPCDLL/TQInicializacao.h"

#include <cstring>
#include <string>
#include <string_view>

#include "df/tqlibex/FuncoesArq.h"
#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQProfiler.h"
#include "df/tqlibex/TQRegistro.h"
#include "platform/Processo.h"

namespace {

// A file name without directory and extension.
std::string NomeBase(const std::string& caminho)
{
    const size_t barra = caminho.find_last_of("/\\");
    std::string nome = barra == std::string::npos ? caminho : caminho.substr(barra + 1);
    const size_t ponto = nome.rfind('.');
    if (ponto != std::string::npos && ponto > 0)
        nome.resize(ponto);
    return nome;
}

// Cut to the field: a longer text is the sender's problem, never an overflow here.
template <size_t N>
void Copia(char (&campo)[N], std::string_view texto)
{
    const size_t n = texto.size() < N ? texto.size() : N - 1;
    std::memcpy(campo, texto.data(), n);
    campo[n] = '\0';
}

} // namespace

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
    Copia(r.szEmpresa, identidade.GetEmpresa());
    Copia(r.szAplicativo, NomeBase(plataforma::CaminhoExecutavel()));
    Copia(r.szModuleName, NomeBase(plataforma::CaminhoEsteModulo()));
    Copia(r.szArquivoFonte, fonte ? fonte : "");
    Copia(r.szNomeUsuarioDominio, plataforma::NomeUsuarioSO());
    r.cControle = 'B';
    r.cWTS = plataforma::SessaoRemota() ? 1 : 0;
    r.uiCRC = TQCrcInicializacao(r);
    return r;
}
