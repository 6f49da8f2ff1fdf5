// The common base of the record files: the platform file they hold with its path, and the check
// of a write position. The file is held, not inherited, so no caller reaches past the retry rules.
#pragma once

#include <string>

#include "platform/Arquivo.h"

class CBaseArquivo {
public:
    // S_OK, 0x80040A73 (beyond the end) or 0x80040A74 (negative). On an empty file,
    // position 1 first writes a zero record 0 so that the record lands in its place.
    HRESULT ValidaPosicaoGravacao(int64_t posicao, uint64_t tamanhoRegistro);

    const std::string& GetCaminho() const { return m_sCaminho; }
    // Puts what was written on the disk itself; 0 or the system error.
    DWORD Descarrega() { return m_arquivo.Descarrega(); }
    // Which file is open (false when none is, or the system cannot tell).
    bool Identidade(plataforma::IdentidadeArquivo& id) const { return m_arquivo.Identidade(id) == 0; }

protected:
    plataforma::ArquivoSO m_arquivo;
    std::string m_sCaminho;
};
