// A registry of the test's own. On POSIX a file per test, named by ZAZAZU_REGISTRY;
// on Windows the real registry, where whatever the test writes through here is undone.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Registro.h"

namespace teste {

class RegistroIsolado : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the key when missing; put back as it was after the test.
    void GravaTexto(plataforma::RaizRegistro raiz, const std::string& chave, const char* nome,
                    const std::string& valor);
    void GravaDword(plataforma::RaizRegistro raiz, const std::string& chave, const char* nome, DWORD valor);

private:
    void LembraDesfazer(plataforma::RaizRegistro raiz, const std::string& chave, const char* nome);

    std::vector<std::function<void()>> m_desfazer;
    std::string m_arquivo;
    std::string m_anterior;
};

} // namespace teste
