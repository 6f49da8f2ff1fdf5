// Facts of the running process and child processes.
#pragma once

#include <string>
#include <vector>

#include "platform/Tipos.h"

namespace plataforma {

std::string CaminhoExecutavel();
// Path of the executable or shared library that holds this code.
std::string CaminhoEsteModulo();
uint64_t BytesPrivados();
void MemoriaFisica(uint64_t& disponivel, uint64_t& total);
std::string NomeUsuarioSO();
// Whether the process runs in a remote session (Windows: remote desktop; POSIX: a secure shell).
bool SessaoRemota();
DWORD IdThread();
DWORD IdProcesso();
// Another process by its id (one this process did not start): whether it still runs, and ending it.
bool ProcessoVivo(DWORD pid);
bool TerminaProcesso(DWORD pid);

// Whether the process's standard error is a terminal (a progress line makes sense there).
bool ErroEhTerminal();
// Empty when not set.
std::string VariavelAmbiente(const char* nome);
bool DefineVariavelAmbiente(const char* nome, const char* valor);
// A directory for temporary files, with a trailing separator.
std::string DiretorioTemporario();
// What a command of the system's shell writes to its standard output (empty when it cannot run).
std::string SaidaDoComando(const std::string& comando);
// The directory that relative paths start from; false when it cannot be changed.
bool DefineDiretorioAtual(const char* diretorio);

class ProcessoFilho {
public:
    ProcessoFilho() = default;
    ~ProcessoFilho();
    ProcessoFilho(const ProcessoFilho&) = delete;
    ProcessoFilho& operator=(const ProcessoFilho&) = delete;

    // 0 or a system error.
    DWORD Inicia(const std::string& executavel, const std::vector<std::string>& argumentos);
    // true when the process ended within the wait; its exit code in codigoSaida.
    bool Espera(DWORD milissegundos, DWORD* codigoSaida = nullptr);
    void Termina();

private:
#ifdef _WIN32
    void* m_processo = nullptr;
#else
    int m_pid = -1;
    bool m_terminou = false;
    DWORD m_codigo = 0;
#endif
};

} // namespace plataforma
