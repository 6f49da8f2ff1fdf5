#include "platform/Arquivo.h"

#include <winternl.h>

#include "platform/Contadores.h"
#include "platform/FalhasArquivo.h"
#include "platform/win32/Largo.h"

namespace plataforma {

using win32::Largo;

namespace {

HANDLE H(void* h) { return static_cast<HANDLE>(h); }

DWORD DisposicaoWin32(Disposicao d)
{
    switch (d) {
    case Disposicao::CriaSempre: return CREATE_ALWAYS;
    case Disposicao::AbreSempre: return OPEN_ALWAYS;
    case Disposicao::AbreExistente: break;
    }
    return OPEN_EXISTING;
}

DWORD MetodoWin32(Origem o)
{
    switch (o) {
    case Origem::Atual: return FILE_CURRENT;
    case Origem::Fim: return FILE_END;
    case Origem::Inicio: break;
    }
    return FILE_BEGIN;
}

} // namespace

ArquivoSO::~ArquivoSO()
{
    Fecha();
}

DWORD ArquivoSO::Abre(const char* caminho, const ModoArquivo& modo)
{
    Fecha();
    if (const DWORD falha = FalhaDaOperacao(OperacaoArquivo::Abre))
        return falha;
    m_jaExistia = false;
    if (!caminho || !*caminho)
        return ERROR_INVALID_NAME;
    const DWORD acesso = (modo.leitura ? GENERIC_READ : 0) | (modo.escrita ? GENERIC_WRITE : 0);
    const DWORD partilha = (modo.compartilhaLeitura ? FILE_SHARE_READ : 0) | (modo.compartilhaEscrita ? FILE_SHARE_WRITE : 0);
    const DWORD disposicao = DisposicaoWin32(modo.disposicao);
    const std::wstring nome = Largo(caminho);
    // Windows refuses to write a read-only file; Wine running as root would let it
    // through (and truncate it first), so ask before opening.
    if (modo.escrita) {
        const DWORD atributos = GetFileAttributesW(nome.c_str());
        if (atributos != INVALID_FILE_ATTRIBUTES && (atributos & FILE_ATTRIBUTE_READONLY) &&
            !(atributos & FILE_ATTRIBUTE_DIRECTORY))
            return ERROR_ACCESS_DENIED;
    }
    HANDLE h = CreateFileW(nome.c_str(), acesso, partilha, nullptr, disposicao, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError();
        // A directory in the file's place answers access denied, which callers retry: no retry can help.
        if (e == ERROR_ACCESS_DENIED) {
            const DWORD atributos = GetFileAttributesW(nome.c_str());
            if (atributos != INVALID_FILE_ATTRIBUTES && (atributos & FILE_ATTRIBUTE_DIRECTORY))
                return erro::TipoDispositivoInvalido;
        }
        return e;
    }
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return erro::TipoDispositivoInvalido;
    }
    // A successful create or open-always leaves "already exists" behind when the name was taken.
    m_jaExistia = disposicao != OPEN_EXISTING && GetLastError() == ERROR_ALREADY_EXISTS;
    m_handle = h;
    return 0;
}

DWORD ArquivoSO::Fecha()
{
    if (!m_handle)
        return 0;
    // A refused close keeps the handle, as a failed CloseHandle would.
    if (const DWORD falha = FalhaDaOperacao(OperacaoArquivo::Fecha))
        return falha;
    Destrava();
    const BOOL ok = CloseHandle(H(m_handle));
    m_handle = nullptr;
    return ok ? 0 : GetLastError();
}

bool ArquivoSO::EstaAberto() const
{
    return m_handle != nullptr;
}

DWORD ArquivoSO::Le(void* destino, DWORD n, DWORD& lidos)
{
    lidos = 0;
    if (const DWORD falha = FalhaDaOperacao(OperacaoArquivo::Le))
        return falha;
    ContaLeituraPlataforma();
    if (!m_handle)
        return ERROR_INVALID_HANDLE;
    return ReadFile(H(m_handle), destino, n, &lidos, nullptr) ? 0 : GetLastError();
}

DWORD ArquivoSO::Grava(const void* origem, DWORD n)
{
    if (const DWORD falha = FalhaDaOperacao(OperacaoArquivo::Grava))
        return falha;
    if (!m_handle)
        return ERROR_INVALID_HANDLE;
    auto p = static_cast<const char*>(origem);
    while (n > 0) {
        DWORD gravados = 0;
        if (!WriteFile(H(m_handle), p, n, &gravados, nullptr))
            return GetLastError();
        if (gravados == 0)
            return ERROR_WRITE_FAULT;
        p += gravados;
        n -= gravados;
    }
    return 0;
}

DWORD ArquivoSO::Posiciona(int64_t deslocamento, Origem origem, uint64_t* novaPosicao)
{
    if (const DWORD falha = FalhaDaOperacao(OperacaoArquivo::Posiciona))
        return falha;
    if (!m_handle)
        return ERROR_INVALID_HANDLE;
    LARGE_INTEGER d, nova;
    d.QuadPart = deslocamento;
    if (!SetFilePointerEx(H(m_handle), d, &nova, MetodoWin32(origem)))
        return GetLastError();
    if (novaPosicao)
        *novaPosicao = static_cast<uint64_t>(nova.QuadPart);
    return 0;
}

DWORD ArquivoSO::Tamanho(uint64_t& tamanho)
{
    tamanho = 0;
    if (!m_handle)
        return ERROR_INVALID_HANDLE;
    LARGE_INTEGER t;
    if (!GetFileSizeEx(H(m_handle), &t))
        return GetLastError();
    tamanho = static_cast<uint64_t>(t.QuadPart);
    return 0;
}

DWORD ArquivoSO::DefineFim()
{
    if (const DWORD falha = FalhaDaOperacao(OperacaoArquivo::DefineFim))
        return falha;
    if (!m_handle)
        return ERROR_INVALID_HANDLE;
    return SetEndOfFile(H(m_handle)) ? 0 : GetLastError();
}

DWORD ArquivoSO::Descarrega()
{
    if (!m_handle)
        return ERROR_INVALID_HANDLE;
    return FlushFileBuffers(H(m_handle)) ? 0 : GetLastError();
}

namespace {

// The file's index on its volume. The volume's serial number is left out: asking for it costs
// a round of requests to the mount manager (under Wine, to its server) on every look, and every
// comparison is of the files one path named over time.
DWORD IdentidadeDoHandle(HANDLE h, IdentidadeArquivo& id)
{
    IO_STATUS_BLOCK io{};
    FILE_INTERNAL_INFORMATION info{};
    const NTSTATUS s = NtQueryInformationFile(h, &io, &info, sizeof info, FileInternalInformation);
    if (s < 0)
        return RtlNtStatusToDosError(s);
    id = {0, uint64_t(info.IndexNumber.QuadPart)};
    return 0;
}

// The reserved byte of Trava, far beyond any data.
constexpr DWORD kTravaAlta = 0x40000000;
constexpr DWORD kTravaBaixa = 64;

} // namespace

DWORD ArquivoSO::Identidade(IdentidadeArquivo& id) const
{
    id = {};
    if (!m_handle)
        return ERROR_INVALID_HANDLE;
    return IdentidadeDoHandle(H(m_handle), id);
}

DWORD ArquivoSO::Trava(bool exclusiva, DWORD esperaMs)
{
    if (!m_handle)
        return ERROR_INVALID_HANDLE;
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusiva ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    for (DWORD esperado = 0;; ++esperado) {
        OVERLAPPED o{};
        o.Offset = kTravaBaixa;
        o.OffsetHigh = kTravaAlta;
        if (LockFileEx(H(m_handle), flags, 0, 1, 0, &o)) {
            m_travada = true;
            return 0;
        }
        const DWORD e = GetLastError();
        if (e != ERROR_LOCK_VIOLATION && e != ERROR_IO_PENDING)
            return e;
        if (esperado >= esperaMs)
            return ERROR_LOCK_VIOLATION;
        Sleep(1);
    }
}

DWORD ArquivoSO::Destrava()
{
    if (!m_handle || !m_travada)
        return 0;
    m_travada = false;
    OVERLAPPED o{};
    o.Offset = kTravaBaixa;
    o.OffsetHigh = kTravaAlta;
    return UnlockFileEx(H(m_handle), 0, 1, 0, &o) ? 0 : GetLastError();
}

DWORD LeSomenteLeitura(const char* caminho, bool& somenteLeitura)
{
    somenteLeitura = false;
    const DWORD atributos = GetFileAttributesW(Largo(caminho).c_str());
    if (atributos == INVALID_FILE_ATTRIBUTES)
        return GetLastError();
    somenteLeitura = (atributos & FILE_ATTRIBUTE_READONLY) != 0;
    return 0;
}

DWORD DefineSomenteLeitura(const char* caminho, bool somenteLeitura)
{
    const std::wstring nome = Largo(caminho);
    DWORD atributos = GetFileAttributesW(nome.c_str());
    if (atributos == INVALID_FILE_ATTRIBUTES)
        return GetLastError();
    atributos = somenteLeitura ? (atributos | FILE_ATTRIBUTE_READONLY) : (atributos & ~DWORD(FILE_ATTRIBUTE_READONLY));
    // A file without any other attribute must say so explicitly.
    if (atributos == 0)
        atributos = FILE_ATTRIBUTE_NORMAL;
    return SetFileAttributesW(nome.c_str(), atributos) ? 0 : GetLastError();
}

DWORD ApagaArquivo(const char* caminho)
{
    return DeleteFileW(Largo(caminho).c_str()) ? 0 : GetLastError();
}

DWORD RenomeiaArquivo(const char* de, const char* para)
{
    return MoveFileExW(Largo(de).c_str(), Largo(para).c_str(), 0) ? 0 : GetLastError();
}

DWORD SubstituiArquivo(const char* de, const char* para)
{
    const std::wstring destino = Largo(para);
    if (MoveFileExW(Largo(de).c_str(), destino.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    const DWORD e = GetLastError();
    // Replacing a file in use answers access denied: a read-only target is the only real denial.
    if (e == ERROR_ACCESS_DENIED) {
        const DWORD atributos = GetFileAttributesW(destino.c_str());
        if (atributos == INVALID_FILE_ATTRIBUTES || !(atributos & FILE_ATTRIBUTE_READONLY))
            return ERROR_SHARING_VIOLATION;
    }
    return e;
}

DWORD CriaLigacao(const char* existente, const char* nova)
{
    return CreateHardLinkW(Largo(nova).c_str(), Largo(existente).c_str(), nullptr) ? 0 : GetLastError();
}

DWORD CriaDiretorio(const char* caminho)
{
    return CreateDirectoryW(Largo(caminho).c_str(), nullptr) ? 0 : GetLastError();
}

DWORD DescarregaDiretorio(const char*)
{
    // NTFS makes a completed rename durable by itself.
    return 0;
}

DWORD IdentidadeDoCaminho(const char* caminho, IdentidadeArquivo& id)
{
    id = {};
    // No access asked: the look succeeds whatever the file's holders share.
    HANDLE h = CreateFileW(Largo(caminho).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return GetLastError();
    const DWORD e = IdentidadeDoHandle(h, id);
    CloseHandle(h);
    return e;
}

DWORD RemoveDiretorio(const char* caminho)
{
    return RemoveDirectoryW(Largo(caminho).c_str()) ? 0 : GetLastError();
}

} // namespace plataforma
