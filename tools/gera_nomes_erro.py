#!/usr/bin/env python3
"""Generates df/tqlibex/TQNomesErroGerado.cpp, the name tables of HRESULT parts, from
mingw-w64's winerror.h, so that the Linux build needs no Windows header.

    python3 tools/gera_nomes_erro.py [winerror.h] [output.cpp]

Defaults: /usr/share/mingw-w64/include/winerror.h and df/tqlibex/TQNomesErroGerado.cpp
(relative to the repository root). Standard library only.

What is kept:
- Facilities: the FACILITY_ names that winerror.h defines with a decimal value in the
  ranges 0-4, 7-26, 31-42, 48-61 and 80-84; the numbers of those ranges that this
  winerror.h lacks take the Windows SDK's published name (SDK_FACILIDADES below); then the
  suite's own TQ_FACILITY_ names 236-269 (SUITE_FACILIDADES below).
- Win32 error names: ERROR_ names spelled in capitals, digits and underscores and defined
  as a plain number (ERROR_X 5L, ERROR_X __MSABI_LONG(5)) below 1800, the classic Win32
  base errors from ERROR_SUCCESS to ERROR_INVALID_SEPARATOR_FILE. Aliases defined as another
  macro are skipped, and so are the two mixed-case spellings (..._EXCEEDS_64k).
- HRESULT names: values written as _HRESULT_TYPEDEF_(0x...) whose facility is one of the
  classic COM/OLE/RPC ones (NULL 0, RPC 1, DISPATCH 2, STORAGE 3, ITF 4, WIN32 7,
  WINDOWS 8), leaving out the families of services built later over COM: XACT_
  (distributed transactions), SCHED_ (task scheduler), EVENT_ and CONTEXT_ (COM+).

When two names share a number, the first one in winerror.h's order wins (for facilities,
a name of winerror.h always wins over the SDK list). Every table comes out sorted by
number with unique numbers: the lookups binary-search them.
"""

import os
import re
import sys

RAIZ = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WINERROR_PADRAO = '/usr/share/mingw-w64/include/winerror.h'
SAIDA_PADRAO = os.path.join(RAIZ, 'df', 'tqlibex', 'TQNomesErroGerado.cpp')

FAIXAS_FACILIDADE = [(0, 4), (7, 26), (31, 42), (48, 61), (80, 84)]

# Published by the Windows SDK's winerror.h, absent from mingw-w64's.
SDK_FACILIDADES = {
    26: 'FACILITY_USERMODE_COMMONLOG',
    31: 'FACILITY_USERMODE_FILTER_MANAGER',
    38: 'FACILITY_GRAPHICS',
    39: 'FACILITY_SHELL',
    40: 'FACILITY_TPM_SERVICES',
    41: 'FACILITY_TPM_SOFTWARE',
    42: 'FACILITY_UI',
    48: 'FACILITY_PLA',
    49: 'FACILITY_FVE',
    50: 'FACILITY_FWP',
    51: 'FACILITY_WINRM',
    52: 'FACILITY_NDIS',
    53: 'FACILITY_USERMODE_HYPERVISOR',
    54: 'FACILITY_CMI',
    55: 'FACILITY_USERMODE_VIRTUALIZATION',
    56: 'FACILITY_USERMODE_VOLMGR',
    57: 'FACILITY_BCD',
    58: 'FACILITY_USERMODE_VHD',
    59: 'FACILITY_USERMODE_HNS',
    60: 'FACILITY_SDIAG',
    61: 'FACILITY_WEBSERVICES',
    80: 'FACILITY_WINDOWS_DEFENDER',
    81: 'FACILITY_OPC',
    82: 'FACILITY_XPS',
    83: 'FACILITY_RAS',
    84: 'FACILITY_MBN',
}

# The suite's own facilities; 264 carries this server's codes (0x8108xxxx).
SUITE_FACILIDADES = {
    236: 'TQ_FACILITY_GERAL',
    237: 'TQ_FACILITY_LIBEX',
    238: 'TQ_FACILITY_CLASSES',
    239: 'TQ_FACILITY_RPCDLL',
    240: 'TQ_FACILITY_CONX',
    241: 'TQ_FACILITY_DADOS',
    242: 'TQ_FACILITY_MENSAGEM',
    243: 'TQ_FACILITY_GERADOR',
    244: 'TQ_FACILITY_DF_PLANO',
    245: 'TQ_FACILITY_DF_PLANOALT',
    246: 'TQ_FACILITY_DF_LANCAMENTO',
    247: 'TQ_FACILITY_DF_SALDO',
    248: 'TQ_FACILITY_DF_HISTORICO',
    249: 'TQ_FACILITY_DF_CENTROCUSTO',
    250: 'TQ_FACILITY_DF_BALANCO',
    251: 'TQ_FACILITY_DF_RAZAO',
    252: 'TQ_FACILITY_DF_DIARIO',
    253: 'TQ_FACILITY_DF_ENCERRAMENTO',
    254: 'TQ_FACILITY_DF_LALUR',
    255: 'TQ_FACILITY_DF_IMPORTACAO',
    256: 'TQ_FACILITY_DF_EXPORTACAO',
    257: 'TQ_FACILITY_FOLHA',
    258: 'TQ_FACILITY_FISCAL',
    259: 'TQ_FACILITY_PATRIMONIO',
    260: 'TQ_FACILITY_ESTOQUE',
    261: 'TQ_FACILITY_FINANCEIRO',
    262: 'TQ_FACILITY_PRODUTO',
    263: 'TQ_FACILITY_RELATORIO',
    264: 'TQ_FACILITY_CR_CORE',
    265: 'TQ_FACILITY_CR_DADOS',
    266: 'TQ_FACILITY_CR_ANALYTICS',
    267: 'TQ_FACILITY_CR_SEGURANCA',
    268: 'TQ_FACILITY_CR_ATUALIZACAO',
    269: 'TQ_FACILITY_CR_INTEGRACAO',
}

LIMITE_ERROR = 1800
FACILIDADES_HRESULT = {0, 1, 2, 3, 4, 7, 8}
FAMILIAS_FORA = ('XACT_', 'SCHED_', 'EVENT_', 'CONTEXT_')

DEFINE = re.compile(r'^\s*#\s*define\s+([A-Za-z_][A-Za-z0-9_]*)\s+(.*?)\s*(?:/[/*].*)?$')
NUMERO = re.compile(r'(?:__MSABI_LONG\(\s*((?:0x[0-9A-Fa-f]+|\d+))L?\s*\)|((?:0x[0-9A-Fa-f]+|\d+))L?)')
HRESULT_LITERAL = re.compile(r'_HRESULT_TYPEDEF_\(\s*(0x[0-9A-Fa-f]+)L?\s*\)')


def definicoes(caminho):
    """(name, text of the value) of every #define, in the header's order."""
    with open(caminho, encoding='latin-1') as f:
        for linha in f:
            m = DEFINE.match(linha)
            if m:
                yield m.group(1), m.group(2)


def primeiro_por_numero(pares):
    """Keeps the first name of each number; returns them sorted by number."""
    tabela = {}
    for numero, nome in pares:
        tabela.setdefault(numero, nome)
    return sorted(tabela.items())


def le_tabelas(caminho):
    facilidades, erros, hresults = [], [], []
    for nome, valor in definicoes(caminho):
        if nome.startswith('FACILITY_'):
            if valor.isdigit():
                facilidades.append((int(valor), nome))
        elif nome.startswith('ERROR_'):
            m = NUMERO.fullmatch(valor) if nome.isupper() else None
            if m:
                numero = int(m.group(1) or m.group(2), 0)
                if numero < LIMITE_ERROR:
                    erros.append((numero, nome))
        else:
            m = HRESULT_LITERAL.fullmatch(valor)
            if m and not nome.startswith(FAMILIAS_FORA):
                numero = int(m.group(1), 16)
                if (numero >> 16) & 0x1FFF in FACILIDADES_HRESULT:
                    hresults.append((numero, nome))

    def na_faixa(n):
        return any(a <= n <= b for a, b in FAIXAS_FACILIDADE)

    facilidades = [(n, nome) for n, nome in facilidades if na_faixa(n)]
    facilidades += sorted(SDK_FACILIDADES.items())  # after winerror.h's: those win
    facilidades = primeiro_por_numero(facilidades)
    faltam = [n for a, b in FAIXAS_FACILIDADE for n in range(a, b + 1) if n not in dict(facilidades)]
    if faltam:
        sys.exit('sem nome para as facilidades %s' % faltam)
    facilidades += sorted(SUITE_FACILIDADES.items())
    return facilidades, primeiro_por_numero(erros), primeiro_por_numero(hresults)


def matriz(nome, linhas, hexa):
    formato = '    {0x%08XU, "%s"},' if hexa else '    {%dU, "%s"},'
    corpo = '\n'.join(formato % (n, texto) for n, texto in linhas)
    return 'constexpr TQNomeNumero %s[] = {\n%s\n};\n' % (nome, corpo)


def gera(caminho):
    facilidades, erros, hresults = le_tabelas(caminho)
    partes = [
        '// Generated by tools/gera_nomes_erro.py from mingw-w64\'s winerror.h: do not edit.\n'
        '// Regenerate with: python3 tools/gera_nomes_erro.py\n'
        '// %d facilities, %d ERROR_ names, %d HRESULT names; sorted by number, one name each.\n'
        % (len(facilidades), len(erros), len(hresults)),
        '#include "df/tqlibex/TQNomesErroTabelas.h"\n',
        'namespace {\n',
        matriz('g_facilidades', facilidades, False),
        matriz('g_erros', erros, False),
        matriz('g_hresults', hresults, True),
        '} // namespace\n',
        'std::span<const TQNomeNumero> TQTabelaFacilidades() { return g_facilidades; }\n'
        'std::span<const TQNomeNumero> TQTabelaErros() { return g_erros; }\n'
        'std::span<const TQNomeNumero> TQTabelaHResults() { return g_hresults; }\n',
    ]
    return '\n'.join(partes)


def main():
    entrada = sys.argv[1] if len(sys.argv) > 1 else WINERROR_PADRAO
    saida = sys.argv[2] if len(sys.argv) > 2 else SAIDA_PADRAO
    texto = gera(entrada)
    with open(saida, 'w', encoding='ascii', newline='\n') as f:
        f.write(texto)


if __name__ == '__main__':
    main()
