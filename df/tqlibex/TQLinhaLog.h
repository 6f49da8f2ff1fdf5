// The profiler's lines: their record, their files, and the identity of the process that writes them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Tempo.h"

class ITQDF_Profiler;

enum class TipoLinhaLog { Entrou = 0, Saiu = 1, CoCreate = 2, Erro = 3 };

// One line to be written.
struct RegistroLog {
    plataforma::DataHoraLocal momento{}; // local time when the line is built
    ITQDF_Profiler* identidade = nullptr;
    std::string classeFuncao;
    std::string guid;
    std::string processo;       // executable base name, lower case
    std::string usuarioLocal;   // operating-system user name
    std::string nomes[9];       // parameter names
    std::string valores[9];     // parameter values
    uint64_t ticksInicio = 0, ticksFim = 0;
    uint64_t memoriaInicio = 0, memoriaFim = 0;
    bool entrou = false;
};

// Writes one line (with the header first when the file is new); a line that cannot be
// written is lost without notice. For ERRO lines the five named values (VersaoKarvo,
// VersaoSO, Arquivo, Linha, Log) travel as parameter pairs 1 to 5 and the memory value
// as memoriaInicio.
void TQGravaLinhaLog(RegistroLog& registro, TipoLinhaLog tipo);

// The file a line of that type and identity goes to.
std::string TQArquivoLog(const RegistroLog& registro, TipoLinhaLog tipo);

// The executable's base name in lower case, as lines show it.
const std::string& TQNomeProcesso();

// The local user's name, read once.
const std::string& TQUsuarioLocal();

// A new GUID in registry form without the braces: the key that pairs a line with others.
std::string TQNovoGuidLog();
