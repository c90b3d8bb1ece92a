#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "core/CommandBus.h"
#include "transfer/ReceiveWorker.h"

// The receiving end of every file transfer: takes "file.http.begin" (from the bus, or from a local drop or
// paste), downloads one transfer at a time on a worker thread and answers with file.* reports. The
// decisions are in transfer/ReceiveWorker.h; this class wires them to the bus, the HTTP client, the disk,
// the transfer model and the runtime state.
class FileHttpReceiveManager {
public:
    // Process-wide; never destroyed, since a detached worker may still use it at exit.
    static FileHttpReceiveManager& Instance();

    // Subscribes to "file.http.begin" on the process bus (once). True when subscribed or already running.
    bool Start();
    // Unsubscribes and ends the active transfer's claim without waiting: its worker ends as cancelled at
    // its next item or progress call.
    void Stop();
    bool IsRunning() const { return m_admission.IsRunning(); }
    // A begin from the peer: its targetPath and conflict setting are ignored.
    void OnBeginCommand(const CommandMessage& message);
    // A local drop or paste: this PC chooses the folder and the conflict rule. Started only when the
    // download's worker runs; Busy when another transfer holds the receiver.
    BeginResult BeginFromHttpBeginPayload(const std::string& payload, const std::string& targetFolderUtf8);
    // The address the HTTP client may connect to (the clipboard channel's peer); start-up installs it.
    // Without one, the clipboard channel's connected peer.
    void SetPeerAddressSource(std::function<std::string()> source);

private:
    FileHttpReceiveManager() = default;
    BeginResult Accept(const std::string& payload, BeginOrigin origin, uint64_t correlationId);
    std::string AllowedHost();

    std::mutex m_mutex;
    uint64_t m_subscription = 0; // under m_mutex
    ReceiveAdmission m_admission;
    std::mutex m_peerMutex;
    std::function<std::string()> m_peerAddress; // under m_peerMutex
};
