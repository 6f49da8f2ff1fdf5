// The threads that run the calls of the local server: a pool that grows while every thread is
// busy (a call that waits for a mark never holds up another client's), and a queue per object
// whose tasks run one at a time and in order (the business object takes one call at a time).
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace dbus {

class Trabalhadores {
public:
    explicit Trabalhadores(size_t maximo = 256) : m_maximo(maximo) {}
    // Waits for the tasks in hand to end.
    ~Trabalhadores();
    Trabalhadores(const Trabalhadores&) = delete;
    Trabalhadores& operator=(const Trabalhadores&) = delete;

    void Poe(std::function<void()> tarefa);

private:
    void Roda();

    const size_t m_maximo;
    std::mutex m_trava;
    std::condition_variable m_cond;
    std::deque<std::function<void()>> m_fila;
    std::vector<std::thread> m_threads;
    size_t m_livres = 0;
    bool m_fim = false;
};

class FilaSerial : public std::enable_shared_from_this<FilaSerial> {
public:
    explicit FilaSerial(Trabalhadores& trabalhadores) : m_trabalhadores(trabalhadores) {}
    void Poe(std::function<void()> tarefa);
    // Queues the task; true when nothing ran on the object, and the caller must run Esvazia
    // (on a thread of its choice).
    bool PoeSemIniciar(std::function<void()> tarefa);
    // Runs the queued tasks in order until none is left.
    void Esvazia();

private:

    Trabalhadores& m_trabalhadores;
    std::mutex m_trava;
    std::deque<std::function<void()>> m_fila;
    bool m_rodando = false;
};

} // namespace dbus
