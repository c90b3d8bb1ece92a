#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <utility>

// The offer of the peer's files that a drag out of RemoteView carries: held while the peer offers a drag,
// armed once the cursor has gone back to where the drag began. The remote drag owns the offer; the drag
// service and RemoteView read and arm it. Any thread; one mutex.
class RemoteDragSlot {
public:
    struct State {
        bool held = false;
        bool armed = false;
        uint64_t dragId = 0;
        uint32_t count = 0; // files and folders offered
        uint64_t bytes = 0;
        bool folder = false;         // at least one folder among them
        std::string detail;          // UTF-8: the first path, " +N" for more
        std::string httpPayload;     // the transfer's begin payload; empty: nothing to download
        uint64_t consumedDragId = 0; // the last offer a release used up, and when (ms tick)
        uint32_t consumedTick = 0;
        // No offer any more. The consumed record outlives the offer: it is what recognises a second
        // release of the same drag.
        void Empty();
    };
    // What the local drag monitor saw at the last release of the mouse on the controller, for a drop that
    // reaches the slot after the button is already up.
    struct MouseUpCache {
        uint32_t tick = 0;  // 0: never written
        std::string target; // the folder under the cursor (UTF-8), empty when none
        bool treatAsRemote = false;
        bool recentLocalDrop = false;
        bool dragOutCandidate = false;
    };

    // A new offer: held, not armed.
    void Hold(uint64_t dragId, uint32_t count, uint64_t bytes);
    // No offer any more.
    void Clear();
    State Read() const;
    bool IsHeld() const;
    // Only the controller (role 1) arms, and only a held offer that is not armed yet. Returns whether it
    // armed now, with the offer's id.
    bool Arm(int32_t role, uint64_t& dragId);
    // A release used up the offer dragId at tick.
    void MarkConsumed(uint64_t dragId, uint32_t tick);

    void WriteMouseUpCache(const MouseUpCache& cache);
    MouseUpCache ReadMouseUpCache() const;

    // Runs decide(State&, MouseUpCache&) under the mutex, for a decision that reads and changes the slot in
    // one step; what it returns. decide must not call out of the slot.
    template <typename Decide> auto Locked(Decide&& decide) {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::forward<Decide>(decide)(m_state, m_mouseUpCache);
    }

    static RemoteDragSlot& Instance();

private:
    mutable std::mutex m_mutex;
    State m_state;               // under m_mutex
    MouseUpCache m_mouseUpCache; // under m_mutex
};
