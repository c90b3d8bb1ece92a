#pragma once

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>

#include "core/WorkerThread.h"

// Four long-lived threads that run one job per tile of the 2 x 2 tile codec at the same time. The tile
// encoder and decoder each own one; the caller's thread blocks in RunAndWait while the four run.
class TileWorkerPool {
public:
    static constexpr size_t kWorkers = 4;
    // Runs once per tile index (0 to 3), each call on its own worker thread; it must write only to what
    // belongs to that tile.
    using Job = std::function<void(uint64_t tile)>;

    // Starts the four workers through launcher (empty: plain threads; the Windows shell passes one that
    // raises their priority). When one cannot be started the ones that did are stopped and the pool is not
    // running, so nothing can wait on a worker that does not exist.
    explicit TileWorkerPool(WorkerThread::Launcher launcher = {});
    ~TileWorkerPool();
    TileWorkerPool(const TileWorkerPool&) = delete;
    TileWorkerPool& operator=(const TileWorkerPool&) = delete;

    // All four workers started and no Stop yet.
    bool Running() const;

    // Runs job once for every tile index and returns when all four calls have returned. False, without
    // running anything, when the pool is not running; false when a call threw (the others still finish).
    // Callers on several threads take turns.
    bool RunAndWait(const Job& job);

    // Stops and joins the workers and drops any job. Later calls change nothing.
    void Stop();

private:
    void Serve(uint64_t index);

    std::array<WorkerThread, kWorkers> m_workers;
    std::mutex m_runMutex; // one RunAndWait at a time; taken before m_mutex

    mutable std::mutex m_mutex;
    std::condition_variable m_work;
    std::condition_variable m_done;
    Job m_job;                 // under m_mutex
    uint64_t m_generation = 0; // under m_mutex
    size_t m_remaining = 0;    // under m_mutex
    bool m_threw = false;      // under m_mutex
    bool m_stop = false;       // under m_mutex
    bool m_started = false;    // all four started; set once in the constructor
};
