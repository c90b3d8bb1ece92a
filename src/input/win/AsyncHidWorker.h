#pragma once

#include <cstddef>
#include <memory>
#include <mutex>

#include "core/WorkerThread.h"
#include "input/HidQueueItem.h"
#include "input/HidWorkerCore.h"

// The one HID worker of the process: a thread of its own with its own handle to the cable, fed through a
// bounded queue (HidWorkerCore), so that no HID write ever happens on the UI thread or in the keyboard hook.
// The thread and its handle live until the process ends; the handle is opened lazily.
class AsyncHidWorker {
public:
    // Created on first use (taking the cable from HidCableAccess), never destroyed.
    static AsyncHidWorker& Instance();

    // Starts the worker thread once.
    void Start();
    // Starts the worker, then queues the item; false when the queue refused it.
    bool Enqueue(const HidQueueItem& item);
    // Drops every queued item and the pending move ("[HIDASYNC][CANCEL] ..." when something went).
    void Cancel(const char* reason);

    HidWorkerCounters Counters() { return m_core.Counters(); }
    size_t Depth() { return m_core.Depth(); }

private:
    AsyncHidWorker();
    friend bool AsyncHidWorkerOpen(AsyncHidWorker& worker);

    std::unique_ptr<IHidCable> m_cable;
    std::unique_ptr<IHidWorkerClock> m_clock;
    HidWorkerCore m_core;
    std::mutex m_startMutex;
    bool m_started = false; // under m_startMutex
    WorkerThread m_thread;
};

// True when the worker's handle is open, else one open attempt at most per second. Worker thread only: the
// worker calls it before every item.
bool AsyncHidWorkerOpen(AsyncHidWorker& worker);

// AsyncHidWorker::Instance().Cancel(reason), as a plain function for the lifecycle's stop binding.
void AsyncHidWorkerCancel(const char* reason);
