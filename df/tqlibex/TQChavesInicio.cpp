#include "df/tqlibex/TQChavesInicio.h"

#include <mutex>
#include <string>

#include "df/tqlibex/TQChaveSuite.h"
#include "df/tqlibex/TQRegistro.h"

namespace {

struct Chaves {
    bool desabilitaAutenticacaoDCOM = false;
    bool desabilitaEncriptacaoDCOM = false;
    bool utilizarTQSDataBase = false;
};

// Written once under call_once, only read afterwards.
Chaves g_chaves;
std::once_flag g_chavesLidas;

const Chaves& ChavesLidas()
{
    std::call_once(g_chavesLidas, [] {
        // A missing suite key leaves every switch at 0.
        CTQRegistro suite(plataforma::RaizRegistro::LocalMachine, kChaveSuite);
        g_chaves.desabilitaAutenticacaoDCOM = suite.LeDword(kValorDesabilitaAutenticacaoDCOM, 0) != 0;
        g_chaves.desabilitaEncriptacaoDCOM = suite.LeDword(kValorDesabilitaEncriptacaoDCOM, 0) != 0;
        g_chaves.utilizarTQSDataBase = suite.LeDword(kValorUtilizarTQSDataBase, 0) != 0;
    });
    return g_chaves;
}

} // namespace

void CTQChavesInicio::Le()
{
    ChavesLidas();
}

bool CTQChavesInicio::DesabilitaAutenticacaoDCOM()
{
    return ChavesLidas().desabilitaAutenticacaoDCOM;
}

bool CTQChavesInicio::DesabilitaEncriptacaoDCOM()
{
    return ChavesLidas().desabilitaEncriptacaoDCOM;
}

bool CTQChavesInicio::UtilizarTQSDataBase()
{
    return ChavesLidas().utilizarTQSDataBase;
}

bool CTQChavesInicio::LeModoDesenvolvedor()
{
    CTQRegistro suite(plataforma::RaizRegistro::LocalMachine, kChaveSuite);
    return suite.LeTexto(kValorModoDesenvolvedor, "") == kConteudoModoDesenvolvedor;
}

bool CTQChavesInicio::ModoDesenvolvedor()
{
    static const bool modo = LeModoDesenvolvedor();
    return modo;
}
