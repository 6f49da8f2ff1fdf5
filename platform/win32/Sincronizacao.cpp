// std::thread of the mingw-w64 posix threads model is a winpthreads thread, which knows its handle.
#include <pthread.h>
#include <windows.h>

#include "platform/Sincronizacao.h"

namespace plataforma {

bool PrioridadeMaxima(Thread& thread)
{
    if (!thread.joinable())
        return false;
    HANDLE handle = static_cast<HANDLE>(pthread_gethandle(thread.native_handle()));
    return handle && SetThreadPriority(handle, THREAD_PRIORITY_HIGHEST);
}

} // namespace plataforma
