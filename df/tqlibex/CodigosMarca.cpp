#include "df/tqlibex/CodigosMarca.h"

#include "df/tqlibex/StatusArquivo.h"

namespace {

struct Par {
    uint8_t tipo;
    uint32_t codigo;
};

// The suite's busy codes by mark type, as the mark object answers them.
constexpr Par kCodigos[] = {
    {1, 16225},   {2, 16233},   {3, 16241},   {4, 16250},   {5, 16268},   {6, 16276},   {7, 16284},
    {8, 16306},   {9, 16357},   {10, 80021},  {11, 80039},  {12, 80047},  {13, 80055},  {14, 82015},
    {15, 82023},  {16, 80195},  {17, 83097},  {18, 76317},  {19, 76325},  {20, 76333},  {21, 76341},
    {22, 83101},  {23, 80233},  {25, 996},    {26, 997},    {27, 998},    {28, 999},    {29, 310468},
    {30, 316571}, {31, 31},     {32, 32},     {50, 3171},   {51, 347469}, {52, 52},     {53, 53},
    {55, 54},     {56, 55},     {57, 57},     {60, 59},     {68, 2724},   {69, 2725},   {70, 2726},
    {71, 2727},   {101, 2722},  {102, 2723},  {110, 3240},  {200, 32000}, {201, 32018}, {202, 32026},
    {203, 32034}, {204, 32042}, {205, 32051}, {206, 32069}, {207, 32077}, {208, 32085}, {209, 32093},
    {210, 32107}, {211, 32115}, {212, 32123}, {213, 32131}, {253, 253},
};

// The older scheme names the types 10 to 24 with codes of its own.
constexpr uint32_t kCodigosAnteriores[] = {17400, 17418, 17426, 17434, 17442, 17451, 17469, 17477,
                                           17485, 17493, 17507, 17515, 17523, 17531, 17542};

uint32_t DaTabela(unsigned tipo)
{
    for (const Par& p : kCodigos)
        if (p.tipo == tipo)
            return p.codigo;
    return statusmarca::Ocupada;
}

bool Entre(unsigned v, unsigned de, unsigned ate) { return v >= de && v <= ate; }

} // namespace

uint32_t CodigoMarcaOcupada(EsquemaMarca esquema, unsigned tipo)
{
    switch (esquema) {
    case EsquemaMarca::Objeto:
        return DaTabela(tipo);
    case EsquemaMarca::ArqAtual:
        if (Entre(tipo, 1, 30) || Entre(tipo, 50, 52) || Entre(tipo, 200, 213))
            return DaTabela(tipo);
        return statusmarca::Ocupada;
    case EsquemaMarca::ArqAnterior:
        if (Entre(tipo, 10, 24))
            return kCodigosAnteriores[tipo - 10];
        if (Entre(tipo, 1, 9) || Entre(tipo, 25, 28) || Entre(tipo, 200, 213))
            return DaTabela(tipo);
        return statusmarca::Ocupada;
    }
    return statusmarca::Ocupada;
}
