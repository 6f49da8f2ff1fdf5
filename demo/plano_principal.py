#!/usr/bin/env python3
"""The company's main chart for the demo: plano-principal.csv written as the suite's record
file DFPLAEMP.DAT (96-byte records, record n = position n; packed classification at 0, status
at 14 with bit 0 for a summary account, code at 16, name at 26 in code page 1252)."""
import csv, sys

def meio_byte(c):
    if c.isdigit():
        return ord(c) - ord("0")
    if c in " \0":
        return 0xA
    return ord(c) & 0x0F

def empacota(texto):
    posicoes = (texto + "\0" * 28)[:28]
    return bytes(meio_byte(posicoes[2 * i]) << 4 | meio_byte(posicoes[2 * i + 1]) for i in range(14))

origem, destino = sys.argv[1], sys.argv[2]
registros = [bytes(96)]
with open(origem, encoding="utf-8") as f:
    for n, linha in enumerate(csv.DictReader(f), 1):
        r = bytearray(96)
        r[0:14] = empacota(linha["classificacao"])
        r[14] = 1 if linha["tipo"] == "T" else 0
        codigo = str(n).encode("ascii")
        r[16:16 + len(codigo)] = codigo
        nome = linha["nome"].encode("cp1252")[:49]
        r[26:26 + len(nome)] = nome
        registros.append(bytes(r))
with open(destino, "wb") as f:
    f.write(b"".join(registros))
print(f"{len(registros) - 1} main-chart accounts in {destino}")
