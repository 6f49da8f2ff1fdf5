#include "platform/Mensagem.h"

#include <cstdio>

#include "platform/Processo.h"
#include "platform/Texto.h"

namespace plataforma {

// The dialog of the interactive desktop, where there is one (win32 backend).
bool MostraDialogo(const std::string& titulo, const std::string& texto, EstiloMensagem estilo);

void MostraMensagem(const std::string& titulo, const std::string& texto, EstiloMensagem estilo)
{
    if (VariavelAmbiente("ZAZAZU_DIALOGOS") == "1" && MostraDialogo(titulo, texto, estilo))
        return;
    const std::string linha = AnsiParaUtf8(titulo + ": " + texto) + "\n";
    std::fwrite(linha.data(), 1, linha.size(), stderr);
}

} // namespace plataforma
