#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "core/CommandBus.h"

// The receiving end of every file transfer: takes "file.http.begin" (from the bus, or from a local drop or
// paste), downloads one transfer at a time on a worker thread and answers with file.* reports.
class FileHttpReceiveManager {
public:
    static FileHttpReceiveManager& Instance();

    bool Start();
    void Stop();
    bool IsRunning() const { return m_running.load(); }
    // A begin from the peer: its targetPath and conflict setting are ignored.
    void OnBeginCommand(const CommandMessage& message);
    // A local drop or paste: this PC chooses the folder and the conflict rule.
    bool BeginFromHttpBeginPayload(const std::string& payload, const std::string& targetFolderUtf8);
    // The address the HTTP client may connect to (the clipboard channel's peer); start-up installs it.
    void SetPeerAddressSource(std::function<std::string()> source);

private:
    FileHttpReceiveManager() = default;
    std::mutex m_mutex;
    uint64_t m_subscription = 0; // under m_mutex
    std::atomic<bool> m_running{false};
    std::atomic<uint64_t> m_activeId{0};
    std::mutex m_peerMutex;
    std::function<std::string()> m_peerAddress; // under m_peerMutex
};
