// The session record this server hands to another server: filled from an identity, and
// accepted by a receiver's checks.
#include <cstring>

#include "Cliente.h"
#include "df/tqlibex/TQProfiler.h"
#include "platform/Processo.h"
#include "server/Core/TQRPCDLL/TQInicializacao.h"

namespace cliente {
namespace {

using RegistroOutroServidor = ClienteTeste;

TEST_F(RegistroOutroServidor, PreenchidoPelaIdentidadeEAceitoPelasVerificacoes)
{
    CTQProfilerEmpresa identidade("0001", 12, 3456);
    const _REG_DF_INICIALIZAPS r = TQRegistroParaOutroServidor(identidade, "TQDF_PlanoAltRelatorio", 321);
    // The fields from the identity, the CRC of the receiver's rule, everything else zero.
    _REG_DF_INICIALIZAPS esperado{};
    esperado.ulUsuario = 12;
    esperado.ulNumeroSessao = 3456;
    esperado.ulLinhaFonte = 321;
    esperado.usVersaoKarvo = 118;
    esperado.cControle = 'B';
    std::strcpy(esperado.szEmpresa, "0001");
    std::strcpy(esperado.szAplicativo, "testes_server");
    std::strcpy(esperado.szModuleName, r.szModuleName);
    std::strcpy(esperado.szArquivoFonte, "TQDF_PlanoAltRelatorio");
    std::strcpy(esperado.szNomeUsuarioDominio, plataforma::NomeUsuarioSO().substr(0, 31).c_str());
    esperado.uiCRC = Crc64(&esperado, 288);
    EXPECT_EQ(std::memcmp(&r, &esperado, sizeof r), 0);
    EXPECT_EQ(m_obj->Inicializa_Padrao(r), S_OK);
}

} // namespace
} // namespace cliente
