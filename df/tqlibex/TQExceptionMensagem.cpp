// Apart from the translation, so that code which only translates exceptions does not
// need the message files.
#include "df/tqlibex/TQExcecoes.h"
#include "df/tqlibex/TQMensagens.h"

const std::string& CTQException::Mensagem()
{
    if (m_sMensagem.empty())
        m_sMensagem = TQTextoArquivoMensagens(m_ulCodigoMensagem, m_ulModulo);
    return m_sMensagem;
}
