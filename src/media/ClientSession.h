#pragma once

#include <cstdint>
#include <string>

#include "media/Session.h"

// The controller's session: one per process; its run body receives, decodes and shows the peer's desktop.
class ClientSession final : public Session {
public:
    // The process-wide client session: created on first use, never destroyed.
    static ClientSession& Instance();

    explicit ClientSession(SessionOwnership& ownership);

    // The test the controller's session thread makes before it touches shared state: the generation is
    // current, the cable is present, peerIp is non-empty and the active peer, and the runtime state shows
    // the controller role with the client session running and the host session not running.
    bool IsStillCurrent(uint32_t generation, const std::string& peerIp) const;

private:
    static const Role kRole;

    void StopAudio() override;
    // Audio player, clipboard and input stopped, quality-switch bookkeeping reset; unless the host runs,
    // role none and IDLE (PEER LOST after a PeerLost end); renderer stopped, desktop and stream sizes 0,
    // keyboard flag and remote-locked flag cleared, the four channels Disconnected; flags cleared.
    void EndOwnedRun(SessionRunEnd end) override;
    // The video listener could not be opened: error and status texts, flags cleared. The side channels
    // started before stay until the session is stopped.
    void FailOwnedRun() override;
};
