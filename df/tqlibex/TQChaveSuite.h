// The suite's key in the local machine's registry and the names of the values read there.
// The 64-bit process names the 32-bit view through the path itself, with no view flag.
#pragma once

constexpr const char* kChaveSuite = "SOFTWARE\\Wow6432Node\\TQ Zodovezi";
constexpr const char* kChaveSuiteBarra = "SOFTWARE\\Wow6432Node\\TQ Zodovezi\\";
constexpr const char* kSubchaveEmpresas = "Empresas";
// Where the suite's database library (TQLConx) keeps the data directories of the companies
// (suite key \ "TQSDataBase" \ company, values named by module code) and, under the current
// user's suite key, the company logged in ("EmpresaLogada").
constexpr const char* kSubchaveTQSDataBase = "TQSDataBase";
constexpr const char* kValorEmpresaLogada = "EmpresaLogada";

constexpr const char* kValorDesabilitaAutenticacaoDCOM = "DesabilitaAutenticacaoDCOM";
constexpr const char* kValorDesabilitaEncriptacaoDCOM = "DesabilitaEncriptacaoDCOM";
constexpr const char* kValorUtilizarTQSDataBase = "UtilizarTQSDataBase";
constexpr const char* kValorDesabilitaControleInicializacao = "DesabilitaControleInicializacao";
constexpr const char* kValorDesativarAnalytics = "DesativarAnalytics";
constexpr const char* kValorLocalKarvo = "LocalKarvo";
constexpr const char* kValorMensagens = "Mensagens";
// Under the module's subkey: its installation directory.
constexpr const char* kValorPath = "Path";

// The developer mode: this value under the suite key holding exactly this text.
constexpr const char* kValorModoDesenvolvedor = "917E6DB5-FBA1-4AEF-B891-6054BB347BF5";
constexpr const char* kConteudoModoDesenvolvedor = "C49E4FE3-58D2-439B-BDCD-6996F92FCFBD";

// The machine-wide environment, where the simulated clock of the developer mode lives.
constexpr const char* kChaveAmbienteMaquina = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr const char* kValorTQDataHora = "TQ_DATETIME";
