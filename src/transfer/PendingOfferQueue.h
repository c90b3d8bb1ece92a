#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

// Dropped path lists that could not be offered to the peer yet, oldest first; the flush that runs when the
// clipboard channel connects takes them. Bounded so that a peer that never connects cannot make it grow:
// appending to a full queue drops the oldest list. Any thread.
class PendingOfferQueue {
public:
    static constexpr size_t kMaxEntries = 8;
    using AppendObserver = std::function<void()>;

    // Appends the list and logs "[TRANSFER][PENDING][QUEUE] ..." with its path count, the new depth and
    // the reason ("clipboard-not-running", "clipboard-not-connected", "clipboard-service-rejected",
    // "flush-lost-connection", "flush-send-failed"); a list pushed out of a full queue is logged as
    // "[TRANSFER][PENDING][DROP] ...". Then tells the append observer, so that a list queued while the
    // channel is up does not wait for the next connection. Returns the new depth.
    size_t Append(std::vector<std::u16string> paths, const char* reason);
    // Puts back a list that the flush took: as Append, but the observer is not told (the flush decides
    // itself whether to go on, and must not restart itself over a send that keeps failing).
    size_t Requeue(std::vector<std::u16string> paths, const char* reason);
    // Removes the oldest list; false when the queue is empty.
    bool TakeOldest(std::vector<std::u16string>& paths);
    // Removes and returns every list, oldest first.
    std::vector<std::vector<std::u16string>> TakeAll();
    size_t Depth() const;
    // Called after every Append, on the appending thread, with no lock held. Empty: none.
    void SetAppendObserver(AppendObserver observer);

    // The process-wide queue that the windows and the file transfer service share.
    static PendingOfferQueue& Instance();

private:
    size_t Push(std::vector<std::u16string> paths, const char* reason);

    mutable std::mutex m_mutex;
    std::deque<std::vector<std::u16string>> m_entries;
    AppendObserver m_observer; // under m_mutex
};
