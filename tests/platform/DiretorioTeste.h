// A scratch directory per test, below one directory per run of the executable.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace teste {

// The run's directory, created on first use (unique per process and start time).
const std::string& DiretorioDaExecucao();

class DiretorioTeste : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Path of a file in this test's directory; the file is removed after the test.
    std::string Caminho(const std::string& nome);

    std::string m_dir;

private:
    std::vector<std::string> m_nomes;
};

} // namespace teste
