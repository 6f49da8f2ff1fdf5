// The subcommands, by group; each registers itself on the application and, when chosen, leaves
// its exit code in the context.
#pragma once

#include <string>

#include <CLI/CLI.hpp>

#include "tools/zazazu/Saida.h"
#include "tools/zazazu/Servico.h"

namespace zazazu {

struct Contexto {
    Conexao conexao;
    bool json = false;
    int resultado = kSaidaOk;

    Saida Imprime() const { return Saida(json); }
    // The service opened for the company; a refusal is printed and leaves resultado.
    bool Abre(Servico& s);
    // The same with plan n selected.
    bool Seleciona(Servico& s, long plano);
    // Prints a refusal of `contexto` and leaves its exit code; answers false.
    bool Recusa(HRESULT hr, const std::string& contexto);
};

void RegistraEmpresa(CLI::App& app, Contexto& ctx);
void RegistraPlano(CLI::App& app, Contexto& ctx);
void RegistraMascara(CLI::App& app, Contexto& ctx);
void RegistraConta(CLI::App& app, Contexto& ctx);
void RegistraVinculo(CLI::App& app, Contexto& ctx);
void RegistraLote(CLI::App& app, Contexto& ctx);

} // namespace zazazu
