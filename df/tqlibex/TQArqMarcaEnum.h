// The kinds of work that a mark excludes between processes.
#pragma once

struct ITQArqMarcaEnum {
    enum TipoMarca : unsigned char {
        GeracaoDeIDX = 79, // index generation
    };
};
