#include "apoio/FilhoTeste.h"

#include <gtest/gtest.h>

namespace teste {

using namespace plataforma;

namespace {
const char kVariavelFilho[] = "ZAZAZU_TESTE_FILHO";
const size_t kFlags = 3; // program, filter, brief
} // namespace

bool SouFilho()
{
    return VariavelAmbiente(kVariavelFilho) == "1";
}

DWORD RodaFilho(const char* teste, const std::vector<std::string>& extras, ProcessoFilho& filho)
{
    std::vector<std::string> args = {std::string("--gtest_filter=") + teste, "--gtest_brief=1"};
    args.insert(args.end(), extras.begin(), extras.end());
    // The child inherits the variable; the parent's environment goes back as it was.
    DefineVariavelAmbiente(kVariavelFilho, "1");
    const DWORD r = filho.Inicia(CaminhoExecutavel(), args);
    DefineVariavelAmbiente(kVariavelFilho, nullptr);
    return r;
}

std::vector<std::string> ArgumentosDoFilho()
{
    const std::vector<std::string> argv = ::testing::internal::GetArgvs();
    if (argv.size() < kFlags)
        return {};
    return std::vector<std::string>(argv.begin() + kFlags, argv.end());
}

} // namespace teste
