#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "media/Session.h"

// The controller's session: one per process; its run body receives, decodes and shows the peer's desktop.
class ClientSession;
class IClientVideoReceiver;

// The in-session reconnect's record, owned by its thread.
struct ClientNoVideoReconnectJob {
    ClientSession* session = nullptr;
    uint32_t generation = 0;
    std::string peerIp;
    std::string peerName;
    uint32_t sinceVideoMs = 0;
    std::string reason;
};

class ClientSession final : public Session {
public:
    // The process-wide client session: created on first use, never destroyed.
    static ClientSession& Instance();

    explicit ClientSession(SessionOwnership& ownership);

    // The test the controller's session thread makes before it touches shared state: the generation is
    // current, the cable is present, peerIp is non-empty and the active peer, and the runtime state shows
    // the controller role with the client session running and the host session not running.
    bool IsStillCurrent(uint32_t generation, const std::string& peerIp) const;

    // The in-session reconnect of a silent stream: restarts the input (and clipboard) client and sends the
    // control request three times, 250 ms apart, on a detached "ClientNoVideoReconnect" thread. One
    // schedule at a time; each step re-checks IsStillCurrent, so a newer session is never touched.
    static void ScheduleNoVideoReconnect(ClientSession* session, uint32_t generation,
                                         const std::string& peerIp, const std::string& peerName,
                                         uint32_t sinceVideoMs);
    static void NoVideoReconnectWorker(std::unique_ptr<ClientNoVideoReconnectJob> job);

    // The run's video receiver, so that Stop can close its listener from any thread and a new session can
    // bind the port at once. Attach refuses (false) when the generation is no longer current: the caller
    // then closes the receiver itself. Detach before the receiver is destroyed.
    bool AttachVideoReceiver(uint32_t generation, IClientVideoReceiver* receiver);
    void DetachVideoReceiver(IClientVideoReceiver* receiver);

private:
    static const Role kRole;

    void StopAudio() override;
    void CloseVideo() override;
    // Audio player, clipboard and input stopped, quality-switch bookkeeping reset; unless the host runs,
    // role none and IDLE (PEER LOST after a PeerLost end); renderer stopped, desktop and stream sizes 0,
    // keyboard flag and remote-locked flag cleared, the four channels Disconnected; flags cleared.
    void EndOwnedRun(SessionRunEnd end) override;
    // The video listener could not be opened: ERROR with its texts, flags cleared, and the side channels
    // that the run started before stopped, since no end of the run follows.
    void FailOwnedRun() override;

    std::mutex m_receiverMutex; // a leaf lock
    IClientVideoReceiver* m_receiver = nullptr;
};
