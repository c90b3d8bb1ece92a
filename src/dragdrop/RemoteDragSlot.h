#pragma once

#include <cstdint>
#include <mutex>

// The offer of the peer's files that a drag out of RemoteView carries: held while the peer offers a drag,
// armed once the cursor has gone back to where the drag began. The remote drag owns the offer; the drag
// service and RemoteView read and arm it. Any thread; one mutex.
class RemoteDragSlot {
public:
    struct State {
        bool held = false;
        bool armed = false;
        uint64_t dragId = 0;
    };

    // A new offer: held, not armed.
    void Hold(uint64_t dragId);
    // No offer any more.
    void Clear();
    State Read() const;
    bool IsHeld() const;
    // Only the controller (role 1) arms, and only a held offer that is not armed yet. Returns whether it
    // armed now, with the offer's id.
    bool Arm(int32_t role, uint64_t& dragId);

    static RemoteDragSlot& Instance();

private:
    mutable std::mutex m_mutex;
    State m_state; // under m_mutex
};
