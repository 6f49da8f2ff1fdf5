// The service's files in the company's data directory and their record layouts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr const char* kArquivoPlanos = "DFPLANOS.DAT";
constexpr const char* kArquivoMascaras = "DFMASCAR.DAT";
constexpr const char* kArquivoTrabalho = "Plano.dat";
constexpr const char* kArquivoTrabalhoAntigo = "Plano.old";
constexpr size_t kTamanhoNomeArquivo = 14; // the file-name field of a plan record

#pragma pack(push, 1)
// One plan of the catalogue ("DFPLANOS.DAT", 80 bytes; record number = plan number).
struct RegPlano {
    char cNome[50];                    // byte 49 always 0
    char cArquivo[kTamanhoNomeArquivo]; // chart file name, NUL-terminated
    uint8_t reservado[14];             // zero in a new record, kept as read otherwise
    uint8_t bConsiderarCaracteristica; // low byte of bConsiderarCaracteristicaDaContaDragAndDrop
    uint8_t bFlags;                    // kPlanoExcluido, kPlanoSemConsistenciaVinculo, others kept
};

// The masks of one plan ("DFMASCAR.DAT", 294 bytes; the catalogue's record number).
struct RegMascara {
    char cMascara[10][28];        // mask d governs the classifications whose first digit is d
    uint8_t cCaracteristica[10];  // stored and returned, not interpreted
    uint8_t filler[4];
};

// The service's view of a chart record (96 bytes); bytes 0 to 75 belong to the chart store.
struct RegContaPlano {
    uint8_t cClassificacao[14];
    uint8_t bStatus;              // 0x01 summary account, 0x02 deleted
    uint8_t naoUsado;
    char cCodigo[10];
    char cNome[50];
    uint32_t ulPrimeiroVinculo;   // first link record of the account; 0 = none
    uint16_t iIndTitulo;
    uint16_t iCaracteristica;
    uint8_t preservado[12];       // kept as read; zero in new records
};

// One link between an account of the plan and an account of the main chart (32 bytes).
struct RegVinculoPlano {
    int32_t lPosicaoPla;          // main-chart account
    int32_t lPosicaoAlt;          // account of this plan
    uint32_t ulProximo;           // next link record of the same account; 0 = end of chain
    int16_t iCaracteristicaPla;
    uint8_t zeros[17];
    uint8_t bFlags;               // kVinculoRemovido
};
#pragma pack(pop)

static_assert(sizeof(RegPlano) == 80 && offsetof(RegPlano, cArquivo) == 50 && offsetof(RegPlano, reservado) == 64 &&
              offsetof(RegPlano, bConsiderarCaracteristica) == 78 && offsetof(RegPlano, bFlags) == 79);
static_assert(sizeof(RegMascara) == 294 && offsetof(RegMascara, cCaracteristica) == 280);
static_assert(sizeof(RegContaPlano) == 96 && offsetof(RegContaPlano, cCodigo) == 16 &&
              offsetof(RegContaPlano, cNome) == 26 && offsetof(RegContaPlano, ulPrimeiroVinculo) == 76 &&
              offsetof(RegContaPlano, iIndTitulo) == 80 && offsetof(RegContaPlano, iCaracteristica) == 82);
static_assert(sizeof(RegVinculoPlano) == 32 && offsetof(RegVinculoPlano, ulProximo) == 8 &&
              offsetof(RegVinculoPlano, iCaracteristicaPla) == 12 && offsetof(RegVinculoPlano, bFlags) == 31);

// Record sizes of the service's files.
constexpr uint32_t kTamanhoPlano = sizeof(RegPlano);
constexpr uint32_t kTamanhoMascara = sizeof(RegMascara);
constexpr uint32_t kTamanhoConta = sizeof(RegContaPlano);
constexpr uint32_t kTamanhoVinculo = sizeof(RegVinculoPlano);

constexpr uint8_t kPlanoExcluido = 0x01;
constexpr uint8_t kPlanoSemConsistenciaVinculo = 0x02;
constexpr uint8_t kVinculoRemovido = 0x01;

// "DFPLA%03u.DAT" of a plan number, cut to 13 characters (the field keeps a NUL).
std::string NomeArquivoPlano(uint64_t numeroPlano);
// The chart file's name with its third to fifth characters replaced ("IND" index, "VIN" links).
std::string NomeArquivoDerivado(const std::string& arquivoPlano, const char troca[3]);
inline std::string NomeArquivoIndice(const std::string& arquivoPlano) { return NomeArquivoDerivado(arquivoPlano, "IND"); }
inline std::string NomeArquivoVinculos(const std::string& arquivoPlano) { return NomeArquivoDerivado(arquivoPlano, "VIN"); }

// A file name read from the catalogue names a file of the data directory only: no separator
// of either platform, no drive, no "..".
bool NomeArquivoSeguro(const std::string& nome);
// A name that can be a plan's chart: safe, printable, with an extension, none of the service's
// other files, and with an index and a link file of names of their own.
bool NomeArquivoPlanoValido(const std::string& nome);
