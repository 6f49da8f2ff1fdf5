#include "platform/Biblioteca.h"

#include "platform/win32/Largo.h"

namespace plataforma {

Biblioteca::~Biblioteca()
{
    Libera();
}

bool Biblioteca::Carrega(const char* caminho)
{
    Libera();
    // The library's own directory comes first when its dependencies are resolved.
    m_handle = LoadLibraryExW(win32::Largo(caminho).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return m_handle != nullptr;
}

void* Biblioteca::Simbolo(const char* nome) const
{
    if (!m_handle || !nome)
        return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(m_handle), nome));
}

void Biblioteca::Libera()
{
    if (m_handle)
        FreeLibrary(static_cast<HMODULE>(m_handle));
    m_handle = nullptr;
}

} // namespace plataforma
