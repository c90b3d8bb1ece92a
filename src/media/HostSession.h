#pragma once

#include "media/Session.h"

// The controlled side's session: one per process; its run body captures, encodes and sends the desktop.
class HostSession final : public Session {
public:
    // The process-wide host session: created on first use, never destroyed.
    static HostSession& Instance();

    explicit HostSession(SessionOwnership& ownership);

private:
    static const Role kRole;

    void StopAudio() override;
    // Video counters zeroed, audio sender, clipboard and input stopped; idle unless the client runs; the
    // four channels Disconnected ("HostSession exit"); flags cleared. A PeerLost end counts as Finished.
    void EndOwnedRun(SessionRunEnd end) override;
    // The video connection to the controller failed: ERROR with its texts, flags cleared, audio and input
    // stopped (the clipboard channel stays until the session is stopped).
    void FailOwnedRun() override;
};
