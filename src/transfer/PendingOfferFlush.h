#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "transfer/DroppedFilesOffer.h"
#include "transfer/PendingOfferQueue.h"

// Sends the queued dropped-file offers once the clipboard channel is connected: one worker at a time takes
// the oldest list, hands it to the channel and pauses 50 ms before the next; a list that cannot go (the
// connection went, the channel refused it) is put back at the end and the worker ends until the next wake.
//
// Wakes: a published connection (OnConnected) and every offer appended to the queue (Wake, installed as
// the queue's append observer). A wake that finds a worker running marks it, and that worker looks at the
// queue again after it has cleared its running flag, so an offer queued just as the worker ends is not
// left behind until the next connection.
class PendingOfferFlush {
public:
    // Runs body on a thread of its own that nobody joins; false when no thread could be made.
    using StartWorker = std::function<bool(std::function<void()> body)>;
    using Sleep = std::function<void(uint32_t ms)>;

    static constexpr uint32_t kPauseMs = 50;

    PendingOfferFlush(PendingOfferQueue& queue, IDroppedFilesChannel& channel, StartWorker start,
                      Sleep sleep);

    // The clipboard channel published a connection ("host-accepted", "client-connected").
    void OnConnected(const char* reason);
    // Starts a worker when the channel is connected, something waits and no worker runs.
    void Wake();
    bool IsRunning() const { return m_running.load(); }

private:
    bool Connected();
    void Work();
    // Sends until the queue is empty (true) or a list could not go (false).
    bool Pass();

    PendingOfferQueue& m_queue;
    IDroppedFilesChannel& m_channel;
    StartWorker m_start;
    Sleep m_sleep;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_wakeAgain{false};
};
