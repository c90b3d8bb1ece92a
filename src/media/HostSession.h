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
    // four channels Disconnected ("HostSession exit"), except Video and Input after StoppedForReconnect;
    // flags cleared. A PeerLost end counts as Finished.
    void EndOwnedRun(SessionRunEnd end) override;
    // The video connection to the controller failed: ERROR with its texts, flags cleared, audio, clipboard
    // and input stopped.
    void FailOwnedRun() override;
};

// HostVideoRestartRequested: the process-wide request that the running host rebuild its video pipeline
// (the controller's restart key, an accepted quality change). Requests before the loop looks count once.
void RequestHostVideoRestart();
// Exchanges the request with false; true when one was pending.
bool TakeHostVideoRestartRequest();
