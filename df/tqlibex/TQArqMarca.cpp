#include "df/tqlibex/TQArqMarca.h"

#include "df/tqlibex/CodigosMarca.h"
#include "df/tqlibex/MarcaArquivo.h"
#include "df/tqlibex/StatusArquivo.h"

namespace {
constexpr size_t kMaxSufixo = 260;
}

CTQArqMarca::~CTQArqMarca() { Desmarca(); }

uint32_t CTQArqMarca::Marca(const std::string& diretorio, uint8_t tipo, uint16_t, void*, const char* sufixo)
{
    if (m_arquivo.EstaAberto())
        return statusmarca::Ocupada;
    std::string nome = "XXMARCA" + std::to_string(tipo);
    if (sufixo)
        nome += std::string(sufixo).substr(0, kMaxSufixo);
    nome += ".dat";
    m_sCaminho = CaminhoNoDiretorio(diretorio, nome);
    return TomaMarcaAtual(m_arquivo, m_sCaminho, EsquemaMarca::Objeto, tipo, true);
}

void CTQArqMarca::Desmarca()
{
    if (!m_arquivo.EstaAberto())
        return;
    m_arquivo.Fecha();
    // Another taker may already hold it again; then its file stays.
    plataforma::ApagaArquivo(m_sCaminho.c_str());
}
