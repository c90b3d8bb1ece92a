#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The facades between the rest of the program and the clipboard channel and HTTP transfer.
class FileTransferService {
public:
    // Starts the HTTP file server and the receive manager's begin subscription; true when both run.
    static bool Start();
    // Stops the HTTP server and the receive manager.
    static void Stop();
    // Files dropped for the peer (virtual screen edge): offered now, or queued until the channel connects.
    static bool OfferDroppedFiles(const std::vector<std::wstring>& paths);
    // The clipboard channel published a connection ("host-accepted" or "client-connected").
    static void StartPendingFlush(const char* reason);
    // Builds the offer (manifest, transfer id, begin payload) for paths served at host.
    static bool OfferViaHttp(const std::vector<std::wstring>& paths, const std::string& host,
                             uint64_t& transferId, std::string& payload);
};

class ClipboardService {
public:
    static bool StartClient(const std::string& peerIp, uint16_t port);
    static bool IsConnected();
    static bool SendDroppedFiles(const std::vector<std::wstring>& paths);
};
