#include "df/tqlibex/PassoCritico.h"

#include <atomic>
#include <cstdlib>

#include "df/tqlibex/GanchosTeste.h"

namespace {

std::atomic<int> g_passoFatal{0};
std::atomic<int> g_passados{0};

} // namespace

void TQPassoCritico()
{
    const int fatal = g_passoFatal.load(std::memory_order_relaxed);
    if (fatal == 0)
        return;
    // As a kill would: no destructor runs, no buffer is flushed, the system closes the handles.
    if (g_passados.fetch_add(1) + 1 == fatal)
        std::_Exit(kSaidaPassoFatal);
}

void TQDefinePassoFatalParaTestes(int passo)
{
    g_passados = 0;
    g_passoFatal = passo;
}
