// A plan written through the interface, as a client builds one: the plan created, its mask
// 9.9.99.999 in slot 1, the plan selected, and accounts under that mask written one by one; and
// the same accounts inserted into SQLite, for the comparisons.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "server/Contrato.h"

namespace bench {

constexpr const char* kMascaraSessao = "9.9.99.999";

// A new plan with kMascaraSessao, selected; its number in *plano.
HRESULT CriaPlanoSelecionado(ITQDF_PlanoAlt* objeto, LONG* plano);

// n accounts in the order a client writes them: titles on levels 0 to 2 (1, 1.1 to 1.5, then
// twenty below each) with own codes, analytic accounts on level 3 without one, so they get the
// code derived from their position; with todasComCodigo, each gets "C" and its position instead.
// The account at index i gets position i + 1. Up to 100,006 accounts fit the mask.
std::vector<REG_PLANO_ALT_PS> ContasSessao(uint32_t n, bool todasComCodigo = false);

// The code a lookup finds the account at that position by: its own code, or the derived one.
std::string CodigoDaConta(const REG_PLANO_ALT_PS& conta, LONG posicao);

// Writes the accounts as new ones; the first result that is not S_OK, or one that puts an
// account anywhere but at its index + 1, stops it.
HRESULT GravaContas(ITQDF_PlanoAlt* objeto, const std::vector<REG_PLANO_ALT_PS>& contas);

struct BancoSqlite;

// The same accounts in SQLite as a user would keep them: table conta (posicao, classificacao,
// tipo, codigo, nome, caracteristica), with indexes on the code and on the classification.
bool CriaTabelaContas(BancoSqlite& banco);

// Each account at its index + 1 with the code a lookup finds it by, one autocommit INSERT each
// (the statement prepared once); false at the first that fails.
bool InsereContas(BancoSqlite& banco, const std::vector<REG_PLANO_ALT_PS>& contas);

} // namespace bench
