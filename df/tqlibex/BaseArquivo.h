// The common base of the record files: a platform file with its path, and the check of a write position.
#pragma once

#include <string>

#include "platform/Arquivo.h"

class CBaseArquivo : public plataforma::ArquivoSO {
public:
    // S_OK, 0x80040A73 (beyond the end) or 0x80040A74 (negative). On an empty file,
    // position 1 first writes a zero record 0 so that the record lands in its place.
    HRESULT ValidaPosicaoGravacao(int64_t posicao, uint64_t tamanhoRegistro);

    const std::string& GetCaminho() const { return m_sCaminho; }

protected:
    std::string m_sCaminho;
};
