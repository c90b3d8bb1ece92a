#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

// Dropped path lists that could not be offered to the peer yet, oldest first; the flush that runs when the
// clipboard channel connects takes them. Bounded so that a peer that never connects cannot make it grow:
// appending to a full queue drops the oldest list. Any thread.
class PendingOfferQueue {
public:
    static constexpr size_t kMaxEntries = 8;

    // Appends the list and logs "[TRANSFER][PENDING][QUEUE] ..." with its path count, the new depth and
    // the reason ("clipboard-not-running", "clipboard-not-connected", "clipboard-service-rejected",
    // "flush-lost-connection", "flush-send-failed"). Returns the new depth.
    size_t Append(std::vector<std::u16string> paths, const char* reason);
    // Removes and returns every list, oldest first.
    std::vector<std::vector<std::u16string>> TakeAll();
    size_t Depth() const;

    // The process-wide queue that the windows and the file transfer service share.
    static PendingOfferQueue& Instance();

private:
    mutable std::mutex m_mutex;
    std::deque<std::vector<std::u16string>> m_entries;
};
