#include "tools/zazazu/Servico.h"

#include <cstring>

#include "df/tqlibex/TQPath.h"
#include "platform/Processo.h"
#include "platform/Texto.h"

namespace zazazu {

namespace {

// Reflected CRC-64 of the ECMA-182 polynomial, initial value 0, no final complement: the check
// value the server verifies over the first 288 bytes of the session record.
uint64_t Crc64(const void* dados, size_t bytes)
{
    uint64_t crc = 0;
    const auto* p = static_cast<const uint8_t*>(dados);
    for (size_t i = 0; i < bytes; ++i) {
        crc ^= p[i];
        for (int b = 0; b < 8; ++b)
            crc = (crc & 1) ? (crc >> 1) ^ 0xC96C5795D7870F42ull : crc >> 1;
    }
    return crc;
}

template <size_t N>
void Copia(char (&campo)[N], std::string_view texto)
{
    std::memcpy(campo, texto.data(), std::min(texto.size(), N - 1));
}

std::string CaminhoModulo(bool servidor)
{
    if (const char* definido = std::getenv(servidor ? "ZAZAZU_MODULO_SERVIDOR" : "ZAZAZU_MODULO"))
        return definido;
    return DiretorioModulo() + (servidor ? "libZAZAZUps.so" : "libZAZAZU.so");
}

} // namespace

std::string DiretorioModulo()
{
    if (const char* definido = std::getenv("ZAZAZU_MODULO"))
        return CTQPath::GetDiretorio(definido);
    // Installed or in the build tree, the module is in "server" beside the client's "tools".
    return CTQPath::GetDiretorio(plataforma::CaminhoExecutavel()) + "../../server/";
}

Servico::~Servico()
{
    if (m_obj)
        m_obj->Release();
}

HRESULT Servico::Abre(const Conexao& conexao)
{
    const std::string caminho = CaminhoModulo(conexao.servidor);
    if (!CTQPath::ExisteArquivo(caminho))
        return conexao.servidor ? kSemServidorLocal : kArquivoIlegivel;
    if (!m_modulo.Carrega(caminho.c_str()))
        return kArquivoIlegivel;
    using Fabrica = HRESULT (*)(REFCLSID, REFIID, void**);
    const auto obtem = reinterpret_cast<Fabrica>(m_modulo.Simbolo("DllGetClassObject"));
    m_alocaTexto = reinterpret_cast<BSTR (*)(const OLECHAR*)>(m_modulo.Simbolo("SysAllocString"));
    m_liberaTexto = reinterpret_cast<void (*)(BSTR)>(m_modulo.Simbolo("SysFreeString"));
    m_liberaBloco = reinterpret_cast<void (*)(void*)>(m_modulo.Simbolo("CoTaskMemFree"));
    if (!obtem || !m_alocaTexto || !m_liberaTexto || !m_liberaBloco)
        return kArquivoIlegivel;
    IClassFactory* fabrica = nullptr;
    HRESULT hr = obtem(CLSID_TQDF_PlanoAlt, IID_IClassFactory, reinterpret_cast<void**>(&fabrica));
    if (TQFalhou(hr))
        return hr;
    hr = fabrica->CreateInstance(nullptr, IID_ITQDF_PlanoAlt, reinterpret_cast<void**>(&m_obj));
    fabrica->Release();
    if (TQFalhou(hr))
        return hr;
    _REG_DF_INICIALIZAPS r{};
    r.ulUsuario = conexao.usuario;
    r.ulNumeroSessao = uint32_t(plataforma::IdProcesso());
    r.ulLinhaFonte = __LINE__;
    r.usVersaoKarvo = 118;
    Copia(r.szEmpresa, conexao.empresa);
    Copia(r.szAplicativo, "zazazu");
    Copia(r.szModuleName, "zazazu");
    Copia(r.szArquivoFonte, "Servico.cpp");
    Copia(r.szNomeUsuarioDominio, plataforma::NomeUsuarioSO());
    r.cControle = 'B';
    r.uiCRC = Crc64(&r, offsetof(_REG_DF_INICIALIZAPS, uiCRC));
    return m_obj->Inicializa_Padrao(r);
}

Servico::Texto::Texto(const Servico& s, std::string_view ansi)
    : m_s(s), m_b(s.m_alocaTexto(plataforma::AnsiParaOle(ansi).c_str()))
{
}

Servico::Texto::~Texto() { m_s.m_liberaTexto(m_b); }

void Servico::Libera(void* bloco) const
{
    if (bloco)
        m_liberaBloco(bloco);
}

HRESULT Servico::Funcao(uint32_t numero, const std::vector<uint8_t>& entrada, std::vector<uint8_t>& saida)
{
    saida.clear();
    _REG_DF_FUNCAO_GENERICAPS in{};
    in.ulQtdBytes = uint32_t(entrada.size());
    in.pListaBytes = const_cast<uint8_t*>(entrada.data());
    _REG_DF_FUNCAO_GENERICAPS* out = nullptr;
    const HRESULT hr = m_obj->FuncaoGenerica(numero, in, &out);
    if (out) {
        if (out->pListaBytes)
            saida.assign(out->pListaBytes, out->pListaBytes + out->ulQtdBytes);
        Libera(out->pListaBytes);
        Libera(out);
    }
    return hr;
}

HRESULT Servico::Indice(std::vector<REGCON_INDEX_ALT_PS>& entradas)
{
    entradas.clear();
    ARRAY_REGCON_INDEX_ALT_PS* lista = nullptr;
    const HRESULT hr = m_obj->GetPlanoIndex(Texto(*this, "X"), 0, &lista);
    if (lista) {
        if (lista->pArrayRegConIndex)
            for (uint16_t i = 0; i < lista->iQtde; ++i)
                if (PosicaoDaEntrada(lista->pArrayRegConIndex[i].Tipo_IndCon) != 0)
                    entradas.push_back(lista->pArrayRegConIndex[i]);
        Libera(lista->pArrayRegConIndex);
        Libera(lista);
    }
    return hr;
}

HRESULT Servico::Planos(std::vector<REG_DADOS_PLANO_ALT_PS>& planos)
{
    planos.clear();
    ARRAY_REG_DADOS_PLANO_ALT_PS* lista = nullptr;
    const HRESULT hr = m_obj->BuscaPlanos(&lista);
    if (lista) {
        if (lista->pArrayDadosPlanoAlt)
            planos.assign(lista->pArrayDadosPlanoAlt, lista->pArrayDadosPlanoAlt + lista->iQtde);
        Libera(lista->pArrayDadosPlanoAlt);
        Libera(lista);
    }
    return hr;
}

} // namespace zazazu
