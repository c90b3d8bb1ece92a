#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>

// Runs work handed to separate threads one at a time, in the order it was handed out: the hander takes a
// ticket, the thread waits for its turn and passes it on when done. A fast second click thus never
// overtakes, or runs beside, the work of the first.
class TurnQueue {
public:
    // The next ticket; tickets are served in the order they were taken.
    uint64_t Take();
    // Blocks until every earlier ticket is finished.
    void Wait(uint64_t ticket);
    // Marks the ticket done; the turn passes on once every earlier ticket is done too. A ticket whose thread
    // never started must be finished as well, or the later ones wait for ever.
    void Finish(uint64_t ticket);

private:
    std::mutex m_mutex;
    std::condition_variable m_turnChanged;
    uint64_t m_nextTicket = 0; // under m_mutex
    uint64_t m_serving = 0;    // under m_mutex
    std::set<uint64_t> m_done; // finished ahead of their turn, under m_mutex
};

// Waits for a ticket's turn and finishes it when it ends, also when the work throws.
class ScopedTurn {
public:
    ScopedTurn(TurnQueue& queue, uint64_t ticket) : m_queue(queue), m_ticket(ticket) {
        m_queue.Wait(m_ticket);
    }
    ~ScopedTurn() { m_queue.Finish(m_ticket); }
    ScopedTurn(const ScopedTurn&) = delete;
    ScopedTurn& operator=(const ScopedTurn&) = delete;

private:
    TurnQueue& m_queue;
    uint64_t m_ticket;
};
