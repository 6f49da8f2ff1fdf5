// The start-up switches under the suite key, read once per process,
// and the developer-mode answer, read on first use and kept.
#pragma once

class CTQChavesInicio {
public:
    // Reads the switches; only the first call reads, the accessors call it too.
    static void Le();

    static bool DesabilitaAutenticacaoDCOM();
    static bool DesabilitaEncriptacaoDCOM();
    static bool UtilizarTQSDataBase();

    // Kept for the life of the process once asked.
    static bool ModoDesenvolvedor();
    // Reads the developer-mode value now, without keeping the answer.
    static bool LeModoDesenvolvedor();
};
