#include "platform/Processo.h"

#include "platform/win32/Largo.h"

namespace plataforma {

namespace {

// One argument as the C runtime's command-line parser will split it back:
// backslashes are literal unless they precede a quote, where they are doubled.
void AcrescentaArgumento(std::wstring& linha, const std::wstring& arg)
{
    linha += L' ';
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        linha += arg;
        return;
    }
    linha += L'"';
    size_t barras = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++barras;
            continue;
        }
        if (c == L'"')
            linha.append(barras * 2 + 1, L'\\');
        else
            linha.append(barras, L'\\');
        barras = 0;
        linha += c;
    }
    // Before the closing quote every backslash must be doubled.
    linha.append(barras * 2, L'\\');
    linha += L'"';
}

} // namespace

// No child outlives its object, as on POSIX.
ProcessoFilho::~ProcessoFilho()
{
    Termina();
    if (m_processo)
        CloseHandle(static_cast<HANDLE>(m_processo));
}

DWORD ProcessoFilho::Inicia(const std::string& executavel, const std::vector<std::string>& argumentos)
{
    Termina();
    if (m_processo) {
        CloseHandle(static_cast<HANDLE>(m_processo));
        m_processo = nullptr;
    }
    const std::wstring programa = win32::Largo(executavel.c_str());
    // The program name is taken up to the closing quote, without escapes.
    std::wstring linha = L"\"" + programa + L"\"";
    for (const std::string& a : argumentos)
        AcrescentaArgumento(linha, win32::Largo(a.c_str()));

    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(programa.c_str(), linha.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return GetLastError();
    CloseHandle(pi.hThread);
    m_processo = pi.hProcess;
    return 0;
}

bool ProcessoFilho::Espera(DWORD milissegundos, DWORD* codigoSaida)
{
    if (!m_processo)
        return false;
    HANDLE h = static_cast<HANDLE>(m_processo);
    if (WaitForSingleObject(h, milissegundos) != WAIT_OBJECT_0)
        return false;
    if (codigoSaida) {
        DWORD codigo = 0;
        GetExitCodeProcess(h, &codigo);
        *codigoSaida = codigo;
    }
    return true;
}

void ProcessoFilho::Termina()
{
    if (!m_processo)
        return;
    HANDLE h = static_cast<HANDLE>(m_processo);
    if (WaitForSingleObject(h, 0) == WAIT_OBJECT_0)
        return;
    TerminateProcess(h, 1);
    // The process is gone only when its handle is signalled; the handle stays for the exit code.
    WaitForSingleObject(h, INFINITE);
}

} // namespace plataforma
