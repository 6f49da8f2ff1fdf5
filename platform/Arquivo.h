// Files with the Windows sharing rules, on both builds.
// Paths are ANSI (code page 1252) texts; failures are Windows system error numbers.
#pragma once

#include <string>

#include "platform/Erros.h"
#include "platform/Tipos.h"

namespace plataforma {

#ifdef _WIN32
constexpr char kSeparador = '\\';
#else
constexpr char kSeparador = '/';
#endif

enum class Disposicao {
    AbreExistente, // fails with 2 when missing
    CriaSempre,    // creates, or truncates an existing file (reports 183)
    AbreSempre,    // opens, or creates when missing (reports 183 when it existed)
};

// Access wanted and what the opener lets others do meanwhile.
struct ModoArquivo {
    bool leitura = true;
    bool escrita = false;
    bool compartilhaLeitura = true;
    bool compartilhaEscrita = true;
    Disposicao disposicao = Disposicao::AbreExistente;
};

enum class Origem { Inicio, Atual, Fim };

// Which file a path or a handle names: two equal identities are one file.
struct IdentidadeArquivo {
    uint64_t volume = 0; // 0 on Windows: there the identity holds within one volume
    uint64_t indice = 0;
    bool operator==(const IdentidadeArquivo&) const = default;
};

class ArquivoSO {
public:
    ArquivoSO() = default;
    ~ArquivoSO();
    ArquivoSO(const ArquivoSO&) = delete;
    ArquivoSO& operator=(const ArquivoSO&) = delete;

    // 0 on success. After a create, JaExistia() tells whether the name was taken (system error 183).
    DWORD Abre(const char* caminho, const ModoArquivo& modo);
    DWORD Fecha();
    bool EstaAberto() const;
    bool JaExistia() const { return m_jaExistia; }

    // Reads up to n bytes at the current position; lidos < n only at the end of the file.
    DWORD Le(void* destino, DWORD n, DWORD& lidos);
    // Writes all n bytes at the current position.
    DWORD Grava(const void* origem, DWORD n);
    DWORD Posiciona(int64_t deslocamento, Origem origem, uint64_t* novaPosicao = nullptr);
    DWORD Tamanho(uint64_t& tamanho);
    // Cuts or extends the file at the current position.
    DWORD DefineFim();
    // Puts what was written on the disk itself (a crash or power cut keeps it).
    DWORD Descarrega();
    DWORD Identidade(IdentidadeArquivo& id) const;

    // A lock among handles of any process on a reserved range beyond the data, so it never
    // hinders a read or write: many shared holders or one exclusive. Waits up to
    // esperaMs, then answers the lock violation (33). Closing the handle releases it.
    DWORD Trava(bool exclusiva, DWORD esperaMs);
    DWORD Destrava();

private:
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
    int64_t m_posicao = 0;
    // Known length while this handle is the only writer (it denies writers): no other handle can
    // change it, so its own writes keep it. -1 = ask the file system.
    int64_t m_tamanho = -1;
    int64_t TamanhoAtual();
#endif
    bool m_jaExistia = false;
    bool m_travada = false;
};

// 0 and the read-only flag, or the system error of reading the attributes.
DWORD LeSomenteLeitura(const char* caminho, bool& somenteLeitura);
DWORD DefineSomenteLeitura(const char* caminho, bool somenteLeitura);
// Delete and rename fail with a sharing violation while any handle is open on the file.
DWORD ApagaArquivo(const char* caminho);
DWORD RenomeiaArquivo(const char* de, const char* para);
// Puts `de` in the place of `para` in one step: the name `para` always names a whole file,
// the old one or the new. Refused with a sharing violation while a handle is open on either.
DWORD SubstituiArquivo(const char* de, const char* para);
// A second name for an existing file (a hard link): both name the same file.
DWORD CriaLigacao(const char* existente, const char* nova);
DWORD CriaDiretorio(const char* caminho);
// Makes the names created, renamed or removed in a directory survive a power cut.
DWORD DescarregaDiretorio(const char* caminho);
// The identity of the file a path names now.
DWORD IdentidadeDoCaminho(const char* caminho, IdentidadeArquivo& id);
DWORD RemoveDiretorio(const char* caminho);

// Number of platform reads made by this process (for measurements).
uint64_t LeiturasPlataforma();

} // namespace plataforma
