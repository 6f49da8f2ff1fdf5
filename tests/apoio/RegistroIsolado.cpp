#include "apoio/RegistroIsolado.h"

#include <cstdio>

#include "platform/Processo.h"
#include "platform/Tempo.h"

using namespace plataforma;

namespace teste {

void RegistroIsolado::SetUp()
{
#ifndef _WIN32
    m_anterior = VariavelAmbiente("ZAZAZU_REGISTRY");
    m_arquivo = DiretorioTemporario() + "zazazu-registro-" + std::to_string(IdProcesso()) + "-" +
                std::to_string(Relogio100ns()) + ".reg";
    DefineVariavelAmbiente("ZAZAZU_REGISTRY", m_arquivo.c_str());
#endif
}

void RegistroIsolado::TearDown()
{
    for (auto it = m_desfazer.rbegin(); it != m_desfazer.rend(); ++it)
        (*it)();
    m_desfazer.clear();
#ifndef _WIN32
    std::remove(m_arquivo.c_str());
    std::remove((m_arquivo + ".lock").c_str());
    DefineVariavelAmbiente("ZAZAZU_REGISTRY", m_anterior.empty() ? nullptr : m_anterior.c_str());
#endif
}

void RegistroIsolado::LembraDesfazer(RaizRegistro raiz, const std::string& chave, const char* nome)
{
    // The topmost key that does not exist yet goes away whole.
    for (size_t fim = chave.find('\\'); ; fim = chave.find('\\', fim + 1)) {
        const std::string parte = chave.substr(0, fim);
        ChaveRegistro k;
        if (k.Abre(raiz, parte.c_str()) != 0) {
            m_desfazer.push_back([raiz, parte] { ApagaChaveRegistro(raiz, parte.c_str()); });
            return;
        }
        if (fim == std::string::npos)
            break;
    }
    ChaveRegistro k;
    k.Abre(raiz, chave.c_str());
    std::string texto;
    DWORD dword = 0;
    const std::string valor = nome ? nome : "";
    std::function<void(ChaveRegistro&)> volta;
    if (k.LeTexto(nome, texto) == 0)
        volta = [valor, texto](ChaveRegistro& w) { w.GravaTexto(valor.c_str(), texto.c_str()); };
    else if (k.LeDword(nome, dword) == 0)
        volta = [valor, dword](ChaveRegistro& w) { w.GravaDword(valor.c_str(), dword); };
    else
        volta = [valor](ChaveRegistro& w) { w.ApagaValor(valor.c_str()); };
    m_desfazer.push_back([raiz, chave, volta] {
        ChaveRegistro w;
        if (w.Abre(raiz, chave.c_str(), true) == 0)
            volta(w);
    });
}

void RegistroIsolado::GravaTexto(RaizRegistro raiz, const std::string& chave, const char* nome,
                                 const std::string& valor)
{
    LembraDesfazer(raiz, chave, nome);
    ChaveRegistro k;
    ASSERT_EQ(k.Cria(raiz, chave.c_str()), 0u) << chave;
    ASSERT_EQ(k.GravaTexto(nome, valor.c_str()), 0u) << chave << " " << (nome ? nome : "@");
}

void RegistroIsolado::GravaDword(RaizRegistro raiz, const std::string& chave, const char* nome, DWORD valor)
{
    LembraDesfazer(raiz, chave, nome);
    ChaveRegistro k;
    ASSERT_EQ(k.Cria(raiz, chave.c_str()), 0u) << chave;
    ASSERT_EQ(k.GravaDword(nome, valor), 0u) << chave << " " << (nome ? nome : "@");
}

} // namespace teste
