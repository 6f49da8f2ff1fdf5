#include "df/planoalt/CopiaCampo.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "df/tqlibex/TQMensagens.h"

namespace {

std::string_view SemDiretorio(std::string_view arquivo)
{
    const size_t barra = arquivo.find_last_of("/\\");
    return barra == std::string_view::npos ? arquivo : arquivo.substr(barra + 1);
}

} // namespace

void TQCopiaCampo(char* campo, size_t tamanho, std::string_view texto, bool usaTudo, TQOnde onde)
{
    if (!campo || tamanho == 0)
        return;
    std::memset(campo, 0, tamanho);
    const size_t espaco = usaTudo ? tamanho : tamanho - 1;
    const size_t fim = texto.find('\0');
    if (fim != std::string_view::npos)
        texto = texto.substr(0, fim);
    std::memcpy(campo, texto.data(), std::min(texto.size(), espaco));
    if (texto.size() <= espaco)
        return;
    char relato[512];
    const std::string arquivo(SemDiretorio(onde.arquivo));
    std::snprintf(relato, sizeof relato, "Campo de %zu bytes, texto de %zu caracteres (%s, %s, %s %s, linha %d)",
                  tamanho, texto.size(), arquivo.c_str(), onde.funcao, __DATE__, __TIME__,
                  onde.linha);
    TQRelataErro(HRESULT(kMensagemTextoCortado), S_OK, int32_t(tamanho), std::string(), arquivo.c_str(), onde.linha,
                 true, relato);
}
