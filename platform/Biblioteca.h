// Dynamic libraries by path. On POSIX a request for X.dll loads libX.so from the same directory.
#pragma once

#include "platform/Tipos.h"

namespace plataforma {

class Biblioteca {
public:
    Biblioteca() = default;
    ~Biblioteca();
    Biblioteca(const Biblioteca&) = delete;
    Biblioteca& operator=(const Biblioteca&) = delete;

    // Loads with the library's own directory searched first for its dependencies.
    bool Carrega(const char* caminho);
    void* Simbolo(const char* nome) const;
    void Libera();
    bool EstaCarregada() const { return m_handle != nullptr; }

private:
    void* m_handle = nullptr;
};

} // namespace plataforma
