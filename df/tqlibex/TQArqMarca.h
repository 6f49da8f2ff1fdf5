// A mark object: takes a mark in a directory and releases it, deleting its file, when destroyed.
#pragma once

#include <cstdint>
#include <string>

#include "df/tqlibex/TQArqMarcaEnum.h"
#include "platform/Arquivo.h"

class CTQArqMarca : public ITQArqMarcaEnum {
public:
    CTQArqMarca() = default;
    ~CTQArqMarca();
    CTQArqMarca(const CTQArqMarca&) = delete;
    CTQArqMarca& operator=(const CTQArqMarca&) = delete;

    // 0 when taken; else the busy code of the type after the wait, 16080, 17396 when this
    // object holds a mark already, or 0x80070000 | system error.
    uint32_t Marca(const std::string& diretorio, uint8_t tipo, uint16_t usuario = 0, void* reservado = nullptr,
                   const char* sufixo = nullptr);
    void Desmarca();

private:
    std::string m_sCaminho;
    plataforma::ArquivoSO m_arquivo;
};
