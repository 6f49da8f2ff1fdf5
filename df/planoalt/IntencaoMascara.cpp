#include "df/planoalt/IntencaoMascara.h"

#include <cstddef>
#include <cstring>
#include <string_view>

#include "df/tqlibex/FuncoesArq.h"
#include "df/tqlibex/TQPath.h"
#include "platform/Arquivo.h"

namespace {

constexpr char kAssinaturaIntencao[8] = {'Z', 'Z', 'M', 'A', 'S', 'C', '0', '1'};

uint64_t CrcDoCorpo(const RegIntencaoMascara& intencao)
{
    return TQCrc64(std::string_view(reinterpret_cast<const char*>(&intencao), offsetof(RegIntencaoMascara, crc)));
}

} // namespace

DWORD GravaIntencao(const std::string& caminho, RegIntencaoMascara& intencao)
{
    std::memcpy(intencao.assinatura, kAssinaturaIntencao, sizeof intencao.assinatura);
    intencao.crc = CrcDoCorpo(intencao);
    plataforma::ArquivoSO arquivo;
    const plataforma::ModoArquivo modo{true, true, false, false, plataforma::Disposicao::CriaSempre};
    DWORD e = arquivo.Abre(caminho.c_str(), modo);
    if (!e)
        e = arquivo.Grava(&intencao, sizeof intencao);
    if (!e)
        e = arquivo.Descarrega();
    const DWORD ef = arquivo.Fecha();
    if (!e)
        e = ef;
    // The new name must survive a power cut as well as the bytes.
    if (!e)
        e = plataforma::DescarregaDiretorio(CTQPath::GetDiretorio(caminho).c_str());
    return e;
}

bool LeIntencao(const std::string& caminho, RegIntencaoMascara& intencao)
{
    std::string conteudo;
    if (!TQLeArquivoInteiro(caminho, conteudo) || conteudo.size() != sizeof intencao)
        return false;
    std::memcpy(&intencao, conteudo.data(), sizeof intencao);
    return std::memcmp(intencao.assinatura, kAssinaturaIntencao, sizeof intencao.assinatura) == 0 &&
           intencao.crc == CrcDoCorpo(intencao);
}
