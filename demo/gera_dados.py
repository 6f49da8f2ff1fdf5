#!/usr/bin/env python3
"""Writes the demo's charts: plano-principal.csv (the company's main chart) and
plano-alternativo.csv (a management chart kept beside it), both UTF-8."""
import csv, os

grupos = [
    ("1", "Ativo", [
        ("Ativo Circulante", [
            ("Disponibilidades", ["Caixa geral", "Fundo fixo de caixa", "Banco do Brasil c/ movimento", "Itaú c/ movimento",
                                  "Bradesco c/ movimento", "Caixa Econômica c/ movimento", "Aplicações de liquidez imediata"]),
            ("Clientes", ["Duplicatas a receber", "Cartões de crédito a receber", "Cheques em cobrança",
                          "Clientes no exterior", "(-) Perdas estimadas com clientes"]),
            ("Estoques", ["Mercadorias para revenda", "Matérias-primas", "Produtos em elaboração", "Produtos acabados",
                          "Materiais de embalagem", "Importações em andamento"]),
            ("Tributos a recuperar", ["ICMS a recuperar", "IPI a recuperar", "PIS a recuperar", "COFINS a recuperar",
                                      "IRRF a compensar", "CSLL a compensar"]),
            ("Despesas antecipadas", ["Seguros a apropriar", "Assinaturas a apropriar", "Aluguéis antecipados"]),
        ]),
        ("Ativo Não Circulante", [
            ("Realizável a longo prazo", ["Depósitos judiciais", "Empréstimos a coligadas", "Tributos diferidos"]),
            ("Investimentos", ["Participações em controladas", "Participações em coligadas", "Propriedades para investimento"]),
            ("Imobilizado", ["Terrenos", "Edifícios", "Máquinas e equipamentos", "Veículos", "Móveis e utensílios",
                             "Equipamentos de informática", "(-) Depreciação acumulada"]),
            ("Intangível", ["Marcas e patentes", "Softwares", "Fundo de comércio", "(-) Amortização acumulada"]),
        ]),
    ]),
    ("2", "Passivo", [
        ("Passivo Circulante", [
            ("Fornecedores", ["Fornecedores nacionais", "Fornecedores estrangeiros", "Fretes a pagar"]),
            ("Obrigações trabalhistas", ["Salários a pagar", "Férias a pagar", "13º salário a pagar", "INSS a recolher",
                                         "FGTS a recolher", "Pró-labore a pagar"]),
            ("Obrigações tributárias", ["ICMS a recolher", "IPI a recolher", "PIS a recolher", "COFINS a recolher",
                                        "IRPJ a pagar", "CSLL a pagar", "ISS a recolher", "IRRF a recolher"]),
            ("Empréstimos e financiamentos", ["Empréstimos bancários", "Financiamento de veículos", "Cartão de crédito corporativo"]),
            ("Outras obrigações", ["Adiantamentos de clientes", "Dividendos a pagar", "Aluguéis a pagar"]),
        ]),
        ("Passivo Não Circulante", [
            ("Exigível a longo prazo", ["Financiamentos de longo prazo", "Debêntures", "Tributos parcelados",
                                        "Provisões para contingências"]),
        ]),
    ]),
    ("3", "Patrimônio Líquido", [
        ("Capital social", [
            ("Capital", ["Capital subscrito", "(-) Capital a integralizar"]),
        ]),
        ("Reservas", [
            ("Reservas de lucros", ["Reserva legal", "Reserva estatutária", "Reserva para expansão"]),
            ("Resultados acumulados", ["Lucros acumulados", "(-) Prejuízos acumulados", "Ajustes de avaliação patrimonial"]),
        ]),
    ]),
    ("4", "Receitas", [
        ("Receita operacional bruta", [
            ("Vendas", ["Venda de mercadorias", "Venda de produtos", "Exportações", "Prestação de serviços"]),
        ]),
        ("Deduções da receita", [
            ("Deduções", ["(-) Devoluções de vendas", "(-) Descontos incondicionais", "(-) ICMS sobre vendas",
                          "(-) PIS sobre faturamento", "(-) COFINS sobre faturamento", "(-) ISS sobre serviços"]),
        ]),
        ("Outras receitas", [
            ("Receitas financeiras", ["Juros recebidos", "Rendimentos de aplicações", "Descontos obtidos",
                                      "Variação cambial ativa"]),
            ("Receitas diversas", ["Aluguéis recebidos", "Ganho na venda de imobilizado", "Recuperação de despesas"]),
        ]),
    ]),
    ("5", "Custos", [
        ("Custo das vendas", [
            ("Custo das mercadorias", ["Custo das mercadorias vendidas", "Fretes sobre compras", "Seguros sobre compras"]),
            ("Custo da produção", ["Matéria-prima consumida", "Mão de obra direta", "Encargos sobre mão de obra direta",
                                   "Energia elétrica industrial", "Manutenção de máquinas", "Depreciação industrial"]),
            ("Custo dos serviços", ["Serviços de terceiros", "Materiais aplicados em serviços"]),
        ]),
    ]),
    ("6", "Despesas", [
        ("Despesas operacionais", [
            ("Despesas com pessoal", ["Salários e ordenados", "Férias", "13º salário", "INSS patronal", "FGTS",
                                      "Vale-transporte", "Vale-refeição", "Assistência médica", "Treinamentos"]),
            ("Despesas administrativas", ["Aluguel do escritório", "Condomínio", "Energia elétrica", "Água e esgoto",
                                          "Telefone e internet", "Material de expediente", "Honorários contábeis",
                                          "Honorários advocatícios", "Correios", "Viagens e estadias", "Seguros",
                                          "Depreciação administrativa", "Licenças de software"]),
            ("Despesas comerciais", ["Comissões sobre vendas", "Propaganda e publicidade", "Fretes sobre vendas",
                                     "Brindes", "Feiras e eventos", "Perdas com clientes"]),
            ("Despesas tributárias", ["IPTU", "IPVA", "Taxas municipais", "Contribuição sindical", "Multas fiscais"]),
        ]),
        ("Despesas financeiras", [
            ("Encargos financeiros", ["Juros pagos", "Tarifas bancárias", "IOF", "Descontos concedidos",
                                      "Variação cambial passiva"]),
        ]),
        ("Tributos sobre o lucro", [
            ("Provisões", ["Provisão para IRPJ", "Provisão para CSLL"]),
        ]),
    ]),
]

def principal():
    # The main chart: five levels (9.9.9.99.999), each analytic account with one or more details.
    linhas = []
    for g, nome_g, subs in grupos:
        linhas.append((g, "T", nome_g))
        for i, (nome_s, contas) in enumerate(subs, 1):
            cs = f"{g}.{i}"
            linhas.append((cs, "T", nome_s))
            for j, (nome_c, folhas) in enumerate(contas, 1):
                cc = f"{cs}.{j}"
                linhas.append((cc, "T", nome_c))
                for k, folha in enumerate(folhas, 1):
                    cf = f"{cc}.{k:02d}"
                    linhas.append((cf, "T", folha))
                    for m, sufixo in enumerate(["matriz", "filial São Paulo", "filial Recife"], 1):
                        linhas.append((f"{cf}.{m:03d}", "A", f"{folha} - {sufixo}"[:50]))
    return linhas

def alternativo():
    # The management chart: four levels (9.9.99.999), the main chart's groups regrouped.
    linhas = []
    for g, nome_g, subs in grupos:
        linhas.append((g, "", "T", nome_g, 0))
        n = 0
        for i, (nome_s, contas) in enumerate(subs, 1):
            cs = f"{g}.{i}"
            linhas.append((cs, "", "T", nome_s, 0))
            for j, (nome_c, folhas) in enumerate(contas, 1):
                cc = f"{cs}.{j:02d}"
                linhas.append((cc, "", "T", nome_c, 0))
                for k, folha in enumerate(folhas, 1):
                    n += 1
                    codigo = f"{g}{n:04d}"
                    sinal = 2 if folha.startswith("(-)") else 1
                    linhas.append((f"{cc}.{k:03d}", codigo, "A", folha, sinal))
    return linhas

aqui = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(aqui, "plano-principal.csv"), "w", newline="", encoding="utf-8") as f:
    w = csv.writer(f, lineterminator="\n")
    w.writerow(["classificacao", "tipo", "nome"])
    w.writerows(principal())
with open(os.path.join(aqui, "plano-alternativo.csv"), "w", newline="", encoding="utf-8") as f:
    w = csv.writer(f, lineterminator="\n")
    w.writerow(["classificacao", "codigo", "tipo", "nome", "caracteristica", "vinculos"])
    w.writerows([(*l, "") for l in alternativo()])
