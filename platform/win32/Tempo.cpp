#include "platform/Tempo.h"

#include "platform/Contadores.h"

namespace plataforma {

DWORD Ticks()
{
    return GetTickCount();
}

uint64_t Relogio100ns()
{
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return uint64_t(ft.dwHighDateTime) << 32 | ft.dwLowDateTime;
}

DataHoraLocal AgoraLocal()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    return {st.wYear, st.wMonth, st.wDayOfWeek, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

void Dorme(DWORD milissegundos)
{
    Sleep(milissegundos);
}

void Cede()
{
    ContaCessao();
    Sleep(0);
}

} // namespace plataforma
