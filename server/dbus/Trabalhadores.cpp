#include "server/dbus/Trabalhadores.h"

namespace dbus {

Trabalhadores::~Trabalhadores()
{
    {
        std::lock_guard<std::mutex> t(m_trava);
        m_fim = true;
    }
    m_cond.notify_all();
    for (auto& thread : m_threads)
        thread.join();
}

void Trabalhadores::Poe(std::function<void()> tarefa)
{
    std::lock_guard<std::mutex> t(m_trava);
    m_fila.push_back(std::move(tarefa));
    if (m_livres < m_fila.size() && m_threads.size() < m_maximo) {
        ++m_livres;
        m_threads.emplace_back([this] { Roda(); });
    }
    m_cond.notify_one();
}

void Trabalhadores::Roda()
{
    std::unique_lock<std::mutex> t(m_trava);
    for (;;) {
        m_cond.wait(t, [this] { return m_fim || !m_fila.empty(); });
        if (m_fila.empty())
            return;
        std::function<void()> tarefa = std::move(m_fila.front());
        m_fila.pop_front();
        --m_livres;
        t.unlock();
        tarefa();
        tarefa = nullptr;
        t.lock();
        ++m_livres;
    }
}

void FilaSerial::Poe(std::function<void()> tarefa)
{
    if (PoeSemIniciar(std::move(tarefa)))
        m_trabalhadores.Poe([eu = shared_from_this()] { eu->Esvazia(); });
}

bool FilaSerial::PoeSemIniciar(std::function<void()> tarefa)
{
    std::lock_guard<std::mutex> t(m_trava);
    m_fila.push_back(std::move(tarefa));
    if (m_rodando)
        return false;
    m_rodando = true;
    return true;
}

void FilaSerial::Esvazia()
{
    std::unique_lock<std::mutex> t(m_trava);
    while (!m_fila.empty()) {
        std::function<void()> tarefa = std::move(m_fila.front());
        m_fila.pop_front();
        t.unlock();
        tarefa();
        tarefa = nullptr;
        t.lock();
    }
    m_rodando = false;
}

} // namespace dbus
