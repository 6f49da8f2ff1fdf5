// A request for "dir/X.dll" loads "dir/libX.so". Loading by full path puts the
// library's own directory first for what it needs; our own libraries are linked
// with RPATH $ORIGIN, which makes the dynamic loader search there for their dependencies.
#include "platform/Biblioteca.h"

#include <dlfcn.h>

#include <string>

#include "platform/Texto.h"
#include "platform/posix/ErroPosix.h"

namespace plataforma {

namespace {

bool TerminaEmDll(const std::string& nome)
{
    return nome.size() > 4 && IguaisSemCaixa(std::string_view(nome).substr(nome.size() - 4), ".dll");
}

// The ANSI request as the shared library's name; the case of the directory and file is resolved.
std::string NomeBibliotecaPosix(const char* caminho)
{
    std::string pedido = caminho;
    size_t barra = pedido.rfind('/');
    std::string dir = barra == std::string::npos ? std::string() : pedido.substr(0, barra + 1);
    std::string nome = barra == std::string::npos ? pedido : pedido.substr(barra + 1);
    if (TerminaEmDll(nome))
        nome = "lib" + nome.substr(0, nome.size() - 4) + ".so";
    // Without a directory the loader's own search applies, as for a bare name on Windows.
    if (dir.empty())
        return AnsiParaUtf8(nome);
    return posix::CaminhoNativo((dir + nome).c_str());
}

} // namespace

Biblioteca::~Biblioteca()
{
    Libera();
}

bool Biblioteca::Carrega(const char* caminho)
{
    Libera();
    if (!caminho || !*caminho)
        return false;
    m_handle = dlopen(NomeBibliotecaPosix(caminho).c_str(), RTLD_NOW | RTLD_LOCAL);
    return m_handle != nullptr;
}

void* Biblioteca::Simbolo(const char* nome) const
{
    if (!m_handle || !nome)
        return nullptr;
    return dlsym(m_handle, nome);
}

void Biblioteca::Libera()
{
    if (m_handle) {
        dlclose(m_handle);
        m_handle = nullptr;
    }
}

} // namespace plataforma
