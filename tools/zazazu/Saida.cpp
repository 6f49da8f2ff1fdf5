#include "tools/zazazu/Saida.h"

#include <algorithm>
#include <cstdio>

#include <fmt/core.h>

#include "df/tqlibex/TQNomesErro.h"
#include "platform/Texto.h"

namespace zazazu {

std::string Utf8(std::string_view ansi) { return plataforma::AnsiParaUtf8(ansi); }

std::string TextoHResult(HRESULT hr) { return fmt::format("0x{:08X}", uint32_t(hr)); }

std::string NomeHResult(HRESULT hr)
{
    if (const char* nome = TQNomeHResult(hr); nome && *nome)
        return nome;
    if (const char* codigo = TQNomeCodigo(hr); codigo && *codigo)
        return codigo;
    return fmt::format("{}/{}/{}", TQNomeSeveridade(hr), Utf8(TQNomeFacilidade(hr)), TQCodigo(hr));
}

std::string DescricaoHResult(HRESULT hr) { return Utf8(TQTextoMensagem(hr)); }

void Saida::Tabela(const std::vector<std::string>& cabecalho, const std::vector<std::vector<std::string>>& linhas) const
{
    // Widths in characters, not bytes: the texts are UTF-8.
    const auto largura = [](const std::string& s) {
        return size_t(std::count_if(s.begin(), s.end(), [](char c) { return (uint8_t(c) & 0xC0) != 0x80; }));
    };
    std::vector<size_t> larguras(cabecalho.size());
    for (size_t i = 0; i < cabecalho.size(); ++i)
        larguras[i] = largura(cabecalho[i]);
    for (const auto& l : linhas)
        for (size_t i = 0; i < l.size() && i < larguras.size(); ++i)
            larguras[i] = std::max(larguras[i], largura(l[i]));
    const auto imprime = [&](const std::vector<std::string>& l) {
        std::string texto;
        for (size_t i = 0; i < l.size(); ++i) {
            texto += l[i];
            if (i + 1 < l.size())
                texto.append(larguras[i] - largura(l[i]) + 2, ' ');
        }
        std::puts(texto.c_str());
    };
    imprime(cabecalho);
    for (const auto& l : linhas)
        imprime(l);
}

void Saida::Linha(std::string_view texto) const { fmt::print("{}\n", texto); }

void Saida::Documento(const nlohmann::json& j) const { std::puts(j.dump(2).c_str()); }

int Saida::Recusa(HRESULT hr, std::string_view contexto) const
{
    const std::string descricao = DescricaoHResult(hr);
    if (m_json) {
        Documento({{"erro", {{"hresult", TextoHResult(hr)}, {"nome", NomeHResult(hr)}, {"descricao", descricao},
                             {"contexto", contexto}}}});
    } else {
        fmt::print(stderr, "zazazu: {}: {} {}{}{}\n", contexto, TextoHResult(hr), NomeHResult(hr),
                   descricao.empty() ? "" : ": ", descricao);
    }
    return kSaidaRecusa;
}

} // namespace zazazu
