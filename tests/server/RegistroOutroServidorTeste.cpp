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
    EXPECT_EQ(r.ulUsuario, 12u);
    EXPECT_EQ(r.ulNumeroSessao, 3456u);
    EXPECT_EQ(r.ulLinhaFonte, 321u);
    EXPECT_EQ(r.usVersaoKarvo, 118);
    EXPECT_STREQ(r.szEmpresa, "0001");
    EXPECT_STREQ(r.szAplicativo, "testes_server") << "no directory, no extension";
    EXPECT_STREQ(r.szArquivoFonte, "TQDF_PlanoAltRelatorio");
    EXPECT_STREQ(r.szNomeUsuarioDominio, plataforma::NomeUsuarioSO().substr(0, 31).c_str());
    EXPECT_EQ(r.cControle, 'B');
    EXPECT_EQ(r.uiCRC, Crc64(&r, 288)) << "the CRC of the receiver's rule";
    // Everything else is zero.
    _REG_DF_INICIALIZAPS resto = r;
    resto.ulUsuario = resto.ulNumeroSessao = resto.ulLinhaFonte = 0;
    resto.usVersaoKarvo = 0;
    resto.cControle = resto.cWTS = 0;
    resto.uiCRC = 0;
    for (char* campo : {resto.szEmpresa, resto.szAplicativo, resto.szModuleName, resto.szArquivoFonte,
                        resto.szNomeUsuarioDominio})
        std::memset(campo, 0, std::strlen(campo));
    const _REG_DF_INICIALIZAPS zero{};
    EXPECT_EQ(std::memcmp(&resto, &zero, sizeof zero), 0);

    EXPECT_EQ(m_obj->Inicializa_Padrao(r), S_OK);
}

} // namespace
} // namespace cliente
