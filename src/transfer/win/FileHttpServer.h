#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/PeerFilter.h"

// The sending side of file transfers: a minimal HTTP/1.1 server on a system-chosen port that serves the
// manifest of each offer and its files, and the manager that turns local paths into an offer.
class FileHttpTransferManager {
public:
    static FileHttpTransferManager& Instance();

    bool StartServer();
    void StopServer();
    bool IsServerRunning() const;
    uint16_t ServerPort() const;
    // Requests are served only to addresses the filter allows (start-up: the active peer).
    void SetPeerFilter(PeerFilter::Allows allows);
    // Builds the offer's own manifest, makes sure the server runs, takes the next transfer id (2600001 first)
    // and writes the begin payload text. False for an empty list or host, or when nothing could be offered.
    bool BeginOffer(const std::vector<std::wstring>& paths, const std::string& host, const std::string& targetPath,
                    uint64_t& transferId, std::string& payload);
};
