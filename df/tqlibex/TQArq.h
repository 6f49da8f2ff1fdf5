// The older record file, used here only to take and release marks between processes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Arquivo.h"

class CTQarq {
public:
    CTQarq() = default;
    ~CTQarq();
    CTQarq(const CTQarq&) = delete;
    CTQarq& operator=(const CTQarq&) = delete;

    // 0 when the mark is taken; else the busy code of the type, 16080, 16209 (a mark left
    // behind in the older scheme), 17396 (this object holds one already) or 0x80070000 | error.
    uint32_t Marca(const std::string& diretorio, uint8_t tipo, uint32_t dono, const char* modulo = nullptr);
    void Desmarca();

    // Clears the record of an older-scheme mark that nobody holds: left by a process that died
    // holding it. A live holder keeps the file open, so its mark is never touched. 0, with the
    // type cleared in `tipo` (0: there was none), or 0x80070000 | system error.
    static uint32_t LiberaMarcaDeixada(const std::string& diretorio, uint8_t& tipo, const char* modulo = nullptr);

    // The holder byte of the mark that refused us (older scheme).
    uint8_t GetDono() const { return m_dono; }

private:
    uint32_t MarcaAnterior(const std::string& diretorio, uint8_t tipo, uint8_t dono, const char* modulo);
    uint32_t LeRegistroMarca(uint8_t registro[2]);

    plataforma::ArquivoSO m_arquivo; // open while the mark is held
    bool m_bEsquemaAnterior = false;
    uint8_t m_dono = 0;
};
