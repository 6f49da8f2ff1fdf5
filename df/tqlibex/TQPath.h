// Where things are: path texts, installation and data directories of the suite's
// modules, loading of its libraries, and whether a file exists. Texts are ANSI;
// an empty text stands for none. Paths use the platform's separator; registry key
// paths always use a backslash.
#pragma once

#include <memory>
#include <string>

#include "platform/Biblioteca.h"

class CTQPath {
public:
    // A null argument is absent: only the other one is answered.
    static std::string Combina(const char* primeiro, const char* segundo);
    static std::string Combina(const std::string& primeiro, const std::string& segundo);
    // Combina for registry key paths.
    static std::string CombinaChave(const std::string& primeiro, const std::string& segundo);

    static std::string GetDiretorio(const std::string& caminho);
    static std::string GetNome(const std::string& caminho);
    static std::string GetExtensao(const std::string& caminho);
    static std::string GetNomeSemExtensao(const std::string& caminho);
    static std::string GetNomeNormalizado(const std::string& caminho);
    static std::string GetRaiz(const std::string& caminho);
    static std::string GetParentPath(const std::string& caminho);

    // False only when the open fails with file not found, path not found,
    // bad network path or device not ready.
    static bool ExisteArquivo(const std::string& caminho);

    // Installation directory with a trailing separator, or empty.
    static std::string DiretorioModulo(long modulo);
    // Module 1's directory when the registry names none: set by a module loaded into a client's
    // process without an installer, which carries the suite's libraries beside it.
    static void DefineInstalacaoSemRegistro(const std::string& diretorio);
    // The library from the "x64" directory below the module's installation directory; null when it fails.
    static std::unique_ptr<plataforma::Biblioteca> CarregaBibliotecaModulo(const std::string& nome, long modulo);
    // Data directory of the module for the company, or empty.
    static std::string GetDiretorioDadosModulo(long modulo, const std::string& empresa);
    // The registry's answer: the value named by the module's code (module 1's for 23 and 26,
    // with "NFe" below it for 23) under suite key \ subchave \ company.
    static std::string GetDiretorioDadosRegistro(const std::string& subchave, long modulo, const std::string& empresa);
    // Name of the company logged in, or empty.
    static std::string GetNomeEmpresaLogada();
};
