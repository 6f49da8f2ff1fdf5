#include "ContasSessaoBench.h"

#include <cstdio>
#include <cstring>

#include "SqliteBench.h"
#include "df/tqclasses/ClassificacaoCodigos.h"

namespace bench {

HRESULT CriaPlanoSelecionado(ITQDF_PlanoAlt* objeto, LONG* plano)
{
    REG_DADOS_PLANO_ALT_PS dados{};
    std::strcpy(dados.cNomePlano, "Plano gerencial");
    if (const HRESULT hr = objeto->GravaPlano(0, dados, plano); hr != S_OK)
        return hr;
    REG_MASCARA_ALT_PS mascaras{};
    std::memcpy(mascaras.Mascara[1], kMascaraSessao, std::strlen(kMascaraSessao));
    if (const HRESULT hr = objeto->SetMascara(*plano, mascaras); hr != S_OK)
        return hr;
    return objeto->SetPlano(*plano);
}

std::vector<REG_PLANO_ALT_PS> ContasSessao(uint32_t n, bool todasComCodigo)
{
    std::vector<REG_PLANO_ALT_PS> contas;
    contas.reserve(n);
    auto acrescenta = [&](const char* classificacao, char tipo) {
        if (contas.size() >= n)
            return;
        REG_PLANO_ALT_PS r{};
        std::snprintf(r.cClassificacao, sizeof r.cClassificacao, "%s", classificacao);
        std::snprintf(r.cNome, sizeof r.cNome, "%s %s", tipo == 'T' ? "Grupo" : "Conta", classificacao);
        if (tipo == 'T' || todasComCodigo)
            std::snprintf(r.cCodigoProprio, sizeof r.cCodigoProprio, "%c%zu", tipo == 'T' ? 'T' : 'C',
                          contas.size() + 1);
        r.cTipo = uint8_t(tipo);
        r.iCaracteristica = 1;
        contas.push_back(r);
    };
    const uint32_t titulos = 1 + 5 + 100;
    const uint32_t porGrupo = n > titulos ? (n - titulos + 99) / 100 : 0;
    acrescenta("1", 'T');
    char c[32];
    for (int b = 1; b <= 5; ++b) {
        std::snprintf(c, sizeof c, "1.%d", b);
        acrescenta(c, 'T');
        for (int d = 1; d <= 20; ++d) {
            std::snprintf(c, sizeof c, "1.%d.%02d", b, d);
            acrescenta(c, 'T');
            for (uint32_t e = 1; e <= porGrupo; ++e) {
                std::snprintf(c, sizeof c, "1.%d.%02d.%03u", b, d, e);
                acrescenta(c, 'A');
            }
        }
    }
    return contas;
}

std::string CodigoDaConta(const REG_PLANO_ALT_PS& conta, LONG posicao)
{
    return conta.cCodigoProprio[0] != '\0' ? std::string(conta.cCodigoProprio) : TQDigitoConta(uint32_t(posicao));
}

HRESULT GravaContas(ITQDF_PlanoAlt* objeto, const std::vector<REG_PLANO_ALT_PS>& contas)
{
    for (size_t i = 0; i < contas.size(); ++i) {
        LONG posicao = 0;
        if (const HRESULT hr = objeto->Grava(0, contas[i], &posicao); hr != S_OK)
            return hr;
        if (posicao != LONG(i + 1))
            return TQHResult(0x80004005); // E_FAIL: not where it belongs
    }
    return S_OK;
}

bool CriaTabelaContas(BancoSqlite& banco)
{
    return banco.Executa("CREATE TABLE conta(posicao INTEGER PRIMARY KEY, classificacao TEXT, tipo TEXT, "
                         "codigo TEXT, nome TEXT, caracteristica INTEGER)") &&
           banco.Executa("CREATE INDEX conta_codigo ON conta(codigo)") &&
           banco.Executa("CREATE INDEX conta_classificacao ON conta(classificacao)");
}

bool InsereContas(BancoSqlite& banco, const std::vector<REG_PLANO_ALT_PS>& contas)
{
    Comando insere(banco.db, "INSERT INTO conta VALUES(?1, ?2, ?3, ?4, ?5, ?6)");
    for (size_t i = 0; i < contas.size(); ++i) {
        const REG_PLANO_ALT_PS& c = contas[i];
        const std::string codigo = CodigoDaConta(c, LONG(i + 1));
        const char tipo = char(c.cTipo);
        sqlite3_bind_int64(insere.st, 1, int64_t(i + 1));
        sqlite3_bind_text(insere.st, 2, c.cClassificacao, -1, SQLITE_STATIC);
        sqlite3_bind_text(insere.st, 3, &tipo, 1, SQLITE_STATIC);
        sqlite3_bind_text(insere.st, 4, codigo.c_str(), int(codigo.size()), SQLITE_STATIC);
        sqlite3_bind_text(insere.st, 5, c.cNome, -1, SQLITE_STATIC);
        sqlite3_bind_int(insere.st, 6, c.iCaracteristica);
        const bool ok = sqlite3_step(insere.st) == SQLITE_DONE;
        sqlite3_reset(insere.st);
        if (!ok)
            return false;
    }
    return true;
}

} // namespace bench
